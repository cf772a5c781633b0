#include "codecs/video/VideoDecoder.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "codecs/common/Aspect.h"
#include "codecs/video/PictureConverter.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace orves::codecs {

namespace {

constexpr AVRational kReferenceTimeBase{1, static_cast<int>(kUnitsPerSecond)};
// FFmpeg's frame threading gains little beyond this many threads per stream.
constexpr int kMaxThreads = 16;

int ThreadCount(int threads) {
  if (threads > 0) return threads;
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(cores), 1, kMaxThreads);
}

bool CopyExtradata(AVCodecContext* context, const std::vector<std::uint8_t>& extradata) {
  if (extradata.empty()) return true;
  context->extradata =
      static_cast<std::uint8_t*>(av_mallocz(extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
  if (context->extradata == nullptr) return false;
  std::memcpy(context->extradata, extradata.data(), extradata.size());
  context->extradata_size = static_cast<int>(extradata.size());
  return true;
}

}  // namespace

// A decoded picture with the times it was given when it came out.
struct Picture {
  AVFrame* frame = av_frame_alloc();
  std::int64_t start = kNoTime;
  std::int64_t stop = kNoTime;
  bool valid = false;

  Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture() { av_frame_free(&frame); }

  void TakeFrom(Picture& other) {
    av_frame_unref(frame);
    av_frame_move_ref(frame, other.frame);
    start = other.start;
    stop = other.stop;
    valid = other.valid;
    other.valid = false;
  }
  void Clear() {
    av_frame_unref(frame);
    valid = false;
  }
};

struct VideoDecoder::Impl {
  AVCodecContext* context = nullptr;
  AVPacket* packet = nullptr;
  Picture received;  // straight from the decoder
  Picture current;   // the one NextPicture returned, for CopyPicture
  // While skipping to a seek target: the last picture starting at or before
  // it (shown at the target unless a later one also starts before it), and
  // the picture after it, given out next.
  Picture held;
  Picture queued;
  PictureConverter converter;
  StreamFormat format;
  bool pending = false;       // packet waits for the decoder to take it
  bool drain = false;         // the end of the stream waits behind it
  bool discontinuity = true;  // for the next picture
  std::int64_t skipUntil = kNoTime;
  std::int64_t lastStop = kNoTime;
  std::int64_t lastDuration = 0;
  int errors = 0;

  ~Impl() {
    av_packet_free(&packet);
    avcodec_free_context(&context);
  }

  bool Open(int threads);
  std::int64_t FrameDuration() const;
  void SendPacket();
  void Stamp(Picture& picture);
  void Emit(Picture& picture, PictureInfo& info);
};

bool VideoDecoder::Impl::Open(int threads) {
  const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(format.codecId));
  if (codec == nullptr || codec->type != AVMEDIA_TYPE_VIDEO) return false;
  context = avcodec_alloc_context3(codec);
  packet = av_packet_alloc();
  if (context == nullptr || packet == nullptr || received.frame == nullptr || current.frame == nullptr ||
      held.frame == nullptr || queued.frame == nullptr) {
    return false;
  }
  if (!CopyExtradata(context, format.extradata)) return false;
  context->codec_tag = format.codecTag;
  context->width = format.width;
  context->height = format.height;
  context->sample_aspect_ratio = {format.sampleAspect.num, format.sampleAspect.den};
  if (format.frameRate.Valid()) context->framerate = {format.frameRate.num, format.frameRate.den};
  context->pkt_timebase = kReferenceTimeBase;
  context->thread_count = ThreadCount(threads);
  context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  return avcodec_open2(context, codec, nullptr) >= 0;
}

// The length of one frame when neither the packet nor the picture says it:
// from the frame rate, else the last length seen, else 25 fps.
std::int64_t VideoDecoder::Impl::FrameDuration() const {
  if (format.frameRate.Valid())
    return RescaleRounded(kUnitsPerSecond, format.frameRate.den, format.frameRate.num);
  if (lastDuration > 0) return lastDuration;
  return kUnitsPerSecond / 25;
}

void VideoDecoder::Impl::SendPacket() {
  const int rc = avcodec_send_packet(context, packet);
  if (rc == AVERROR(EAGAIN)) {
    pending = true;
    return;
  }
  pending = false;
  if (rc < 0 && rc != AVERROR_EOF) ++errors;
  av_packet_unref(packet);
}

VideoDecoder::VideoDecoder(const StreamFormat& format, int threads) : impl_(std::make_unique<Impl>()) {
  impl_->format = format;
  if (!impl_->Open(threads)) avcodec_free_context(&impl_->context);
}

VideoDecoder::~VideoDecoder() = default;

bool VideoDecoder::IsOpen() const { return impl_->context != nullptr; }

void VideoDecoder::Send(const MediaPacket& packet) {
  Impl& d = *impl_;
  if (d.context == nullptr || packet.data.empty()) return;
  if (d.pending) d.SendPacket();  // NextPicture was not called until false
  if (d.pending) return;          // still full: this packet is lost, counted
  if (av_new_packet(d.packet, static_cast<int>(packet.data.size())) < 0) {
    ++d.errors;
    return;
  }
  std::memcpy(d.packet->data, packet.data.data(), packet.data.size());
  d.packet->pts = packet.start;
  if (packet.start != kNoTime && packet.stop != kNoTime) d.packet->duration = packet.stop - packet.start;
  if (packet.syncPoint) d.packet->flags |= AV_PKT_FLAG_KEY;
  // Pictures before a seek target are never shown; those no other picture
  // refers to need not be decoded at all. One frame of margin keeps the
  // picture that is still shown at the target after a short gap.
  const std::int64_t end = packet.stop != kNoTime    ? packet.stop
                           : packet.start != kNoTime ? packet.start + d.FrameDuration()
                                                     : kNoTime;
  const bool unseen = d.skipUntil != kNoTime && end != kNoTime && end + d.FrameDuration() <= d.skipUntil;
  d.context->skip_frame = unseen ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
  d.SendPacket();
}

void VideoDecoder::Drain() {
  Impl& d = *impl_;
  if (d.context == nullptr) return;
  if (d.pending) {
    d.drain = true;  // sent by NextPicture once the pending packet is in
  } else {
    avcodec_send_packet(d.context, nullptr);
  }
}

// Times from the decoder's best guess, else following the picture before.
void VideoDecoder::Impl::Stamp(Picture& picture) {
  const AVFrame* frame = picture.frame;
  std::int64_t start = frame->best_effort_timestamp;
  if (start == AV_NOPTS_VALUE) start = lastStop;
  std::int64_t duration = frame->pkt_duration > 0 ? frame->pkt_duration : FrameDuration();
  if (frame->repeat_pict > 0) duration += duration * frame->repeat_pict / 2;
  lastDuration = duration;
  picture.start = start;
  picture.stop = start != kNoTime ? start + duration : kNoTime;
  lastStop = picture.stop;
}

void VideoDecoder::Impl::Emit(Picture& picture, PictureInfo& info) {
  current.TakeFrom(picture);
  const AVFrame* frame = current.frame;
  info.start = current.start;
  info.stop = current.stop;
  info.width = frame->width;
  info.height = frame->height;
  info.aspect = PictureAspect(frame->width, frame->height,
                              {frame->sample_aspect_ratio.num, frame->sample_aspect_ratio.den});
  info.interlaced = frame->interlaced_frame != 0;
  info.topFieldFirst = frame->top_field_first != 0;
  info.discontinuity = discontinuity;
  discontinuity = false;
}

bool VideoDecoder::NextPicture(PictureInfo& info) {
  Impl& d = *impl_;
  if (d.context == nullptr) return false;
  d.current.Clear();
  for (;;) {
    if (d.queued.valid) {
      d.Emit(d.queued, info);
      return true;
    }
    const int rc = avcodec_receive_frame(d.context, d.received.frame);
    if (rc == AVERROR(EAGAIN) && d.pending) {
      d.SendPacket();
      if (!d.pending) continue;
    }
    if (rc == AVERROR(EAGAIN) && d.drain) {
      d.drain = false;
      avcodec_send_packet(d.context, nullptr);
      continue;
    }
    if (rc == AVERROR_EOF && d.held.valid) {
      // The stream ended before the target: its last picture is the one shown.
      d.skipUntil = kNoTime;
      d.Emit(d.held, info);
      return true;
    }
    if (rc < 0) {
      if (rc != AVERROR(EAGAIN) && rc != AVERROR_EOF) ++d.errors;
      return false;
    }
    const AVFrame* frame = d.received.frame;
    if ((frame->flags & AV_FRAME_FLAG_CORRUPT) != 0 || frame->decode_error_flags != 0) {
      ++d.errors;
      av_frame_unref(d.received.frame);
      continue;
    }
    d.received.valid = true;
    d.Stamp(d.received);
    if (d.skipUntil != kNoTime && d.received.start == kNoTime) {
      // Before any picture with a time (the leading pictures of an open
      // group after a seek): where it belongs is unknown, so it is not shown.
      d.received.Clear();
      continue;
    }
    if (d.skipUntil != kNoTime) {
      // A picture starting at or before the target may be the one shown
      // there, until a later one also does (or ends the stream).
      if (d.received.start != kNoTime && d.received.start <= d.skipUntil) {
        d.held.TakeFrom(d.received);
        continue;
      }
      d.skipUntil = kNoTime;
      if (d.held.valid) {
        d.queued.TakeFrom(d.received);
        d.Emit(d.held, info);
        return true;
      }
    }
    d.Emit(d.received, info);
    return true;
  }
}

bool VideoDecoder::CopyPicture(VideoOutput type, std::uint8_t* buffer, int stride, bool bottomUp) {
  Impl& d = *impl_;
  if (!d.current.valid) return false;
  return d.converter.Convert(*d.current.frame, type, buffer, stride, d.current.frame->width,
                             d.current.frame->height, bottomUp);
}

bool VideoDecoder::CopyPicture(VideoOutput type, std::uint8_t* buffer, int stride, int width, int height,
                               bool bottomUp) {
  Impl& d = *impl_;
  return d.current.valid &&
         d.converter.Convert(*d.current.frame, type, buffer, stride, width, height, bottomUp);
}

bool VideoDecoder::Supports(int codecId) {
  const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(codecId));
  return codec != nullptr && codec->type == AVMEDIA_TYPE_VIDEO;
}

void VideoDecoder::Flush() {
  Impl& d = *impl_;
  if (d.context == nullptr) return;
  avcodec_flush_buffers(d.context);
  av_packet_unref(d.packet);
  d.received.Clear();
  d.current.Clear();
  d.held.Clear();
  d.queued.Clear();
  d.pending = false;
  d.drain = false;
  d.discontinuity = true;
  d.skipUntil = kNoTime;
  d.lastStop = kNoTime;
}

void VideoDecoder::SkipUntil(std::int64_t time) { impl_->skipUntil = time; }

int VideoDecoder::Errors() const { return impl_->errors; }

}  // namespace orves::codecs
