#pragma once
// TLayout: the geometry of the skinned main window and its options (section
// `Layout`). This first part holds the seven settings, the full-screen flag
// and the placement of the media panel inside the skin's margins; the window
// itself is reached through ILayoutWindow so the arithmetic stays portable.
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
};

class TLayout {
 public:
  TLayout(TSetup& setup, const TSkin& skin);
  ~TLayout();  // writes the seven Layout keys
  TLayout(const TLayout&) = delete;
  TLayout& operator=(const TLayout&) = delete;

  // Start-up: leave full screen if set, then arrange.
  void Start(ILayoutWindow& window);
  void LeaveFullScreen(ILayoutWindow& window);
  void Arrange(ILayoutWindow& window);

  // pnlMedia inside the margins; in full screen it covers the window, below
  // the control bar when that bar is always shown.
  PanelRect MediaPanelRect(int clientWidth, int clientHeight) const;

  bool FullScreen() const { return fullScreen_; }

  bool showMovieWhenHide = true;
  bool pauseAtMinimize = true;
  bool alwaysTop = true;  // applied when the main window is created
  bool alwaysShowFullScreenBar = false;
  int fullScreenDpi = 0;     // 0: keep the display mode in full screen
  int fullScreenColor = 32;  // bits per pixel of the full-screen mode
  int startMode = 2;         // 0..5, window size when a new movie starts

 private:
  TSetup& setup_;
  const TSkin& skin_;
  bool fullScreen_ = false;
};

}  // namespace orves
