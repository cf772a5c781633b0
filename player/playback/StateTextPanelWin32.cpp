#include "player/playback/StateTextPanelWin32.h"

#include "player/playback/WideTextWin32.h"
#include "player/playback/WindowClassWin32.h"
#include "player/window/ShapePanel_win32.h"

namespace orves {

namespace {
constexpr wchar_t kPanelClass[] = L"OrvesStateTextPanel";
constexpr int kFontHeight = 11;

// A 32-bit top-down DIB section: the same pixels whatever the screen's depth.
HBITMAP CreateTextBitmap(HDC dc, int width, int height) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
}
}  // namespace

StateTextPanel::~StateTextPanel() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  FreeBitmap();
  if (font_) DeleteObject(font_);
}

bool StateTextPanel::Create(HWND parent, int id) {
  if (hwnd_ || !parent) return false;
  if (!EnsureWindowClass(kPanelClass, WindowProc)) return false;
  // The font is created anti-aliased once; the face is mapped to an installed
  // Korean font where "굴림" itself is missing.
  if (!font_) {
    font_ = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"굴림");
  }
  hwnd_ = CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  // A new child starts below its older siblings; the text belongs over the picture.
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return hwnd_ != nullptr;
}

void StateTextPanel::SetBounds(int left, int top, int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
}

void StateTextPanel::SetColours(COLORREF panelColour, COLORREF skinTextColour) {
  panelColour_ = panelColour & 0xFFFFFF;
  skinTextColour_ = skinTextColour & 0xFFFFFF;
}

void StateTextPanel::Render(const std::string& text) {
  text_ = WideFromUtf8(text);
  RenderBitmap();
  Shape();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void StateTextPanel::FreeBitmap() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  textSize_ = {0, 0};
}

// The text at (0, 0) on the panel's colour, the bitmap exactly the text's
// extent. An empty text leaves no bitmap: the region becomes empty.
void StateTextPanel::RenderBitmap() {
  FreeBitmap();
  if (text_.empty() || !font_) return;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SIZE size{0, 0};
  const int length = static_cast<int>(text_.size());
  if (GetTextExtentPoint32W(dc, text_.c_str(), length, &size) && size.cx > 0 && size.cy > 0) {
    bitmap_ = CreateTextBitmap(dc, size.cx, size.cy);
  }
  if (bitmap_) {
    textSize_ = size;
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap_);
    if (HBRUSH background = CreateSolidBrush(panelColour_)) {
      const RECT all{0, 0, size.cx + 2, size.cy + 2};
      FillRect(dc, &all, background);
      DeleteObject(background);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, StateTextInk(panelColour_, skinTextColour_));
    TextOutW(dc, 0, 0, text_.c_str(), length);
    SelectObject(dc, oldBitmap);
  }
  SelectObject(dc, oldFont);
  DeleteDC(dc);
}

// Every pixel that is not exactly the panel's colour (anti-aliased edges
// included) is part of a letter.
void StateTextPanel::Shape() {
  if (!hwnd_) return;
  TShapePanel shape(hwnd_, kRound, /*fast=*/true, panelColour_, /*shadowOffset=*/0);
  if (bitmap_) shape.AddBitmap(bitmap_, kTextInset, kTextInset);
  shape.Apply();
}

void StateTextPanel::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOWNA);
}

void StateTextPanel::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool StateTextPanel::IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void StateTextPanel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc) return;
  if (HBRUSH background = CreateSolidBrush(panelColour_)) {
    FillRect(dc, &ps.rcPaint, background);
    DeleteObject(background);
  }
  if (bitmap_) {
    if (HDC source = CreateCompatibleDC(dc)) {
      HGDIOBJ old = SelectObject(source, bitmap_);
      BitBlt(dc, kTextInset, kTextInset, textSize_.cx, textSize_.cy, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    }
  }
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK StateTextPanel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<StateTextPanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  } else if (self && message == WM_NCHITTEST) {
    return HTTRANSPARENT;  // clicks go to the main window below
  } else if (self && message == WM_ERASEBKGND) {
    return 1;  // painted whole in WM_PAINT
  } else if (self && message == WM_PAINT) {
    self->Paint();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace orves
