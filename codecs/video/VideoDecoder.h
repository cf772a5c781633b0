// FFmpeg's video decoders behind a small interface: packets in, pictures
// out, each picture copied into a caller's buffer in one of the output types
// (NV12, YV12, YUY2, RGB32; deeper sources reduced to 8 bits).
//
// Decoding runs on frame threads, one per core. A damaged packet is never
// fatal: the decoder drops what it cannot decode cleanly and picks up again
// at the next key frame at the latest. After a seek (Flush, then SkipUntil)
// pictures whose span ends at or before the target are dropped, so the first
// picture out is the one showing the target time.
#pragma once

#include <cstdint>
#include <memory>

#include "codecs/common/MediaPacket.h"
#include "codecs/common/StreamFormat.h"
#include "codecs/common/VideoOutput.h"

namespace orves::codecs {

struct PictureInfo {
  std::int64_t start = kNoTime;  // REFERENCE_TIME; kNoTime only before any time is known
  std::int64_t stop = kNoTime;
  int width = 0;
  int height = 0;
  Rational aspect;  // picture aspect ratio, reduced (16:9)
  bool interlaced = false;
  bool topFieldFirst = false;
  // The first picture after opening or Flush.
  bool discontinuity = false;
};

class VideoDecoder {
 public:
  // `threads` 0: one per core. IsOpen is false for a codec FFmpeg cannot
  // decode or private data it refuses.
  explicit VideoDecoder(const StreamFormat& format, int threads = 0);
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  bool IsOpen() const;

  // Hands one packet to the decoder; its pictures come out of NextPicture.
  // Call NextPicture until it returns false before the next Send.
  void Send(const MediaPacket& packet);
  // End of the stream: the pictures the decoder still holds come out.
  void Drain();

  // The next picture to show, or false when the decoder needs input. The
  // picture stays current (for CopyPicture) until the next call.
  bool NextPicture(PictureInfo& info);

  // Writes the current picture into `buffer` laid out as
  // LayoutFor(type, info.height, stride, bottomUp) describes. False when
  // there is no current picture or the conversion fails.
  bool CopyPicture(VideoOutput type, std::uint8_t* buffer, int stride, bool bottomUp = false);
  // The same scaled to `width` x `height` (a connection agreed on another
  // size than the stream turned out to have); the buffer is laid out for
  // `height` rows.
  bool CopyPicture(VideoOutput type, std::uint8_t* buffer, int stride, int width, int height, bool bottomUp);

  // Whether FFmpeg has a decoder for the codec (AVCodecID).
  static bool Supports(int codecId);

  // Forgets every packet and picture in flight (a seek); the next picture
  // carries the discontinuity flag.
  void Flush();
  // Drops pictures whose span ends at or before `time` until one does not.
  void SkipUntil(std::int64_t time);

  // Packets the decoder refused and pictures dropped as damaged, since opening.
  int Errors() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orves::codecs
