#include "player/window/Layout.h"

#include <algorithm>

#include "player/core/SettingsTable.h"

namespace orves {

const SettingsTable<TLayout>& TLayout::SettingsKeys() {
  using L = TLayout;
  static constexpr SettingKey<L> keys[] = {
      FlagKey("ShowMovieWhenHide", &L::showMovieWhenHide, true),
      FlagKey("PauseAtMinimize", &L::pauseAtMinimize, true),
      FlagKey("AlwaysTop", &L::alwaysTop, true),
      FlagKey("AlwaysShowFullScreenBar", &L::alwaysShowFullScreenBar, false),
      IntegerKey("FullScreenDpi", &L::fullScreenDpi, 0),
      IntegerKey("FullScreenColor", &L::fullScreenColor, 32),
      // A start mode outside the six choices is clamped rather than refused.
      IntegerKey("StartMode", &L::startMode, 2, 0, 5),
  };
  static constexpr SettingsTable<L> table("Layout", keys);
  return table;
}

TLayout::TLayout(TSetup& setup, const TSkin& skin, ILayoutWindow& window)
    : setup_(setup), skin_(skin), window_(window) {
  SettingsKeys().Read(setup_, *this);
}

TLayout::~TLayout() { SettingsKeys().Write(setup_, *this); }

// Full screen is entered only by the full-screen command; leaving it
// restores the windowed flag and arranges.
void TLayout::LeaveFullScreen() {
  fullScreen_ = false;
  Arrange();
}

void TLayout::Arrange() {
  window_.PaintSkin();
  int width = 0;
  int height = 0;
  window_.ClientSize(width, height);
  window_.PlaceMediaPanel(MediaPanelRect(width, height));
  window_.RefitPicture();
}

PanelRect TLayout::MediaPanelRect(int clientWidth, int clientHeight) const {
  const SkinSizes& s = skin_.Sizes();
  const int full = fullScreen_ ? 1 : 0;
  const int always = alwaysShowFullScreenBar ? 1 : 0;
  const int bar = always * full * s.fullScreenBarHeight;
  PanelRect r;
  r.top = (fullScreen_ ? 0 : s.marginUp) + bar;
  r.left = fullScreen_ ? 0 : s.marginLeft;
  r.width = clientWidth - (fullScreen_ ? 0 : s.marginLeft + s.marginRight);
  r.height = clientHeight - (fullScreen_ ? 0 : s.marginUp + s.marginDown) - bar;
  // A window smaller than the skin's frame leaves no room: an empty panel,
  // never a negative size.
  r.width = std::max(r.width, 0);
  r.height = std::max(r.height, 0);
  return r;
}

// ---- window size -------------------------------------------------------------
// The window keeps the size the user gives it; every size rule fits the
// picture again inside it.

void TLayout::HideMovieForResize() {}
void TLayout::ShowMovieAfterResize() { window_.RefitPicture(); }
void TLayout::ResizeKeepingAspect(int, int) { window_.RefitPicture(); }
void TLayout::ResizeKeepingAspect() { window_.RefitPicture(); }
void TLayout::ResizeFromCurrentHeight() { window_.RefitPicture(); }
void TLayout::ApplyStartSize(bool) { window_.RefitPicture(); }

// ---- full screen, zoom, click areas ------------------------------------------
// The window is always windowed, at the user's size, with no click areas:
// these commands leave it as it is.

bool TLayout::HitTest(int, int) { return false; }
void TLayout::ToggleFullScreen() {}
void TLayout::ToggleFullScreenBar() {}
void TLayout::ShowFullScreenBar() {}
void TLayout::HideFullScreenBar() {}
void TLayout::ShowMouseCursor() {}
void TLayout::HideMouseCursor() {}
void TLayout::MinimizeWindow() {}
void TLayout::Zoom(double) {}

}  // namespace orves
