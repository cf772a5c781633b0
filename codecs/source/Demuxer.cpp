#include "codecs/source/Demuxer.h"

#include <algorithm>
#include <cstring>
#include <deque>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

namespace orves::codecs {

static_assert(kNoTime == AV_NOPTS_VALUE);

namespace {

constexpr int kIoBufferSize = 64 * 1024;
// av_read_frame fails this many times in a row without reaching the end:
// the rest of the file is unreadable, and reading ends there.
constexpr int kMaxReadFailures = 64;
// Seeking files without a key-frame index (program and transport streams)
// lands on a time, not on a key frame: the first key frame after the landing
// may lie past the target. The seek then goes this much earlier, doubling
// each time, at most kMaxSeekTries times; a key frame is looked for in the
// next kMaxKeyFrameSearch packets.
constexpr std::int64_t kSeekBackStep = kUnitsPerSecond;
constexpr int kMaxSeekTries = 6;
constexpr int kMaxKeyFrameSearch = 20000;

Rational ToRational(AVRational r) { return {r.num, r.den}; }

std::string Tag(const AVDictionary* tags, const char* key) {
  const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
  return entry != nullptr && entry->value != nullptr ? entry->value : "";
}

StreamKind KindOf(AVMediaType type) {
  switch (type) {
    case AVMEDIA_TYPE_VIDEO:
      return StreamKind::Video;
    case AVMEDIA_TYPE_AUDIO:
      return StreamKind::Audio;
    case AVMEDIA_TYPE_SUBTITLE:
      return StreamKind::Subtitle;
    default:
      return StreamKind::Other;
  }
}

StreamFormat FormatOf(AVFormatContext* context, AVStream* stream) {
  const AVCodecParameters* par = stream->codecpar;
  StreamFormat format;
  format.kind = KindOf(par->codec_type);
  format.codecId = par->codec_id;
  format.codecTag = par->codec_tag;
  if (par->extradata != nullptr && par->extradata_size > 0) {
    format.extradata.assign(par->extradata, par->extradata + par->extradata_size);
  }
  format.bitRate = par->bit_rate;
  if (format.kind == StreamKind::Video) {
    format.width = par->width;
    format.height = par->height;
    const AVRational sar = av_guess_sample_aspect_ratio(context, stream, nullptr);
    if (sar.num > 0 && sar.den > 0) format.sampleAspect = ToRational(sar);
    const AVRational rate = av_guess_frame_rate(context, stream, nullptr);
    if (rate.num > 0 && rate.den > 0) format.frameRate = ToRational(rate);
    const AVPixFmtDescriptor* pixels = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(par->format));
    if (pixels != nullptr) {
      format.bitDepth = pixels->comp[0].depth;
    } else if (par->bits_per_raw_sample > 8) {
      format.bitDepth = par->bits_per_raw_sample;
    }
  } else if (format.kind == StreamKind::Audio) {
    format.sampleRate = par->sample_rate;
    format.channels = par->ch_layout.nb_channels;
    if (par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE) format.channelMask = par->ch_layout.u.mask;
    format.bitsPerSample =
        par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample : par->bits_per_coded_sample;
    format.blockAlign = par->block_align;
  }
  return format;
}

int ReadBytes(void* opaque, std::uint8_t* buffer, int size) {
  const std::int64_t read = static_cast<ByteSource*>(opaque)->Read(buffer, static_cast<std::size_t>(size));
  if (read < 0) return AVERROR(EIO);
  if (read == 0) return AVERROR_EOF;
  return static_cast<int>(read);
}

std::int64_t SeekBytes(void* opaque, std::int64_t offset, int whence) {
  auto* source = static_cast<ByteSource*>(opaque);
  if (whence & AVSEEK_SIZE) {
    const std::int64_t size = source->Size();
    return size >= 0 ? size : AVERROR(ENOSYS);
  }
  std::int64_t position = offset;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
      break;
    case SEEK_CUR:
      position += source->Position();
      break;
    case SEEK_END:
      if (source->Size() < 0) return AVERROR(ENOSYS);
      position += source->Size();
      break;
    default:
      return AVERROR(EINVAL);
  }
  return source->Seek(position) ? position : AVERROR(EIO);
}

int Interrupted(void* opaque) {
  const auto* cancel = static_cast<const std::atomic<bool>*>(opaque);
  return cancel != nullptr && cancel->load() ? 1 : 0;
}

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof(text));
  return text;
}

}  // namespace

struct Demuxer::Impl {
  std::unique_ptr<ByteSource> source;
  AVIOContext* io = nullptr;
  AVFormatContext* context = nullptr;
  AVPacket* packet = nullptr;
  const std::atomic<bool>* cancel = nullptr;
  std::vector<StreamInfo> streams;
  // The container's start time: the REFERENCE_TIME every time is counted from.
  std::int64_t origin = 0;
  // Packets a seek read while looking for its key frame, handed out first.
  std::deque<MediaPacket> buffered;

  ~Impl() {
    av_packet_free(&packet);
    avformat_close_input(&context);
    if (io != nullptr) {
      av_freep(&io->buffer);
      avio_context_free(&io);
    }
  }

  bool Cancelled() const { return cancel != nullptr && cancel->load(); }
  void Fill(MediaPacket& out) const;
  ReadStatus ReadFromFile(MediaPacket& out);
  bool SeekFile(int stream, std::int64_t time);
  bool FindKeyFrame(int stream, std::int64_t time);
  bool SeekToFirstByte();
};

void Demuxer::Impl::Fill(MediaPacket& out) const {
  const AVStream* stream = context->streams[packet->stream_index];
  const Rational timeBase = ToRational(stream->time_base);
  std::int64_t pts = packet->pts;
  // Audio and text are never reordered: their decode time is their time.
  if (pts == AV_NOPTS_VALUE && stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) pts = packet->dts;
  out.stream = packet->stream_index;
  out.data.assign(packet->data, packet->data + packet->size);
  out.start = ToReferenceTime(pts, timeBase, origin);
  out.stop = pts != AV_NOPTS_VALUE && packet->duration > 0
                 ? ToReferenceTime(pts + packet->duration, timeBase, origin)
                 : kNoTime;
  out.syncPoint = (packet->flags & AV_PKT_FLAG_KEY) != 0;
  out.discontinuity = false;
}

Demuxer::Demuxer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Demuxer::~Demuxer() = default;

std::unique_ptr<Demuxer> Demuxer::Open(std::unique_ptr<ByteSource> source, const std::string& nameHint,
                                       std::string* error, const std::atomic<bool>* cancel) {
  auto fail = [error](std::string text) -> std::unique_ptr<Demuxer> {
    if (error != nullptr) *error = std::move(text);
    return nullptr;
  };
  if (source == nullptr) return fail("cannot open the file");
  auto impl = std::make_unique<Impl>();
  impl->source = std::move(source);
  impl->cancel = cancel;
  auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferSize));
  if (buffer == nullptr) return fail("out of memory");
  impl->io = avio_alloc_context(buffer, kIoBufferSize, 0, impl->source.get(), ReadBytes, nullptr, SeekBytes);
  if (impl->io == nullptr) {
    av_free(buffer);
    return fail("out of memory");
  }
  impl->context = avformat_alloc_context();
  impl->packet = av_packet_alloc();
  if (impl->context == nullptr || impl->packet == nullptr) return fail("out of memory");
  impl->context->pb = impl->io;
  // Program streams time only some pictures; libavformat derives the others'
  // times from their decode times, so every sample leaves with its own.
  impl->context->flags |= AVFMT_FLAG_GENPTS;
  impl->context->interrupt_callback = {Interrupted, const_cast<std::atomic<bool>*>(cancel)};
  // On failure avformat_open_input frees the context and clears the pointer.
  if (const int rc = avformat_open_input(&impl->context, nameHint.c_str(), nullptr, nullptr); rc < 0) {
    return fail("not a known container: " + ErrorText(rc));
  }
  avformat_find_stream_info(impl->context, nullptr);
  if (impl->context->nb_streams == 0) return fail("no stream in the file");

  AVFormatContext* context = impl->context;
  if (context->start_time != AV_NOPTS_VALUE) impl->origin = context->start_time * 10;
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    AVStream* stream = context->streams[i];
    StreamInfo info;
    info.index = static_cast<int>(i);
    info.format = FormatOf(context, stream);
    info.language = Tag(stream->metadata, "language");
    info.title = Tag(stream->metadata, "title");
    info.isDefault = (stream->disposition & AV_DISPOSITION_DEFAULT) != 0;
    if (stream->duration != AV_NOPTS_VALUE) {
      info.duration = ToReferenceTime(stream->duration, ToRational(stream->time_base));
    } else if (context->duration != AV_NOPTS_VALUE) {
      info.duration = context->duration * 10;
    }
    impl->streams.push_back(std::move(info));
  }
  return std::unique_ptr<Demuxer>(new Demuxer(std::move(impl)));
}

std::unique_ptr<Demuxer> Demuxer::OpenFile(const std::filesystem::path& file, std::string* error,
                                           const std::atomic<bool>* cancel) {
  const std::u8string name = file.filename().u8string();
  return Open(OpenFileSource(file), std::string(name.begin(), name.end()), error, cancel);
}

const std::vector<StreamInfo>& Demuxer::Streams() const { return impl_->streams; }

std::int64_t Demuxer::Duration() const {
  const std::int64_t duration = impl_->context->duration;
  return duration != AV_NOPTS_VALUE && duration >= 0 ? duration * 10 : kNoTime;
}

std::string Demuxer::ContainerName() const { return impl_->context->iformat->name; }

ReadStatus Demuxer::Impl::ReadFromFile(MediaPacket& out) {
  for (int failures = 0; failures < kMaxReadFailures && !Cancelled();) {
    const int rc = av_read_frame(context, packet);
    if (rc >= 0) {
      const bool known = static_cast<std::size_t>(packet->stream_index) < streams.size();
      if (known) Fill(out);
      av_packet_unref(packet);
      if (known) return ReadStatus::Packet;
      continue;
    }
    if (rc == AVERROR_EOF || avio_feof(context->pb)) break;
    ++failures;
  }
  return ReadStatus::End;
}

ReadStatus Demuxer::Read(MediaPacket& packet) {
  if (!impl_->buffered.empty()) {
    packet = std::move(impl_->buffered.front());
    impl_->buffered.pop_front();
    return ReadStatus::Packet;
  }
  return impl_->ReadFromFile(packet);
}

// To the key frame of `stream` at or before `time` as the file's index (or
// its time search) knows it; times round down, so a key frame a fraction
// after the target never qualifies.
bool Demuxer::Impl::SeekFile(int stream, std::int64_t time) {
  const Rational base = ToRational(context->streams[stream]->time_base);
  const std::int64_t target = FromReferenceTime(std::max<std::int64_t>(time, 0), base, origin, true);
  if (avformat_seek_file(context, stream, INT64_MIN, target, target, 0) >= 0) return true;
  return av_seek_frame(context, stream, target, AVSEEK_FLAG_BACKWARD) >= 0;
}

// Reads on to the first key frame of `stream`, keeping what it reads; true
// when that key frame starts at or before `time` (one without a time, or
// none within the search, is taken as it is).
bool Demuxer::Impl::FindKeyFrame(int stream, std::int64_t time) {
  buffered.clear();
  MediaPacket out;
  for (int i = 0; i < kMaxKeyFrameSearch; ++i) {
    if (ReadFromFile(out) != ReadStatus::Packet) return false;
    const bool found = out.stream == stream && out.syncPoint;
    const std::int64_t start = out.start;
    buffered.push_back(std::move(out));
    if (found) return start == kNoTime || start <= time;
  }
  return true;
}

// Program and transport streams are packets from the first byte on: reading
// there finds their first key frame, which a time search may step over.
bool Demuxer::Impl::SeekToFirstByte() {
  const std::string name = context->iformat->name;
  if (name != "mpegts" && name != "mpeg") return false;
  return av_seek_frame(context, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
}

bool Demuxer::Seek(std::int64_t time) {
  Impl& d = *impl_;
  const int stream = av_find_default_stream_index(d.context);
  std::int64_t back = 0;
  for (int attempt = 0; attempt < kMaxSeekTries; ++attempt) {
    if (!d.SeekFile(stream, time - back)) {
      if (attempt > 0) break;
      d.buffered.clear();
      // Files without an index: back to the first byte when the target is the start.
      return time <= 0 && av_seek_frame(d.context, -1, 0, AVSEEK_FLAG_BYTE) >= 0;
    }
    if (d.FindKeyFrame(stream, time)) return true;
    if (time - back <= 0) {
      if (d.SeekToFirstByte()) d.FindKeyFrame(stream, time);
      return true;
    }
    back = back == 0 ? kSeekBackStep : back * 2;
  }
  // No earlier key frame found: start from the beginning.
  d.buffered.clear();
  return d.SeekFile(stream, 0);
}

void Demuxer::SetDiscard(int stream, bool discard) {
  if (stream < 0 || static_cast<unsigned>(stream) >= impl_->context->nb_streams) return;
  impl_->context->streams[stream]->discard = discard ? AVDISCARD_ALL : AVDISCARD_DEFAULT;
}

}  // namespace orves::codecs
