#include "player/playback/StateTextLineWin32.h"

#include "player/playback/WideTextWin32.h"
#include "player/playback/WindowClassWin32.h"

namespace orves {

namespace {
constexpr wchar_t kLineClass[] = L"OrvesStateTextLine";
constexpr COLORREF kTextColor = RGB(204, 204, 204);
constexpr int kFontHeight = 11;
constexpr int kTextInset = 6;  // the text's place inside the panel
}  // namespace

StateTextLine::~StateTextLine() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (font_) DeleteObject(font_);
}

bool StateTextLine::Create(HWND parent, int id) {
  if (hwnd_ || !parent) return false;
  if (!EnsureWindowClass(kLineClass, WindowProc)) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  font_ = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"굴림");
  hwnd_ = CreateWindowExW(0, kLineClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return hwnd_ != nullptr;
}

void StateTextLine::SetBounds(int left, int top, int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
}

void StateTextLine::Render(const std::string& text) {
  text_ = WideFromUtf8(text);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void StateTextLine::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOWNA);
}

void StateTextLine::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool StateTextLine::IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void StateTextLine::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc) return;
  HGDIOBJ oldFont = font_ ? SelectObject(dc, font_) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColor);
  TextOutW(dc, kTextInset, kTextInset / 2, text_.c_str(), static_cast<int>(text_.size()));
  if (oldFont) SelectObject(dc, oldFont);
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK StateTextLine::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<StateTextLine*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  } else if (self && message == WM_NCHITTEST) {
    return HTTRANSPARENT;
  } else if (self && message == WM_PAINT) {
    self->Paint();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace orves
