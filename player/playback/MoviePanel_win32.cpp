#include "player/playback/MoviePanel_win32.h"

#include "player/playback/DirectShowPlayer_win32.h"

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

bool MoviePanel::Create(HWND parent, int id, bool fillChildren) {
  if (Handle() || !parent) return false;
  fillChildren_ = fillChildren;
  return CreateWindowOf(WindowClassSpec{kPanelClass, 0, BlackBrush()}, 0,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, L"", RECT{}, parent, id);
}

RECT MoviePanel::BoundsInParent() const {
  RECT rc{};
  if (!Handle()) return rc;
  GetWindowRect(Handle(), &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void MoviePanel::SetPosition(int left, int top) {
  if (Handle()) SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoviePanel::SetSize(int width, int height) {
  if (HWND panel = Handle()) {
    SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MoviePanel::SetBounds(int left, int top, int width, int height) {
  if (Handle()) SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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
  if (Handle()) ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

bool MoviePanel::Visible() const { return Handle() && IsWindowVisible(Handle()); }

LRESULT MoviePanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      // Clicks on the bare panel belong to the window below (the main window).
      return HTTRANSPARENT;
    case WM_SIZE:
      if (fillChildren_) EnumChildWindows(Handle(), FillChild, reinterpret_cast<LPARAM>(Handle()));
      if (onResize_) onResize_(LOWORD(lParam), HIWORD(lParam));
      return 0;
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
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
