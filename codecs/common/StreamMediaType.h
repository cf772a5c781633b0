// DirectShow media types for the codecs module's streams and pictures: what
// the source's pins offer for a stream, the stream a decoder's input type
// describes (whoever's pin it comes from), and the decoders' output types.
#pragma once

#include <optional>

#include "codecs/common/PcmFormat.h"
#include "codecs/common/StreamFormat.h"
#include "codecs/common/VideoOutput.h"
#include "directshow/base/MediaTypes.h"

namespace orves::codecs {

// The type a source pin offers for `format` (SubtypeFor's subtype in its
// format block: VIDEOINFOHEADER2, MPEG1VIDEOINFO, MPEG2VIDEOINFO or
// WAVEFORMATEX with the private data appended). False for a stream the
// codec table does not list.
bool MediaTypeFor(const StreamFormat& format, ds::MediaType& type);

// The stream an upstream type describes, for opening a decoder; none when
// the subtype is not in the codec table or the format block is malformed
// (sizes are checked against cbFormat).
std::optional<StreamFormat> FormatFromMediaType(const AM_MEDIA_TYPE& type);

// Interleaved integer PCM: WAVEFORMATEX, or WAVE_FORMAT_EXTENSIBLE with its
// channel mask when PcmFormat::Extensible says so.
ds::MediaType PcmMediaType(const PcmFormat& format);

// An uncompressed picture type: VIDEOINFOHEADER2 carrying the picture
// aspect ratio, or VIDEOINFOHEADER for renderers that take only that.
// RGB32 is bottom-up (positive biHeight), the YUV types top-down.
struct PictureType {
  VideoOutput output = VideoOutput::NV12;
  int width = 0;
  int height = 0;
  Rational aspect;                 // picture aspect, {0, 1} for square pixels
  std::int64_t frameDuration = 0;  // AvgTimePerFrame
  bool info2 = true;
};
ds::MediaType PictureMediaType(const PictureType& picture);

// How a downstream pin wants pictures laid out in its buffers: the output
// type, and the stride and row order its (possibly changed) type asks for.
struct PictureLayout {
  VideoOutput output = VideoOutput::NV12;
  int width = 0;
  int height = 0;
  int stride = 0;
  bool bottomUp = false;
};
std::optional<PictureLayout> PictureLayoutOf(const AM_MEDIA_TYPE& type);

}  // namespace orves::codecs
