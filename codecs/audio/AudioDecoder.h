// FFmpeg's audio decoders behind a small interface: packets in, blocks of
// interleaved integer PCM out (see PcmFormat), planar and float sources
// converted with swresample. After a seek (Flush, then SkipUntil) the first
// block starts at the target itself: whole blocks before it are dropped and
// the one across it is cut at the sample.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codecs/common/MediaPacket.h"
#include "codecs/common/PcmFormat.h"
#include "codecs/common/StreamFormat.h"

namespace orves::codecs {

struct AudioBlock {
  const std::uint8_t* data = nullptr;  // valid until the next call
  std::size_t size = 0;
  int frames = 0;
  std::int64_t start = kNoTime;  // REFERENCE_TIME
  std::int64_t stop = kNoTime;
  // The first block after opening or Flush.
  bool discontinuity = false;
  // The block's format differs from the one before (the stream changed its
  // rate or channels): the filter attaches the new media type.
  bool formatChanged = false;
};

class AudioDecoder {
 public:
  // IsOpen is false for a codec FFmpeg cannot decode.
  explicit AudioDecoder(const StreamFormat& format);
  ~AudioDecoder();
  AudioDecoder(const AudioDecoder&) = delete;
  AudioDecoder& operator=(const AudioDecoder&) = delete;

  bool IsOpen() const;
  // The PCM delivered: what the stream announces until the first block,
  // then that of the last block.
  PcmFormat Format() const;

  // Hands one packet to the decoder; call NextBlock until false after it.
  void Send(const MediaPacket& packet);
  void Drain();
  bool NextBlock(AudioBlock& block);

  void Flush();
  void SkipUntil(std::int64_t time);

  int Errors() const;

  // Whether FFmpeg has a decoder for the codec (AVCodecID).
  static bool Supports(int codecId);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orves::codecs
