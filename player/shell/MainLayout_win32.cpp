// TfrmMain's part in the layout: the window's size and state, its panels and
// the picture's place in them. The rules are TLayout's; this only carries
// them out on the window.
#include "player/captions/CaptionView.h"
#include "player/playback/Media.h"
#include "player/shell/Main_win32.h"

namespace orves {

void TfrmMain::SetWindowSize(int width, int height) {
  SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ScreenRect TfrmMain::WindowRect() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

ScreenRect TfrmMain::WorkArea() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
  }
  const RECT& r = monitor.rcWork;
  return {r.left, r.top, r.right, r.bottom};
}

void TfrmMain::MoveWindowTo(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Full screen is the window laid over its whole monitor.
bool TfrmMain::IsMaximized() const { return fullScreenPlacement_.Covering(); }

void TfrmMain::Maximize() { fullScreenPlacement_.Cover(Handle()); }

void TfrmMain::RestoreWindow() { fullScreenPlacement_.Restore(Handle()); }

void TfrmMain::MinimizeApplication() { ShowWindow(Handle(), SW_MINIMIZE); }

void TfrmMain::PlaceFullScreenBar(const PanelRect& rect) {
  if (skinPainter_ != nullptr) {
    SetWindowPos(skinPainter_->FullScreenBar(), HWND_TOP, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOACTIVATE);
  }
}

void TfrmMain::SetFullScreenBarVisible(bool visible) {
  if (skinPainter_ != nullptr) {
    ShowWindow(skinPainter_->FullScreenBar(), visible ? SW_SHOWNA : SW_HIDE);
  }
}

void TfrmMain::SetMovieVisible(bool visible) {
  ShowWindow(pnlMovie_.Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TfrmMain::SetCaptionVisible(bool visible) {
  ShowWindow(pnlCaption_.Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

PictureSize TfrmMain::Picture() const {
  if (media_ == nullptr || !media_->HasPicture()) {
    return {};
  }
  return {true, media_->DisplayWidth(), media_->DisplayHeight(), TMedia::kMargin};
}

void TfrmMain::RefreshCaptions() {
  if (captionView_ != nullptr) {
    captionView_->ForceRedraw();
  }
}

}  // namespace orves
