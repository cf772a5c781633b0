#pragma once
// TLayout: the geometry of the skinned main window and its options (section
// `Layout`): the seven settings, the window sized to the picture's aspect
// within the skin's limits, zoom, the start size, full screen with its
// optional display mode and control bar, the cursor, minimising, and the
// skin's click areas. The window and the screen are reached through
// ILayoutWindow and IDisplay so every rule stays portable.
#include <optional>
#include <string>
#include <vector>

#include "player/core/MouseAction.h"
#include "player/core/Services.h"
#include "player/window/LayoutGeometry.h"
#include "player/window/Skin.h"

namespace orves {

class TSetup;

struct PanelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PanelRect&) const = default;
};

// What the layout asks of the main window: its size and state, its panels
// and the open picture's place in them.
class ILayoutWindow {
 public:
  virtual ~ILayoutWindow() = default;
  // The window has no frame of its own: its client size is its size.
  virtual void ClientSize(int& width, int& height) const = 0;
  virtual void SetWindowSize(int width, int height) = 0;
  // Where the window is on the screen, and the work area (the screen less
  // the task bar) of the monitor it is on.
  virtual ScreenRect WindowRect() const = 0;
  virtual ScreenRect WorkArea() const = 0;
  virtual void MoveWindowTo(int left, int top) = 0;
  virtual bool IsMaximized() const = 0;
  // Maximised, the frameless window covers the whole screen.
  virtual void Maximize() = 0;
  virtual void RestoreWindow() = 0;
  virtual void MinimizeApplication() = 0;

  virtual void PaintSkin() = 0;
  virtual void PlaceMediaPanel(const PanelRect& rect) = 0;
  virtual void PlaceFullScreenBar(const PanelRect& rect) = 0;
  // The full-screen bar and its two thumbs, together.
  virtual void SetFullScreenBarVisible(bool visible) = 0;
  virtual void SetMovieVisible(bool visible) = 0;
  virtual void SetCaptionVisible(bool visible) = 0;
  virtual bool CaptionPanelVisible() const = 0;

  virtual PictureSize Picture() const = 0;
  // Refits the picture inside the media panel after it moved or was resized;
  // `evenHidden` refits while the movie panel is hidden.
  virtual void RefitPicture(bool evenHidden = false) = 0;
  virtual void RefreshCaptions() = 0;
};

// What the layout reads of the skin in use: its frame sizes and its areas.
class ILayoutSkin {
 public:
  virtual ~ILayoutSkin() = default;
  virtual const SkinSizes& Sizes() const = 0;
  virtual const std::vector<TClickArea>& ClickAreas() const = 0;
  virtual const std::vector<TBarArea>& BarAreas() const = 0;
};

// The player's TSkin as the layout reads it.
class TSkinLayoutView final : public ILayoutSkin {
 public:
  explicit TSkinLayoutView(const TSkin& skin) : skin_(skin) {}
  const SkinSizes& Sizes() const override { return skin_.Sizes(); }
  const std::vector<TClickArea>& ClickAreas() const override { return skin_.ClickAreas(); }
  const std::vector<TBarArea>& BarAreas() const override { return skin_.BarAreas(); }

 private:
  const TSkin& skin_;
};

// The screen: its display modes and the mouse cursor's display counter.
class IDisplay {
 public:
  virtual ~IDisplay() = default;
  // The primary display's modes in the system's order.
  virtual std::vector<DisplayMode> Modes() const = 0;
  // Changes the mode for this run only; the system restores the stored mode
  // should the program end without restoring it.
  virtual void SetMode(const DisplayMode& mode) = 0;
  // Back to the mode stored in the registry.
  virtual void RestoreMode() = 0;
  // Raises (show) or lowers the cursor's display counter; returns the new count.
  virtual int ShowCursor(bool show) = 0;
};

// The services of the layout besides the skin.
struct TLayoutServices {
  ILayoutWindow& window;
  IDisplay& display;
  IStateText& stateText;
  const TMouseAction& mouseAction;  // no full-screen change during a gesture
};

class TLayout final : public ILayout {
 public:
  TLayout(TSetup& setup, const TSkin& skin, const TLayoutServices& services);
  TLayout(TSetup& setup, const ILayoutSkin& skin, const TLayoutServices& services);
  ~TLayout() override;  // writes the seven Layout keys
  TLayout(const TLayout&) = delete;
  TLayout& operator=(const TLayout&) = delete;

  static const SettingsTable<TLayout>& SettingsKeys();

  // Start-up: leave full screen if set, then arrange.
  void Start() { LeaveFullScreen(); }
  void LeaveFullScreen();
  // Paints the skin, places the media panel and the full-screen bar.
  void Arrange();
  // pnlMedia inside the margins; in full screen it covers the window, below
  // the control bar when that bar is always shown.
  PanelRect MediaPanelRect(int clientWidth, int clientHeight) const;
  // The window keeps the wanted height and takes the width the picture needs.
  void ResizeFromHeight(int width, int height);

  // ILayout
  bool IsFullScreen() const override { return fullScreen_; }
  bool AlwaysShowFullScreenBar() const override { return alwaysShowFullScreenBar; }
  AreaPress HitTest(int x, int y) override;
  bool CaptionPanelVisible() const override { return window_.CaptionPanelVisible(); }
  void HideMovieForResize() override;
  void ShowMovieAfterResize() override;
  void ResizeKeepingAspect(int width, int height) override;
  void ResizeKeepingAspect() override;
  void ResizeFromCurrentHeight() override;
  void ApplyStartSize(bool newlyOpened) override;
  void ToggleFullScreen() override;
  void ToggleFullScreenBar() override;
  void ShowFullScreenBar() override { window_.SetFullScreenBarVisible(true); }
  void HideFullScreenBar() override { window_.SetFullScreenBarVisible(false); }
  void ShowMouseCursor() override;
  void HideMouseCursor() override;
  bool PauseAtMinimize() const override { return pauseAtMinimize; }
  void MinimizeWindow() override;
  // The window sized to the picture's display size times `factor`, kept
  // inside its monitor's work area.
  void Zoom(double factor) override;

  bool showMovieWhenHide{};
  bool pauseAtMinimize{};
  bool alwaysTop{};  // applied when the main window is created
  bool alwaysShowFullScreenBar{};
  int fullScreenDpi{};    // 0: keep the display mode in full screen
  int fullScreenColor{};  // bits per pixel of the full-screen mode
  int startMode{};        // 0..5, window size when a new movie starts

 private:
  WindowSize CurrentSize() const;
  void SetWindowSize(WindowSize size);
  void ResizeInsideWorkArea(int width, int height);
  void EnterFullScreenWindow();
  void LeaveFullScreenWindow();
  void SetDisplayMode();
  void RestoreDisplayMode();

  TSetup& setup_;
  std::optional<TSkinLayoutView> ownSkinView_;  // with the player's TSkin
  const ILayoutSkin& skin_;
  ILayoutWindow& window_;
  IDisplay& display_;
  IStateText& stateText_;
  const TMouseAction& mouseAction_;
  bool fullScreen_ = false;
};

}  // namespace orves
