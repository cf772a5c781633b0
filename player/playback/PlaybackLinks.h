#pragma once
// The few things the playback objects need from objects of other areas, each
// as a small interface so TMovie, TMedia and TStateText stay testable without
// a window. The owners implement them (or wrap themselves in an adapter):
//   IMoviePanels  - the Windows side, MoviePanels (MoviePanel_win32.h)
//   IMovieLayout  - TLayout (player/window)
//   ISkinThumbs   - TSkin (player/window)
//   IMediaView    - TMedia (Media.h)
//   IPlayListPosition - TPlayList (player/window)
//   IMediaCaptions - TCaptionView (adapter in CaptionViewLink.h)
//   IMediaPanels  - the Windows side, MediaPanels (MoviePanelWin32.h)
//   IMediaLayout  - TLayout, TSkin and TPlayList together (the main window)
// A link that is not set (nullptr) is skipped, so the objects work while they
// are being created in the main window's order.
#include <string>

namespace orves {

// Geometry of the movie panel `pnlMovie` and the inner panel `pnlInnerMovie`
// that holds the media player control.
class IMoviePanels {
 public:
  virtual ~IMoviePanels() = default;
  virtual int MoviePanelWidth() const = 0;
  virtual int MoviePanelHeight() const = 0;
  // Position and size are separate so the caller decides their order.
  virtual void SetInnerPosition(int left, int top) = 0;
  virtual void SetInnerSize(int width, int height) = 0;
  virtual void RepaintInner() = 0;
};

// The window layout and full-screen mode.
class IMovieLayout {
 public:
  virtual ~IMovieLayout() = default;
  virtual bool IsFullScreen() const = 0;
  // Bracket every change of window size or state.
  virtual void HideMovieForResize() = 0;
  virtual void ShowMovieAfterResize() = 0;
  // ResizeFromHeight with the main window's current width and height: the
  // window keeps its height and takes the width the picture needs.
  virtual void ResizeFromCurrentHeight() = 0;
};

// The skin's bar thumbs (position and volume).
class ISkinThumbs {
 public:
  virtual ~ISkinThumbs() = default;
  virtual void PlaceThumbs() = 0;
};

// What the movie and the state text read from the media object.
class IMediaView {
 public:
  virtual ~IMediaView() = default;
  // True when the control shows a picture (its source width is not 0).
  virtual bool HasPicture() const = 0;
  virtual double CurrentPosition() const = 0;
  virtual double Duration() const = 0;
  // Reopen the current media at its current position.
  virtual void Reload() = 0;
};

// The playlist's place, for the playing message "(i/n)".
class IPlayListPosition {
 public:
  virtual ~IPlayListPosition() = default;
  virtual int ItemIndex() const = 0;  // current entry, -1 when none
  virtual int Count() const = 0;
};

// The caption view as the media object uses it. File names are UTF-8.
class IMediaCaptions {
 public:
  virtual ~IMediaCaptions() = default;
  // Loads the caption document from a file (an unreadable file leaves it empty).
  virtual void LoadCaptionFile(const std::string& fileName) = 0;
  virtual void ClearCaptions() = 0;
  // The file the document was loaded from, empty when none.
  virtual std::string CaptionFileName() const = 0;
  virtual bool HasCaptions() const = 0;
  // The caption block's extent above and below the picture's lower edge, in
  // source pixels.
  virtual int CaptionRise() const = 0;
  virtual int CaptionBand() const = 0;
  // Shows the caption of the current position (or hides it).
  virtual void UpdateCaption() = 0;
};

// The panels the media object lays out inside the media panel `pnlMedia`:
// `pnlMovie` (the picture), `pnlCaption` and `pnlStateText`.
class IMediaPanels {
 public:
  virtual ~IMediaPanels() = default;
  virtual int MediaPanelWidth() const = 0;
  virtual int MediaPanelHeight() const = 0;
  virtual bool MovieVisible() const = 0;
  virtual void SetMovieBounds(int left, int top, int width, int height) = 0;
  virtual void SetCaptionBounds(int left, int top, int width, int height) = 0;
  virtual void SetStateTextBounds(int left, int top, int width, int height) = 0;
};

// What the media object needs of the window layout, the skin and the
// playlist panel when it places the picture.
class IMediaLayout {
 public:
  virtual ~IMediaLayout() = default;
  virtual bool IsFullScreen() const = 0;
  // The skin's full-screen bar, and whether it is shown all the time.
  virtual int FullScreenBarHeight() const = 0;
  virtual bool FullScreenBarAlwaysShown() const = 0;
  // ResizeKeepingAspect with the window's current size, then Arrange.
  virtual void ResizeKeepingAspect() = 0;
  // TPlayList ArrangePanel.
  virtual void ArrangePlayListPanel() = 0;
};

}  // namespace orves
