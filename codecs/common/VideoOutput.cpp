#include "codecs/common/VideoOutput.h"

#include "codecs/common/Guid.h"

namespace orves::codecs {

std::uint32_t OutputFourcc(VideoOutput type) {
  switch (type) {
    case VideoOutput::NV12:
      return Fourcc("NV12");
    case VideoOutput::YV12:
      return Fourcc("YV12");
    case VideoOutput::YUY2:
      return Fourcc("YUY2");
    case VideoOutput::RGB32:
      return 0;
  }
  return 0;
}

int OutputBitCount(VideoOutput type) {
  switch (type) {
    case VideoOutput::NV12:
    case VideoOutput::YV12:
      return 12;
    case VideoOutput::YUY2:
      return 16;
    case VideoOutput::RGB32:
      return 32;
  }
  return 0;
}

std::optional<VideoOutput> ChooseOutput(const std::function<bool(VideoOutput)>& accepts) {
  for (VideoOutput type : kVideoOutputOrder) {
    if (accepts(type)) return type;
  }
  return std::nullopt;
}

int MinimumStride(VideoOutput type, int width) {
  switch (type) {
    case VideoOutput::NV12:
    case VideoOutput::YV12:
      return (width + 1) & ~1;
    case VideoOutput::YUY2:
      return ((width + 1) & ~1) * 2;
    case VideoOutput::RGB32:
      return width * 4;
  }
  return 0;
}

PlaneLayout LayoutFor(VideoOutput type, int height, int stride, bool bottomUp) {
  PlaneLayout layout;
  const std::ptrdiff_t rows = height;
  const std::ptrdiff_t chromaRows = (rows + 1) / 2;
  const std::ptrdiff_t lumaSize = stride * rows;
  switch (type) {
    case VideoOutput::NV12:
      layout.planes = 2;
      layout.offset = {0, lumaSize, 0};
      layout.stride = {stride, stride, 0};
      layout.size = static_cast<std::size_t>(lumaSize + stride * chromaRows);
      break;
    case VideoOutput::YV12: {
      const std::ptrdiff_t chromaStride = stride / 2;
      layout.planes = 3;
      // Plane order of the layout is Y, U, V; in the buffer V comes before U.
      layout.offset = {0, lumaSize + chromaStride * chromaRows, lumaSize};
      layout.stride = {stride, chromaStride, chromaStride};
      layout.size = static_cast<std::size_t>(lumaSize + 2 * chromaStride * chromaRows);
      break;
    }
    case VideoOutput::YUY2:
      layout.planes = 1;
      layout.stride = {stride, 0, 0};
      layout.size = static_cast<std::size_t>(lumaSize);
      break;
    case VideoOutput::RGB32:
      layout.planes = 1;
      layout.offset = {bottomUp ? stride * (rows - 1) : 0, 0, 0};
      layout.stride = {bottomUp ? -stride : stride, 0, 0};
      layout.size = static_cast<std::size_t>(lumaSize);
      break;
  }
  return layout;
}

}  // namespace orves::codecs
