#include "player/playback/StateTextPanel_win32.h"

#include "player/core/TextConvert_win32.h"
#include "player/window/ShapePanel_win32.h"

namespace orves {

namespace {
constexpr wchar_t kPanelClass[] = L"OrvesStateTextPanel";
constexpr int kFontHeight = 11;
}  // namespace

StateTextPanel::~StateTextPanel() {
  FreeBitmap();
  if (font_) DeleteObject(font_);
}

bool StateTextPanel::Create(HWND parent, int id) {
  if (Handle() || !parent) return false;
  // The font is created anti-aliased once; the face is mapped to an installed
  // Korean font where "굴림" itself is missing.
  if (!font_) {
    font_ = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"굴림");
  }
  const WindowClassSpec panelClass{kPanelClass, 0, BlackBrush()};
  if (!CreateWindowOf(panelClass, 0, WS_CHILD | WS_CLIPSIBLINGS, L"", RECT{}, parent, id)) {
    return false;
  }
  // A new child starts below its older siblings; the text belongs over the picture.
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

void StateTextPanel::SetBounds(int left, int top, int width, int height) {
  if (Handle()) SetWindowPos(Handle(), HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
}

void StateTextPanel::SetColours(COLORREF panelColour, COLORREF skinTextColour) {
  panelColour_ = panelColour & 0xFFFFFF;
  skinTextColour_ = skinTextColour & 0xFFFFFF;
}

void StateTextPanel::Render(const std::string& text) {
  text_ = Utf8ToWide(text);
  RenderBitmap();
  Shape();
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
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
    bitmap_ = CreateTopDownBitmap32(dc, size.cx, size.cy);
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
  if (!Handle()) return;
  TShapePanel shape(Handle(), kRound, /*fast=*/true, panelColour_, /*shadowOffset=*/0);
  if (bitmap_) shape.AddBitmap(bitmap_, kTextInset, kTextInset);
  shape.Apply();
}

void StateTextPanel::Show() {
  if (Handle()) ShowWindow(Handle(), SW_SHOWNA);
}

void StateTextPanel::Hide() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

bool StateTextPanel::IsVisible() const { return Handle() && IsWindowVisible(Handle()); }

void StateTextPanel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
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
  EndPaint(Handle(), &ps);
}

LRESULT StateTextPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks go to the main window below
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
      Paint();
      return 0;
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace orves
