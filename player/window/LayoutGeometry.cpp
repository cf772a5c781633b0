#include "player/window/LayoutGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orves {

namespace {

constexpr int kMinVolume = -3200;
constexpr double kRoundUp = 0.9999999;

WindowSize AtLeastMinimum(const SkinSizes& skin, WindowSize size) {
  return {std::max(size.width, skin.minWidth), std::max(size.height, skin.minHeight)};
}

int FrameWidth(const SkinSizes& skin, const PictureSize& picture) {
  return 2 * picture.border + skin.marginLeft + skin.marginRight;
}

int FrameHeight(const SkinSizes& skin, const PictureSize& picture) {
  return 2 * picture.border + skin.marginUp + skin.marginDown;
}

// a × b / c in 64 bits, truncated toward zero: a huge window or picture
// cannot overflow the product.
int ScaleTruncated(int a, int b, int c) {
  const int64_t value = static_cast<int64_t>(a) * b / c;
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

WindowSize SizeFromWidth(const SkinSizes& skin, const PictureSize& picture, WindowSize wanted) {
  WindowSize size = AtLeastMinimum(skin, wanted);
  if (!picture.HasAspect()) {
    return size;
  }
  const double inner =
      static_cast<double>(picture.height) * (size.width - FrameWidth(skin, picture)) / picture.width;
  size.height = static_cast<int>(std::trunc(FrameHeight(skin, picture) + inner + kRoundUp));
  if (size.height < skin.minHeight) {
    size.width = FrameWidth(skin, picture) +
                 ScaleTruncated(picture.width, skin.minHeight - FrameHeight(skin, picture), picture.height);
    size.height = skin.minHeight;
  }
  return size;
}

WindowSize SizeFromHeight(const SkinSizes& skin, const PictureSize& picture, WindowSize wanted) {
  WindowSize size = AtLeastMinimum(skin, wanted);
  if (!picture.HasAspect()) {
    return size;
  }
  size.width = FrameWidth(skin, picture) +
               ScaleTruncated(picture.width, size.height - FrameHeight(skin, picture), picture.height);
  // A tall skin frame over a wide picture would otherwise make the window
  // narrower than the skin can be drawn.
  size.width = std::max(size.width, skin.minWidth);
  return size;
}

int ZoomWidth(const SkinSizes& skin, const PictureSize& picture, double factor) {
  return static_cast<int>(std::trunc(FrameWidth(skin, picture) + picture.width * factor));
}

ScreenRect KeepInWorkArea(const SkinSizes& skin, const PictureSize& picture, ScreenRect window,
                          const ScreenRect& workArea) {
  WindowSize size{window.Width(), window.Height()};
  if (size.width > workArea.Width()) {
    size = SizeFromWidth(skin, picture, {workArea.Width(), size.height});
  }
  if (size.height > workArea.Height()) {
    size = SizeFromHeight(skin, picture, {size.width, workArea.Height()});
  }
  const auto inside = [](int start, int length, int areaStart, int areaEnd) {
    return std::max(areaStart, std::min(start, areaEnd - length));
  };
  window.left = inside(window.left, size.width, workArea.left, workArea.right);
  window.top = inside(window.top, size.height, workArea.top, workArea.bottom);
  return {window.left, window.top, window.left + size.width, window.top + size.height};
}

std::optional<DisplayMode> FindFullScreenMode(const std::vector<DisplayMode>& modes, int width,
                                              int bitsPerPixel) {
  for (auto mode = modes.rbegin(); mode != modes.rend(); ++mode) {
    if (mode->width == width && mode->bitsPerPixel == bitsPerPixel) {
      return *mode;
    }
  }
  return std::nullopt;
}

// Tracks come from skin files: the arithmetic is 64-bit so no coordinate
// a file gives can overflow it.
double TrackShare(const BarTrack& track, int x) {
  const int64_t low = static_cast<int64_t>(track.left) + track.halfThumb;
  const int64_t high = static_cast<int64_t>(track.right) - track.halfThumb;
  if (x <= low) {
    return 0;
  }
  if (x < high) {
    return static_cast<double>(x - low) / static_cast<double>(high - low);
  }
  return 1;
}

int TrackVolume(const BarTrack& track, int x) {
  const int64_t low = static_cast<int64_t>(track.left) + track.halfThumb;
  const int64_t high = static_cast<int64_t>(track.right) - track.halfThumb;
  if (x <= low) {
    return kMinVolume;
  }
  if (x < high) {
    return static_cast<int>((x - low) * -kMinVolume / (high - low)) + kMinVolume;
  }
  return 0;
}

}  // namespace orves
