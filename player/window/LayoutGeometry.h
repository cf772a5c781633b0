#pragma once
// The window-size arithmetic of the layout: the outer size that holds the
// picture at its aspect inside the skin's margins, the zoom width, the
// display mode chosen for full screen, and the two bar tracks' values.
// Plain functions over plain values, so every rule is checked without a window.
#include <optional>
#include <vector>

#include "player/window/Skin.h"

namespace orves {

// The open picture as the layout sizes the window around it: its display
// width W and height H (after aspect and cropping, with any caption band)
// and the border b kept round it inside the media panel.
struct PictureSize {
  bool open = false;
  int width = 0;
  int height = 0;
  int border = 0;
  // A picture of no extent cannot give an aspect: sized as no picture.
  bool HasAspect() const { return open && width > 0 && height > 0; }
};

struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize&) const = default;
};

// The height follows the wanted width (rounded up); a height below the
// skin's minimum gives the width that fits the minimum height instead.
WindowSize SizeFromWidth(const SkinSizes& skin, const PictureSize& picture, WindowSize wanted);
// The width follows the wanted height, truncated, and never below the
// skin's minimum width.
WindowSize SizeFromHeight(const SkinSizes& skin, const PictureSize& picture, WindowSize wanted);
// The outer width that shows the picture at `factor` times its display width.
int ZoomWidth(const SkinSizes& skin, const PictureSize& picture, double factor);

// A rectangle on the screen; right and bottom lie just outside it.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};
// The window kept reachable inside a monitor's work area: a size larger than
// the area is limited to it with the picture's aspect kept, then the window
// is moved back in. A window the area cannot hold even at the skin's minimum
// size sits at the area's top left corner.
ScreenRect KeepInWorkArea(const SkinSizes& skin, const PictureSize& picture, ScreenRect window,
                          const ScreenRect& workArea);

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};
// The last mode of the list with the given width and colour depth.
std::optional<DisplayMode> FindFullScreenMode(const std::vector<DisplayMode>& modes, int width,
                                              int bitsPerPixel);

// A bar track resolved against the window: left L, right R, half thumb width h.
struct BarTrack {
  int left = 0;
  int right = 0;
  int halfThumb = 0;
};
// The share of the movie (0 .. 1) a press at x on a position track seeks to.
double TrackShare(const BarTrack& track, int x);
// Volume (-3200 .. 0) a press at x on a volume track sets.
int TrackVolume(const BarTrack& track, int x);

}  // namespace orves
