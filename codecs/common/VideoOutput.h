// The uncompressed types the video decoder offers, in the order it offers
// them, and where each puts its planes in a buffer of a given stride.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace orves::codecs {

enum class VideoOutput { NV12, YV12, YUY2, RGB32 };

// The decoder proposes these in this order; the first one downstream
// accepts wins.
inline constexpr std::array<VideoOutput, 4> kVideoOutputOrder{VideoOutput::NV12, VideoOutput::YV12,
                                                              VideoOutput::YUY2, VideoOutput::RGB32};

std::uint32_t OutputFourcc(VideoOutput type);  // BI_RGB (0) for RGB32
int OutputBitCount(VideoOutput type);          // bits per pixel of biBitCount

// The first type of kVideoOutputOrder that `accepts` takes; none when it
// takes none.
std::optional<VideoOutput> ChooseOutput(const std::function<bool(VideoOutput)>& accepts);

// Where a picture `height` rows high lies in a buffer whose first plane
// has `stride` bytes per row (the renderer's biWidth times bytes per pixel):
// plane starts as offsets, their strides, and the buffer size. The chroma
// planes of YV12 (V first, then U) have half the stride; NV12's interleaved
// plane has the full stride. RGB32 rows run bottom-up when `bottomUp`
// (a positive biHeight): row 0 of the picture is then the last row in the
// buffer.
struct PlaneLayout {
  int planes = 0;
  std::array<std::ptrdiff_t, 3> offset{};
  std::array<std::ptrdiff_t, 3> stride{};
  std::size_t size = 0;
};

// Smallest stride a row of the type needs at `width` pixels.
int MinimumStride(VideoOutput type, int width);

PlaneLayout LayoutFor(VideoOutput type, int height, int stride, bool bottomUp = false);

}  // namespace orves::codecs
