#include "player/window/Layout.h"

#include <algorithm>

#include "player/core/SettingsTable.h"
#include "player/window/LayoutAreas.h"

namespace orves {

namespace {
// The window size asked for when zooming with no picture (then raised to
// the skin's minimum size).
constexpr int kNoPictureWidth = 360;
constexpr int kNoPictureHeight = 200;
constexpr int kCursorCallLimit = 64;
}  // namespace

const SettingsTable<TLayout>& TLayout::SettingsKeys() {
  using L = TLayout;
  static constexpr DialogChoice kStartModes[] = {{"창크기에 맞춤", 0}, {"0.5배 크기", 1}, {"1.0배 크기", 2},
                                                 {"1.5배 크기", 3},    {"2.0배 크기", 4}, {"전체 화면", 5}};
  static constexpr SettingKey<L> keys[] = {
      FlagKey("ShowMovieWhenHide", &L::showMovieWhenHide, true)
          .Shown(Check("chkShowMovieWhenHide", "창이동, 크기변환 시 화면표시",
                       {kPageAdvanced, 12, 96, 400, 20}, 805)),
      FlagKey("PauseAtMinimize", &L::pauseAtMinimize, true)
          .Shown(Check("chkPauseAtMinimize", "창크기 최소화시 동영상 일시정지",
                       {kPageAdvanced, 12, 52, 400, 20}, 803)),
      FlagKey("AlwaysTop", &L::alwaysTop, true)
          .Shown(Check("chkAlwaysTop", "항상위 켜기", {kPageView, 12, 12, 200, 20}, 102)),
      FlagKey("AlwaysShowFullScreenBar", &L::alwaysShowFullScreenBar, false)
          .AppliedBy(&L::ToggleFullScreenBar)
          .Shown(Check("chkAlwaysShowFullScreenBar", "전체화면에서 컨트롤바를 항상 보이게",
                       {kPageFullScreen, 12, 278, 400, 20}, 601)),
      // The width of the full-screen mode; the dialog's mode box clears it
      // after this row when unchecked (0: the display mode is kept).
      IntegerKey("FullScreenDpi", &L::fullScreenDpi, 0)
          .Shown(
              Choice("rdgFullScreenDpi", "해상도", {kPageFullScreen, 12, 40, 200, 122}, 640).KeptByReset()),
      IntegerKey("FullScreenColor", &L::fullScreenColor, 32),
      // A start mode outside the six choices is clamped rather than refused.
      IntegerKey("StartMode", &L::startMode, 2, 0, 5)
          .Shown(
              Radios("rdgStartMode", "시작할 때 창 크기", {kPageView, 12, 90, 200, 170}, 105, kStartModes)),
  };
  static constexpr SettingsTable<L> table("Layout", keys);
  return table;
}

TLayout::TLayout(TSetup& setup, const TSkin& skin, const TLayoutServices& services)
    : setup_(setup),
      ownSkinView_(skin),
      skin_(*ownSkinView_),
      window_(services.window),
      display_(services.display),
      stateText_(services.stateText),
      mouseAction_(services.mouseAction) {
  SettingsKeys().Read(setup_, *this);
}

TLayout::TLayout(TSetup& setup, const ILayoutSkin& skin, const TLayoutServices& services)
    : setup_(setup),
      skin_(skin),
      window_(services.window),
      display_(services.display),
      stateText_(services.stateText),
      mouseAction_(services.mouseAction) {
  SettingsKeys().Read(setup_, *this);
}

TLayout::~TLayout() { SettingsKeys().Write(setup_, *this); }

// Leaving at close must restore the display mode whatever the mouse is
// doing, so this does not go through the toggle's mouse-action check.
void TLayout::LeaveFullScreen() {
  if (fullScreen_) {
    fullScreen_ = false;
    if (window_.IsMaximized()) {
      LeaveFullScreenWindow();
    }
  }
  Arrange();
}

void TLayout::Arrange() {
  window_.PaintSkin();
  const WindowSize size = CurrentSize();
  window_.PlaceMediaPanel(MediaPanelRect(size.width, size.height));
  window_.RefitPicture();
  window_.PlaceFullScreenBar(PanelRect{0, 0, size.width, skin_.Sizes().fullScreenBarHeight});
  if (fullScreen_ && alwaysShowFullScreenBar) {
    ShowFullScreenBar();
  } else {
    HideFullScreenBar();
  }
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

WindowSize TLayout::CurrentSize() const {
  WindowSize size;
  window_.ClientSize(size.width, size.height);
  return size;
}

void TLayout::SetWindowSize(WindowSize size) { window_.SetWindowSize(size.width, size.height); }

void TLayout::HideMovieForResize() {
  if (!showMovieWhenHide) {
    window_.SetMovieVisible(false);
  }
  window_.SetCaptionVisible(false);
}

void TLayout::ShowMovieAfterResize() {
  window_.RefitPicture(/*evenHidden=*/true);
  if (!showMovieWhenHide) {
    window_.RefreshCaptions();
    window_.SetMovieVisible(true);
  }
  window_.SetCaptionVisible(true);
}

// In full screen the window keeps the screen; only the panels move.
void TLayout::ResizeKeepingAspect(int width, int height) {
  if (!fullScreen_) {
    SetWindowSize(SizeFromWidth(skin_.Sizes(), window_.Picture(), {width, height}));
  }
  Arrange();
}

void TLayout::ResizeKeepingAspect() {
  const WindowSize size = CurrentSize();
  ResizeKeepingAspect(size.width, size.height);
}

void TLayout::ResizeFromHeight(int width, int height) {
  if (!fullScreen_) {
    SetWindowSize(SizeFromHeight(skin_.Sizes(), window_.Picture(), {width, height}));
  }
  Arrange();
}

void TLayout::ResizeFromCurrentHeight() {
  const WindowSize size = CurrentSize();
  ResizeFromHeight(size.width, size.height);
}

void TLayout::Zoom(double factor) {
  if (fullScreen_) {
    ToggleFullScreen();
  }
  const PictureSize picture = window_.Picture();
  if (!picture.HasAspect()) {
    ResizeInsideWorkArea(kNoPictureWidth, kNoPictureHeight);
    return;
  }
  HideMovieForResize();
  ResizeInsideWorkArea(ZoomWidth(skin_.Sizes(), picture, factor), CurrentSize().height);
  ShowMovieAfterResize();
}

// As ResizeKeepingAspect, and the window stays where its controls can be
// reached: a zoom never grows it past the screen's edge.
void TLayout::ResizeInsideWorkArea(int width, int height) {
  if (!fullScreen_) {
    const PictureSize picture = window_.Picture();
    const WindowSize size = SizeFromWidth(skin_.Sizes(), picture, {width, height});
    const ScreenRect now = window_.WindowRect();
    const ScreenRect kept =
        KeepInWorkArea(skin_.Sizes(), picture,
                       {now.left, now.top, now.left + size.width, now.top + size.height}, window_.WorkArea());
    if (kept.left != now.left || kept.top != now.top) {
      window_.MoveWindowTo(kept.left, kept.top);
    }
    SetWindowSize({kept.Width(), kept.Height()});
  }
  Arrange();
}

// The size a newly opened movie starts at; a movie reopened by the player
// itself, or one that starts in full screen, keeps the window's width.
void TLayout::ApplyStartSize(bool newlyOpened) {
  if (fullScreen_ || !newlyOpened) {
    ResizeKeepingAspect();
    return;
  }
  switch (startMode) {
    case 1:
      Zoom(0.5);
      break;
    case 2:
      Zoom(1.0);
      break;
    case 3:
      Zoom(1.5);
      break;
    case 4:
      Zoom(2.0);
      break;
    case 5:
      ToggleFullScreen();
      break;
    default:
      ResizeKeepingAspect();
      break;
  }
}

// ---- full screen ---------------------------------------------------------------

// Never in the middle of a drag, a resize or a minimise press.
void TLayout::ToggleFullScreen() {
  if (!mouseAction_.None() && !mouseAction_.Is(kMouseDoubleClick)) {
    return;
  }
  fullScreen_ = !fullScreen_;
  if (fullScreen_ && !window_.IsMaximized()) {
    EnterFullScreenWindow();
  } else if (!fullScreen_ && window_.IsMaximized()) {
    LeaveFullScreenWindow();
  }
  ResizeKeepingAspect();
  if (fullScreen_) {
    stateText_.ShowState("전체화면 모드", "FULLSCREEN :ON");
  } else {
    stateText_.ShowState("창 모드", "FULLSCREEN : OFF");
  }
}

void TLayout::EnterFullScreenWindow() {
  HideMovieForResize();
  SetDisplayMode();
  window_.Maximize();
  ShowMovieAfterResize();
}

void TLayout::LeaveFullScreenWindow() {
  HideMovieForResize();
  window_.RestoreWindow();
  RestoreDisplayMode();
  ShowMovieAfterResize();
}

void TLayout::SetDisplayMode() {
  if (fullScreenDpi == 0) {
    return;
  }
  if (const auto mode = FindFullScreenMode(display_.Modes(), fullScreenDpi, fullScreenColor)) {
    display_.SetMode(*mode);
  }
}

// Restored even when no mode matched on entering.
void TLayout::RestoreDisplayMode() {
  if (fullScreenDpi != 0) {
    display_.RestoreMode();
  }
}

void TLayout::ToggleFullScreenBar() {
  alwaysShowFullScreenBar = !alwaysShowFullScreenBar;
  Arrange();
  if (alwaysShowFullScreenBar) {
    stateText_.ShowState("컨트롤바(전체화면) : 항상보기", "CONTROL BAR : ALWAYS SHOW");
  } else {
    stateText_.ShowState("컨트롤바(전체화면) : 자동감추기", "CONTROL BAR : AUTO");
  }
}

// ---- cursor and minimising -----------------------------------------------------
// The cursor's display counter is left at exactly -1 (hidden) or 0 (shown)
// from whatever it was, however often these run. The bound only guards
// against a counter that does not move.

namespace {

void SettleCursorCounter(IDisplay& display, bool show, int target) {
  int count = display.ShowCursor(show);
  for (int i = 0; i < kCursorCallLimit && count != target; ++i) {
    count = display.ShowCursor(count < target);
  }
}

}  // namespace

void TLayout::HideMouseCursor() { SettleCursorCounter(display_, false, -1); }

void TLayout::ShowMouseCursor() { SettleCursorCounter(display_, true, 0); }

void TLayout::MinimizeWindow() { window_.MinimizeApplication(); }

// ---- click areas -----------------------------------------------------------------

AreaPress TLayout::HitTest(int x, int y) {
  const WindowSize size = CurrentSize();
  const AreaHit hit =
      FindArea(skin_.ClickAreas(), skin_.BarAreas(), x, y, size.width, size.height, fullScreen_);
  if (hit.name.empty()) {
    return {};
  }
  AreaPress press = CommandOfArea(hit.name);
  if (press.effect == AreaPress::Effect::Seek) {
    press.share = TrackShare(hit.track, x);
  } else if (press.effect == AreaPress::Effect::Volume) {
    press.volume = TrackVolume(hit.track, x);
  }
  return press;
}

}  // namespace orves
