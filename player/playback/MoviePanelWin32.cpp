#include "player/playback/MoviePanelWin32.h"

#include "player/playback/DirectShowPlayer.h"
#include "player/playback/WindowClassWin32.h"

namespace orves {

namespace {
constexpr wchar_t kPanelClass[] = L"OrvesMoviePanel";

BOOL CALLBACK FillChild(HWND child, LPARAM parentParam) {
  HWND parent = reinterpret_cast<HWND>(parentParam);
  if (GetParent(child) != parent) return TRUE;  // only direct children
  RECT rc{};
  GetClientRect(parent, &rc);
  MoveWindow(child, 0, 0, rc.right, rc.bottom, TRUE);
  return TRUE;
}
}  // namespace

MoviePanel::~MoviePanel() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool MoviePanel::Create(HWND parent, int id, bool fillChildren) {
  if (hwnd_ || !parent) return false;
  fillChildren_ = fillChildren;
  if (!EnsureWindowClass(kPanelClass, WindowProc)) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  hwnd_ = CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return hwnd_ != nullptr;
}

RECT MoviePanel::BoundsInParent() const {
  RECT rc{};
  if (!hwnd_) return rc;
  GetWindowRect(hwnd_, &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void MoviePanel::SetPosition(int left, int top) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoviePanel::SetSize(int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoviePanel::SetBounds(int left, int top, int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int MoviePanel::Left() const { return BoundsInParent().left; }
int MoviePanel::Top() const { return BoundsInParent().top; }

int MoviePanel::Width() const {
  const RECT rc = BoundsInParent();
  return rc.right - rc.left;
}

int MoviePanel::Height() const {
  const RECT rc = BoundsInParent();
  return rc.bottom - rc.top;
}

void MoviePanel::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool MoviePanel::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

LRESULT CALLBACK MoviePanel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<MoviePanel*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<MoviePanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY && self) {
    self->hwnd_ = nullptr;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self = nullptr;
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MoviePanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      // Clicks on the bare panel belong to the window below (the main window).
      return HTTRANSPARENT;
    case WM_SIZE:
      if (fillChildren_) EnumChildWindows(hwnd_, FillChild, reinterpret_cast<LPARAM>(hwnd_));
      if (onResize_) onResize_(LOWORD(lParam), HIWORD(lParam));
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void MoviePanels::RepaintInner() {
  if (player_) player_->Repaint();
}

}  // namespace orves

namespace orves {

namespace {
// Caption and state text lie over the picture; placed in that order, the
// state text ends up on top of both.
void PlaceOnTop(HWND child, int left, int top, int width, int height) {
  if (child) SetWindowPos(child, HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
}
}  // namespace

void MediaPanels::SetCaptionBounds(int left, int top, int width, int height) {
  PlaceOnTop(caption_, left, top, width, height);
}

void MediaPanels::SetStateTextBounds(int left, int top, int width, int height) {
  PlaceOnTop(stateText_, left, top, width, height);
}

}  // namespace orves
