#include "player/playback/PictureFit.h"

#include <algorithm>
#include <cstdint>

namespace orves {

namespace {
// Rounding up, as the layout has always done it.
constexpr double kRoundUp = 0.9999999;

int Clamp32(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The picture's rectangle: the width or the height of the free area limits
// it; the picture sits at the top of the band that also holds the captions.
PanelBounds MovieBounds(const PictureFitInput& in, int mm) {
  if (!in.hasPicture) return {in.margin, in.margin, 1, 1};
  // Products in 64 bits: a huge panel must not wrap into a negative size.
  const int64_t aw = std::max(0, in.mediaWidth - 2 * mm);
  const int64_t ah = std::max(0, in.mediaHeight - 2 * mm);
  const int64_t dw = std::max(1, in.displayWidth);
  const int64_t dh = std::max(1, in.displayHeight);
  const int64_t sh = in.sourceHeight;
  PanelBounds b;
  if (dw * ah >= dh * aw) {  // the width limits
    const int64_t width = aw;
    b.width = Clamp32(width);
    b.height = Clamp32(static_cast<int64_t>(static_cast<double>(sh * width) / dw + kRoundUp));
    b.top = Clamp32(mm + (ah - dh * width / dw) / 2);
    b.left = mm;
  } else {  // the height limits
    const int64_t width = dw * ah / dh;
    b.width = Clamp32(width);
    b.height = Clamp32(static_cast<int64_t>(static_cast<double>(sh * width) / dw + kRoundUp));
    b.left = Clamp32(mm + (aw - width) / 2);
    b.top = mm;
  }
  return b;
}

// The caption block straddles the picture's lower edge: rise above it, band
// below it, both scaled from source pixels to the panel's.
PanelBounds CaptionBounds(const PictureFitInput& in, const PanelBounds& movie) {
  if (!in.hasPicture) return {0, 1, 0, 0};
  const int64_t dw = std::max(1, in.displayWidth);
  const int64_t pw = movie.width;
  PanelBounds b;
  b.top = Clamp32(movie.top + movie.height - int64_t{in.captionRise} * pw / dw);
  b.height = Clamp32((int64_t{in.captionRise} + in.captionBand) * pw / dw);
  b.left = movie.left;
  b.width = movie.width;
  return b;
}

}  // namespace

PictureFit FitPictureBounds(const PictureFitInput& in) {
  const int mm = in.fullScreen ? 0 : in.margin;
  PictureFit fit;
  fit.movie = MovieBounds(in, mm);
  fit.caption = CaptionBounds(in, fit.movie);
  fit.stateText = {fit.movie.left, in.margin + in.stateTextTop, std::max(0, in.mediaWidth - 2 * mm),
                   kStateTextPanelHeight};
  return fit;
}

}  // namespace orves
