#include "player/window/Layout.h"

#include <algorithm>

#include "player/shell/Setup.h"

namespace orves {

namespace {
constexpr const char* kSection = "Layout";
constexpr int kLastStartMode = 5;
}  // namespace

TLayout::TLayout(TSetup& setup, const TSkin& skin) : setup_(setup), skin_(skin) {
  showMovieWhenHide = setup_.ReadFlag(kSection, "ShowMovieWhenHide", true);
  pauseAtMinimize = setup_.ReadFlag(kSection, "PauseAtMinimize", true);
  alwaysTop = setup_.ReadFlag(kSection, "AlwaysTop", true);
  alwaysShowFullScreenBar = setup_.ReadFlag(kSection, "AlwaysShowFullScreenBar", false);
  fullScreenDpi = setup_.ReadInteger(kSection, "FullScreenDpi", 0);
  fullScreenColor = setup_.ReadInteger(kSection, "FullScreenColor", 32);
  // A start mode outside the six choices is clamped rather than refused.
  startMode = std::clamp(setup_.ReadInteger(kSection, "StartMode", 2), 0, kLastStartMode);
}

TLayout::~TLayout() {
  setup_.WriteFlag(kSection, "ShowMovieWhenHide", showMovieWhenHide);
  setup_.WriteFlag(kSection, "PauseAtMinimize", pauseAtMinimize);
  setup_.WriteFlag(kSection, "AlwaysTop", alwaysTop);
  setup_.WriteFlag(kSection, "AlwaysShowFullScreenBar", alwaysShowFullScreenBar);
  setup_.WriteInteger(kSection, "FullScreenDpi", fullScreenDpi);
  setup_.WriteInteger(kSection, "FullScreenColor", fullScreenColor);
  setup_.WriteInteger(kSection, "StartMode", startMode);
}

void TLayout::Start(ILayoutWindow& window) { LeaveFullScreen(window); }

// Full screen is entered only by the full-screen command, which builds on
// this class; leaving it here restores the windowed flag and arranges.
void TLayout::LeaveFullScreen(ILayoutWindow& window) {
  fullScreen_ = false;
  Arrange(window);
}

void TLayout::Arrange(ILayoutWindow& window) {
  window.PaintSkin();
  int width = 0;
  int height = 0;
  window.ClientSize(width, height);
  window.PlaceMediaPanel(MediaPanelRect(width, height));
  window.RefitPicture();
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

}  // namespace orves
