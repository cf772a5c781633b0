#pragma once
// TLayout: the geometry of the skinned main window and its options (section
// `Layout`): the seven settings, the full-screen flag and the placement of
// the media panel inside the skin's margins. The window itself is reached
// through ILayoutWindow so the arithmetic stays portable.
#include "player/core/Services.h"
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

// What the layout asks of the main window.
class ILayoutWindow {
 public:
  virtual ~ILayoutWindow() = default;
  virtual void ClientSize(int& width, int& height) const = 0;
  virtual void PaintSkin() = 0;
  virtual void PlaceMediaPanel(const PanelRect& rect) = 0;
  // Refits the picture inside the media panel after it moved or was resized.
  virtual void RefitPicture() = 0;
  virtual bool CaptionPanelVisible() const = 0;
};

class TLayout final : public ILayout {
 public:
  TLayout(TSetup& setup, const TSkin& skin, ILayoutWindow& window);
  ~TLayout() override;  // writes the seven Layout keys
  TLayout(const TLayout&) = delete;
  TLayout& operator=(const TLayout&) = delete;

  static const SettingsTable<TLayout>& SettingsKeys();

  // Start-up: leave full screen if set, then arrange.
  void Start() { LeaveFullScreen(); }
  void LeaveFullScreen();
  void Arrange();
  // pnlMedia inside the margins; in full screen it covers the window, below
  // the control bar when that bar is always shown.
  PanelRect MediaPanelRect(int clientWidth, int clientHeight) const;

  // ILayout
  bool IsFullScreen() const override { return fullScreen_; }
  bool AlwaysShowFullScreenBar() const override { return alwaysShowFullScreenBar; }
  bool HitTest(int x, int y) override;
  bool CaptionPanelVisible() const override { return window_.CaptionPanelVisible(); }
  void HideMovieForResize() override;
  void ShowMovieAfterResize() override;
  void ResizeKeepingAspect(int width, int height) override;
  void ResizeKeepingAspect() override;
  void ResizeFromCurrentHeight() override;
  void ApplyStartSize(bool newlyOpened) override;
  void ToggleFullScreen() override;
  void ToggleFullScreenBar() override;
  void ShowFullScreenBar() override;
  void HideFullScreenBar() override;
  void ShowMouseCursor() override;
  void HideMouseCursor() override;
  void MinimizeWindow() override;
  void Zoom(double factor) override;

  bool showMovieWhenHide{};
  bool pauseAtMinimize{};
  bool alwaysTop{};  // applied when the main window is created
  bool alwaysShowFullScreenBar{};
  int fullScreenDpi{};    // 0: keep the display mode in full screen
  int fullScreenColor{};  // bits per pixel of the full-screen mode
  int startMode{};        // 0..5, window size when a new movie starts

 private:
  TSetup& setup_;
  const TSkin& skin_;
  ILayoutWindow& window_;
  bool fullScreen_ = false;
};

}  // namespace orves
