#pragma once
// MoviePanel: a plain child panel window, used for `pnlMovie` and
// `pnlInnerMovie`. The panel is transparent to the mouse (the window below,
// i.e. the main window, gets the clicks), paints black, and clips its children,
// which is how the movie panel cuts the two sides of a cropped picture.
//
// MoviePanels: the two panels as TMovie sees them (IMoviePanels).
// MediaPanels: `pnlMedia` and the three panels TMedia places inside it
// (IMediaPanels).
#include <windows.h>

#include <functional>

#include "player/core/Window_win32.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"

namespace orves {

class DirectShowPlayer;

class MoviePanel final : public TWindow {
 public:
  // A visible child of `parent` at (0, 0), size 0. With `fillChildren` every
  // direct child window is sized to the panel's client area on each resize.
  bool Create(HWND parent, int id, bool fillChildren = false);

  void SetPosition(int left, int top);
  void SetSize(int width, int height);
  void SetBounds(int left, int top, int width, int height);
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetVisible(bool visible);
  bool Visible() const;

  // Called after every size change with the new client size.
  void SetOnResize(std::function<void(int width, int height)> onResize) { onResize_ = std::move(onResize); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  RECT BoundsInParent() const;

  bool fillChildren_ = false;
  std::function<void(int, int)> onResize_;
};

class MoviePanels final : public IMoviePanels {
 public:
  MoviePanels(MoviePanel& movie, MoviePanel& inner, DirectShowPlayer* player)
      : movie_(movie), inner_(inner), player_(player) {}

  int MoviePanelWidth() const override { return movie_.Width(); }
  int MoviePanelHeight() const override { return movie_.Height(); }
  void SetInnerPosition(int left, int top) override { inner_.SetPosition(left, top); }
  void SetInnerSize(int width, int height) override { inner_.SetSize(width, height); }
  void RepaintInner() override;

 private:
  MoviePanel& movie_;
  MoviePanel& inner_;
  DirectShowPlayer* player_;
};

class MediaPanels final : public IMediaPanels {
 public:
  // `caption` and `stateText` may be null while those panels do not exist.
  MediaPanels(MoviePanel& media, MoviePanel& movie, HWND caption, HWND stateText)
      : media_(media), movie_(movie), caption_(caption), stateText_(stateText) {}

  int MediaPanelWidth() const override { return media_.Width(); }
  int MediaPanelHeight() const override { return media_.Height(); }
  // The panel's own visibility, whatever its parent's.
  bool MovieVisible() const override {
    return movie_.Handle() && (GetWindowLongW(movie_.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void SetMovieBounds(int left, int top, int width, int height) override {
    movie_.SetBounds(left, top, width, height);
  }
  void SetCaptionBounds(int left, int top, int width, int height) override;
  void SetStateTextBounds(int left, int top, int width, int height) override;

 private:
  MoviePanel& media_;
  MoviePanel& movie_;
  HWND caption_;
  HWND stateText_;
};

}  // namespace orves
