// Converts decoded pictures into the output types with swscale, keeping one
// conversion context for as long as the picture format stays the same.
#pragma once

#include <cstdint>

#include "codecs/common/VideoOutput.h"

struct AVFrame;
struct SwsContext;

namespace orves::codecs {

class PictureConverter {
 public:
  PictureConverter() = default;
  ~PictureConverter();
  PictureConverter(const PictureConverter&) = delete;
  PictureConverter& operator=(const PictureConverter&) = delete;

  // Writes `frame`, scaled to `width` x `height` when it has another size,
  // into `buffer` as LayoutFor(type, height, stride, bottomUp) lays it out.
  // YUV outputs are limited range with the source's matrix; RGB32 is full
  // range, converted with the source's matrix (BT.709 for HD pictures that
  // name none).
  bool Convert(const AVFrame& frame, VideoOutput type, std::uint8_t* buffer, int stride, int width,
               int height, bool bottomUp);

 private:
  struct Key {
    int width = 0;
    int height = 0;
    int targetWidth = 0;
    int targetHeight = 0;
    int source = -1;
    int colorspace = -1;
    int range = -1;
    VideoOutput type = VideoOutput::NV12;
    friend bool operator==(const Key&, const Key&) = default;
  };
  SwsContext* context_ = nullptr;
  Key key_;
};

}  // namespace orves::codecs
