// What a stream holds, without FFmpeg or DirectShow types: the demuxer fills
// it from the container, the decoders open from it, and the filters turn it
// into a media type (VIDEOINFOHEADER2, MPEG2VIDEOINFO or WAVEFORMATEX with
// the codec's private data appended) and back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/common/TimeBase.h"

namespace orves::codecs {

enum class StreamKind { Video, Audio, Subtitle, Other };

struct StreamFormat {
  StreamKind kind = StreamKind::Other;
  // FFmpeg's codec id (AVCodecID) as a plain number; 0 when unknown.
  int codecId = 0;
  // The container's FOURCC or wave format tag, 0 when it names none.
  std::uint32_t codecTag = 0;
  // Codec private data (avcC, hvcC, sequence headers, Vorbis headers, ...).
  std::vector<std::uint8_t> extradata;
  std::int64_t bitRate = 0;

  // Video.
  int width = 0;
  int height = 0;
  Rational sampleAspect;  // 0/1 when unknown (square pixels)
  Rational frameRate;     // frames per second, 0/1 when unknown
  int bitDepth = 8;       // bits per luma sample of the decoded picture

  // Audio.
  int sampleRate = 0;
  int channels = 0;
  std::uint64_t channelMask = 0;  // speaker bits, 0 when the order is unknown
  int bitsPerSample = 0;          // coded bits (PCM, FLAC), 0 for lossy codecs
  int blockAlign = 0;
};

// One stream of an opened file, with the tags that name it.
struct StreamInfo {
  int index = -1;
  StreamFormat format;
  std::string language;  // ISO 639 code as the container gives it, may be empty
  std::string title;
  bool isDefault = false;
  std::int64_t duration = kNoTime;  // REFERENCE_TIME
};

}  // namespace orves::codecs
