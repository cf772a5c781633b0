#pragma once
// A skin drawn for 96 DPI, made for the monitor the window is on. Skins are
// pixel art made at 100 %: whole multiples repeat each pixel, any other
// scale resamples smoothly (area averaging). Areas, texts and sizes scale
// with the same rounding, so a bitmap and the margin that names its size
// stay equal. The scaled skin is made once per load and scale; painting only
// copies it.
#include <cstdint>
#include <optional>

#include "player/window/Skin.h"

namespace orves {

inline constexpr int kBaseDpi = 96;

// The scale of a monitor, as its DPI against 96.
class DpiScale {
 public:
  constexpr DpiScale() = default;
  // Unusable values (zero, negative) mean 100 %.
  constexpr explicit DpiScale(int dpi) : dpi_(dpi > 0 ? dpi : kBaseDpi) {}

  constexpr int Dpi() const { return dpi_; }
  constexpr bool Identity() const { return dpi_ == kBaseDpi; }
  // 2 for 192 DPI, 3 for 288; 0 when the scale is not a whole multiple.
  constexpr int WholeFactor() const { return dpi_ % kBaseDpi == 0 ? dpi_ / kBaseDpi : 0; }
  // A length or coordinate at this scale, rounded to the nearest pixel and
  // symmetric about zero, so a coordinate counted from the right or bottom
  // edge (negative) lands where its mirror image would.
  int Scale(int value) const;
  // An extent that starts at `start` and is `length` long, measured by its
  // scaled ends: neighbouring areas keep touching, whatever the rounding.
  int ScaleLength(int start, int length) const { return Scale(start + length) - Scale(start); }
  bool operator==(const DpiScale&) const = default;

 private:
  int dpi_ = kBaseDpi;
};

// The bitmap at `scale`. With `cutColour` (0x00RRGGBB), pixels of that colour
// are holes: smoothing never mixes them into the picture, and a resampled
// pixel is a hole when holes cover at least half of it.
SkinBitmap ScaleSkinBitmap(const SkinBitmap& source, DpiScale scale,
                           std::optional<uint32_t> cutColour = std::nullopt);

// The skin at `scale`: bitmaps, click and bar areas, thumbs, text places and
// font sizes, margins, sizes and minimum size.
SkinData ScaleSkin(const SkinData& source, DpiScale scale);

// Blue pixels of a thumb are cut out of its panel.
inline constexpr uint32_t kThumbCutColour = 0x0000FF;

}  // namespace orves
