#include "codecs/audio/AudioDecoder.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswresample/swresample.h>
}

namespace orves::codecs {

namespace {

constexpr AVRational kReferenceTimeBase{1, static_cast<int>(kUnitsPerSecond)};
// Container times of audio frames wander (Matroska rounds to milliseconds,
// program streams repeat a time now and then); a frame whose time is this
// close to the end of the one before follows it without a gap. Further off
// it is a real jump, taken as the container says.
constexpr std::int64_t kJitter = kUnitsPerSecond / 10;

AVSampleFormat SampleFormatFor(int bits) { return bits == 32 ? AV_SAMPLE_FMT_S32 : AV_SAMPLE_FMT_S16; }

std::uint64_t LayoutMask(const AVChannelLayout& layout) {
  return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
}

// What swresample converts from, fixed per frame shape.
struct InputShape {
  int format = -1;
  int rate = 0;
  int channels = 0;
  std::uint64_t mask = 0;
  int bits = 0;
  friend bool operator==(const InputShape&, const InputShape&) = default;
};

}  // namespace

struct AudioDecoder::Impl {
  AVCodecContext* context = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  SwrContext* resampler = nullptr;
  InputShape shape;
  PcmFormat format;  // of the blocks delivered
  bool formatChanged = false;
  std::vector<std::uint8_t> buffer;
  bool pending = false;
  bool drain = false;
  bool discontinuity = true;
  std::int64_t nextStart = kNoTime;
  std::int64_t skipUntil = kNoTime;
  int errors = 0;

  ~Impl() {
    swr_free(&resampler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
  }

  bool Open(const StreamFormat& stream);
  int SourceBits() const;
  PcmFormat OutputFor(const InputShape& input) const;
  bool Reconfigure(const InputShape& input);
  int Convert();
  void SendPacket();
};

bool AudioDecoder::Impl::Open(const StreamFormat& stream) {
  const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(stream.codecId));
  if (codec == nullptr || codec->type != AVMEDIA_TYPE_AUDIO) return false;
  context = avcodec_alloc_context3(codec);
  packet = av_packet_alloc();
  frame = av_frame_alloc();
  if (context == nullptr || packet == nullptr || frame == nullptr) return false;
  if (!stream.extradata.empty()) {
    context->extradata =
        static_cast<std::uint8_t*>(av_mallocz(stream.extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (context->extradata == nullptr) return false;
    std::memcpy(context->extradata, stream.extradata.data(), stream.extradata.size());
    context->extradata_size = static_cast<int>(stream.extradata.size());
  }
  context->codec_tag = stream.codecTag;
  context->sample_rate = stream.sampleRate;
  if (stream.channelMask != 0 && std::popcount(stream.channelMask) == stream.channels) {
    av_channel_layout_from_mask(&context->ch_layout, stream.channelMask);
  } else if (stream.channels > 0) {
    av_channel_layout_default(&context->ch_layout, stream.channels);
  }
  context->block_align = stream.blockAlign;
  context->bit_rate = stream.bitRate;
  context->bits_per_coded_sample = stream.bitsPerSample;
  context->pkt_timebase = kReferenceTimeBase;
  if (avcodec_open2(context, codec, nullptr) < 0) return false;
  // Until the first frame says otherwise: what the stream announces.
  const InputShape announced{-1, context->sample_rate, context->ch_layout.nb_channels,
                             LayoutMask(context->ch_layout), SourceBits()};
  format = OutputFor(announced);
  return true;
}

// Significant bits of the source: what the decoder reports (FLAC, PCM,
// lossless), else the PCM codec's own width; 0 for lossy codecs.
int AudioDecoder::Impl::SourceBits() const {
  if (context->bits_per_raw_sample > 0) return context->bits_per_raw_sample;
  return av_get_bits_per_sample(context->codec_id);
}

PcmFormat AudioDecoder::Impl::OutputFor(const InputShape& input) const {
  PcmFormat out;
  out.sampleRate = input.rate;
  out.channelMask = WaveChannelMask(input.mask, input.channels);
  out.channels = std::popcount(out.channelMask);
  out.bitsPerSample = OutputBits(input.bits);
  return out;
}

bool AudioDecoder::Impl::Reconfigure(const InputShape& input) {
  const PcmFormat output = OutputFor(input);
  AVChannelLayout inLayout{};
  if (input.mask != 0) {
    av_channel_layout_from_mask(&inLayout, input.mask);
  } else {
    av_channel_layout_default(&inLayout, input.channels);
  }
  AVChannelLayout outLayout{};
  av_channel_layout_from_mask(&outLayout, output.channelMask);
  swr_free(&resampler);
  const int rc =
      swr_alloc_set_opts2(&resampler, &outLayout, SampleFormatFor(output.bitsPerSample), output.sampleRate,
                          &inLayout, static_cast<AVSampleFormat>(input.format), input.rate, 0, nullptr);
  av_channel_layout_uninit(&inLayout);
  av_channel_layout_uninit(&outLayout);
  if (rc < 0 || swr_init(resampler) < 0) {
    swr_free(&resampler);
    return false;
  }
  shape = input;
  if (!(output == format)) formatChanged = true;
  format = output;
  return true;
}

// The current frame as interleaved PCM in `buffer`; the frame count, or -1.
int AudioDecoder::Impl::Convert() {
  const InputShape input{frame->format, frame->sample_rate, frame->ch_layout.nb_channels,
                         LayoutMask(frame->ch_layout), SourceBits()};
  if (input.rate <= 0 || input.channels <= 0) return -1;
  if (resampler == nullptr || !(input == shape)) {
    if (!Reconfigure(input)) return -1;
  }
  const int capacity = swr_get_out_samples(resampler, frame->nb_samples);
  if (capacity < 0) return -1;
  buffer.resize(static_cast<std::size_t>(capacity) * static_cast<std::size_t>(format.BlockAlign()));
  std::uint8_t* out = buffer.data();
  return swr_convert(resampler, &out, capacity, const_cast<const std::uint8_t**>(frame->extended_data),
                     frame->nb_samples);
}

void AudioDecoder::Impl::SendPacket() {
  const int rc = avcodec_send_packet(context, packet);
  if (rc == AVERROR(EAGAIN)) {
    pending = true;
    return;
  }
  pending = false;
  if (rc < 0 && rc != AVERROR_EOF) ++errors;
  av_packet_unref(packet);
}

AudioDecoder::AudioDecoder(const StreamFormat& format) : impl_(std::make_unique<Impl>()) {
  if (!impl_->Open(format)) avcodec_free_context(&impl_->context);
}

AudioDecoder::~AudioDecoder() = default;

bool AudioDecoder::IsOpen() const { return impl_->context != nullptr; }

PcmFormat AudioDecoder::Format() const { return impl_->format; }

void AudioDecoder::Send(const MediaPacket& packet) {
  Impl& d = *impl_;
  if (d.context == nullptr || packet.data.empty()) return;
  if (d.pending) d.SendPacket();
  if (d.pending) return;
  if (av_new_packet(d.packet, static_cast<int>(packet.data.size())) < 0) {
    ++d.errors;
    return;
  }
  std::memcpy(d.packet->data, packet.data.data(), packet.data.size());
  d.packet->pts = packet.start;
  if (packet.start != kNoTime && packet.stop != kNoTime) d.packet->duration = packet.stop - packet.start;
  d.SendPacket();
}

void AudioDecoder::Drain() {
  Impl& d = *impl_;
  if (d.context == nullptr) return;
  if (d.pending) {
    d.drain = true;
  } else {
    avcodec_send_packet(d.context, nullptr);
  }
}

bool AudioDecoder::NextBlock(AudioBlock& block) {
  Impl& d = *impl_;
  if (d.context == nullptr) return false;
  for (;;) {
    const int rc = avcodec_receive_frame(d.context, d.frame);
    if (rc == AVERROR(EAGAIN) && d.pending) {
      d.SendPacket();
      if (!d.pending) continue;
    }
    if (rc == AVERROR(EAGAIN) && d.drain) {
      d.drain = false;
      avcodec_send_packet(d.context, nullptr);
      continue;
    }
    if (rc < 0) {
      if (rc != AVERROR(EAGAIN) && rc != AVERROR_EOF) ++d.errors;
      return false;
    }
    const std::int64_t stamp = d.frame->best_effort_timestamp;
    const int frames = d.Convert();
    av_frame_unref(d.frame);
    if (frames <= 0) {
      if (frames < 0) ++d.errors;
      continue;
    }
    const int rate = d.format.sampleRate;
    std::int64_t start = stamp != AV_NOPTS_VALUE ? stamp : d.nextStart;
    if (d.nextStart != kNoTime && (start == kNoTime || std::llabs(start - d.nextStart) < kJitter)) {
      start = d.nextStart;
    }
    if (start == kNoTime) start = 0;
    std::size_t first = 0;  // frames cut from the front
    if (d.skipUntil != kNoTime) {
      const std::int64_t stop = start + RescaleRounded(frames, kUnitsPerSecond, rate);
      if (stop <= d.skipUntil) {
        d.nextStart = stop;
        continue;
      }
      if (start < d.skipUntil) {
        first = static_cast<std::size_t>(RescaleRounded(d.skipUntil - start, rate, kUnitsPerSecond));
        if (first >= static_cast<std::size_t>(frames)) continue;
        start += RescaleRounded(static_cast<std::int64_t>(first), kUnitsPerSecond, rate);
      }
      d.skipUntil = kNoTime;
    }
    const std::size_t blockAlign = static_cast<std::size_t>(d.format.BlockAlign());
    block.frames = frames - static_cast<int>(first);
    block.data = d.buffer.data() + first * blockAlign;
    block.size = static_cast<std::size_t>(block.frames) * blockAlign;
    block.start = start;
    block.stop = start + RescaleRounded(block.frames, kUnitsPerSecond, rate);
    block.discontinuity = d.discontinuity;
    block.formatChanged = d.formatChanged;
    d.discontinuity = false;
    d.formatChanged = false;
    d.nextStart = block.stop;
    return true;
  }
}

void AudioDecoder::Flush() {
  Impl& d = *impl_;
  if (d.context == nullptr) return;
  avcodec_flush_buffers(d.context);
  av_packet_unref(d.packet);
  if (d.resampler != nullptr) swr_init(d.resampler);  // drops samples it holds
  d.pending = false;
  d.drain = false;
  d.discontinuity = true;
  d.nextStart = kNoTime;
  d.skipUntil = kNoTime;
}

void AudioDecoder::SkipUntil(std::int64_t time) { impl_->skipUntil = time; }

int AudioDecoder::Errors() const { return impl_->errors; }

bool AudioDecoder::Supports(int codecId) {
  const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(codecId));
  return codec != nullptr && codec->type == AVMEDIA_TYPE_AUDIO;
}

}  // namespace orves::codecs
