#include "codecs/video/PictureConverter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace orves::codecs {

namespace {

AVPixelFormat TargetFormat(VideoOutput type) {
  switch (type) {
    case VideoOutput::NV12:
      return AV_PIX_FMT_NV12;
    case VideoOutput::YV12:
      return AV_PIX_FMT_YUV420P;
    case VideoOutput::YUY2:
      return AV_PIX_FMT_YUYV422;
    case VideoOutput::RGB32:
      return AV_PIX_FMT_BGRA;
  }
  return AV_PIX_FMT_NONE;
}

// The full-range "J" formats are their plain twins with a full range flag;
// swscale wants the plain ones and the range said separately.
AVPixelFormat PlainFormat(AVPixelFormat format, bool& fullRange) {
  switch (format) {
    case AV_PIX_FMT_YUVJ420P:
      fullRange = true;
      return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
      fullRange = true;
      return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
      fullRange = true;
      return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
      fullRange = true;
      return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
      fullRange = true;
      return AV_PIX_FMT_YUV411P;
    default:
      return format;
  }
}

int SwsColorspace(const AVFrame& frame) {
  switch (frame.colorspace) {
    case AVCOL_SPC_BT709:
      return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
      return SWS_CS_FCC;
    case AVCOL_SPC_SMPTE240M:
      return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
      return SWS_CS_BT2020;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
      return SWS_CS_ITU601;
    default:
      return frame.height > 576 ? SWS_CS_ITU709 : SWS_CS_ITU601;
  }
}

}  // namespace

PictureConverter::~PictureConverter() { sws_freeContext(context_); }

bool PictureConverter::Convert(const AVFrame& frame, VideoOutput type, std::uint8_t* buffer, int stride,
                               int width, int height, bool bottomUp) {
  if (buffer == nullptr || frame.width <= 0 || frame.height <= 0 || width <= 0 || height <= 0 ||
      stride < MinimumStride(type, width)) {
    return false;
  }
  bool fullRange = frame.color_range == AVCOL_RANGE_JPEG;
  const AVPixelFormat source = PlainFormat(static_cast<AVPixelFormat>(frame.format), fullRange);
  const Key key{frame.width,          frame.height,      width, height, source,
                SwsColorspace(frame), fullRange ? 1 : 0, type};
  if (context_ == nullptr || !(key == key_)) {
    sws_freeContext(context_);
    context_ = sws_getContext(frame.width, frame.height, source, width, height, TargetFormat(type),
                              SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (context_ == nullptr) return false;
    const int* matrix = sws_getCoefficients(key.colorspace);
    const bool rgb = type == VideoOutput::RGB32;
    // YUV keeps the source's matrix in limited range; RGB is full range.
    sws_setColorspaceDetails(context_, matrix, key.range, rgb ? sws_getCoefficients(SWS_CS_DEFAULT) : matrix,
                             rgb ? 1 : 0, 0, 1 << 16, 1 << 16);
    key_ = key;
  }
  const PlaneLayout layout = LayoutFor(type, height, stride, bottomUp);
  std::uint8_t* planes[4] = {};
  int strides[4] = {};
  for (int i = 0; i < layout.planes; ++i) {
    planes[i] = buffer + layout.offset[static_cast<std::size_t>(i)];
    strides[i] = static_cast<int>(layout.stride[static_cast<std::size_t>(i)]);
  }
  return sws_scale(context_, frame.data, frame.linesize, 0, frame.height, planes, strides) == height;
}

}  // namespace orves::codecs
