#include "codecs/common/StreamMediaType.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

#include "codecs/common/Aspect.h"
#include "codecs/common/AvcConfig.h"
#include "codecs/common/CodecGuids.h"
#include "codecs/common/CodecTable.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace orves::codecs {

namespace {

constexpr DWORD kFourccAvc1 = Fourcc("AVC1");

// A type whose format block is `block` followed by `tail`.
template <typename Block>
ds::MediaType TypeWith(const GUID& major, const GUID& subtype, const GUID& formatType, const Block& block,
                       const std::vector<std::uint8_t>& tail = {}) {
  AM_MEDIA_TYPE type{};
  type.majortype = major;
  type.subtype = subtype;
  type.formattype = formatType;
  std::vector<BYTE> format(sizeof(Block) + tail.size());
  std::memcpy(format.data(), &block, sizeof(Block));
  if (!tail.empty()) std::memcpy(format.data() + sizeof(Block), tail.data(), tail.size());
  type.cbFormat = static_cast<ULONG>(format.size());
  type.pbFormat = format.data();
  ds::MediaType owned;
  owned.Set(type);  // copies the block into task memory
  return owned;
}

REFERENCE_TIME FrameDuration(Rational rate) {
  return rate.Valid() ? RescaleRounded(kUnitsPerSecond, rate.den, rate.num) : 0;
}

Rational RateFromDuration(REFERENCE_TIME duration) {
  if (duration <= 0 || duration > kUnitsPerSecond * 3600) return {};
  const std::int64_t divisor = std::gcd(kUnitsPerSecond, static_cast<std::int64_t>(duration));
  return {static_cast<int>(kUnitsPerSecond / divisor), static_cast<int>(duration / divisor)};
}

void FillVideoInfo2(const StreamFormat& format, DWORD compression, VIDEOINFOHEADER2& info) {
  info.rcSource = {0, 0, format.width, format.height};
  info.rcTarget = info.rcSource;
  info.dwBitRate = static_cast<DWORD>(std::clamp<std::int64_t>(format.bitRate, 0, 0xFFFFFFFF));
  info.AvgTimePerFrame = FrameDuration(format.frameRate);
  const Rational aspect = PictureAspect(format.width, format.height, format.sampleAspect);
  info.dwPictAspectRatioX = static_cast<DWORD>(aspect.num);
  info.dwPictAspectRatioY = static_cast<DWORD>(aspect.den);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = format.width;
  info.bmiHeader.biHeight = format.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = compression;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(format.width) * static_cast<DWORD>(format.height) * 3;
}

// The wave format tag of a stream: the subtype's own, else one listed for
// its codec, else the container's.
WORD WaveTag(const StreamFormat& format, const Guid& subtype) {
  if (IsFourccGuid(subtype) && subtype.data1 <= 0xFFFF) return static_cast<WORD>(subtype.data1);
  if (const CodecEntry* entry = FindCodec(format.codecId)) {
    for (const Subtype& listed : entry->subtypes) {
      if (IsFourccGuid(listed.guid) && listed.guid.data1 <= 0xFFFF)
        return static_cast<WORD>(listed.guid.data1);
    }
  }
  return format.codecTag <= 0xFFFF ? static_cast<WORD>(format.codecTag) : 0;
}

bool IsPcmTag(const Guid& subtype) { return subtype == FourccGuid(1) || subtype == FourccGuid(3); }

ds::MediaType AudioType(const StreamFormat& format, const Guid& subtype) {
  const GUID guid = ToGuid(subtype);
  if (IsPcmTag(subtype)) {
    // PCM straight from the file: a type renderers take as it is.
    const int bits = format.bitsPerSample > 0 ? format.bitsPerSample : 16;
    const WORD blockAlign = static_cast<WORD>(format.channels * ((bits + 7) / 8));
    WAVEFORMATEXTENSIBLE wave{};
    wave.Format.wFormatTag = static_cast<WORD>(subtype.data1);
    wave.Format.nChannels = static_cast<WORD>(format.channels);
    wave.Format.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
    wave.Format.nBlockAlign = blockAlign;
    wave.Format.nAvgBytesPerSec = static_cast<DWORD>(format.sampleRate) * blockAlign;
    wave.Format.wBitsPerSample = static_cast<WORD>((bits + 7) / 8 * 8);
    if (format.channels <= 2 && bits <= 16)
      return TypeWith(MEDIATYPE_Audio, guid, FORMAT_WaveFormatEx, wave.Format);
    wave.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    wave.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    wave.Samples.wValidBitsPerSample = static_cast<WORD>(bits);
    wave.dwChannelMask = WaveChannelMask(format.channelMask, format.channels);
    wave.SubFormat = guid;
    return TypeWith(MEDIATYPE_Audio, guid, FORMAT_WaveFormatEx, wave);
  }
  WAVEFORMATEX wave{};
  wave.wFormatTag = WaveTag(format, subtype);
  wave.nChannels = static_cast<WORD>(format.channels);
  wave.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
  wave.nAvgBytesPerSec = static_cast<DWORD>(std::clamp<std::int64_t>(format.bitRate / 8, 0, 0xFFFFFFFF));
  wave.nBlockAlign = static_cast<WORD>(std::clamp(format.blockAlign, 1, 0xFFFF));
  wave.wBitsPerSample = static_cast<WORD>(format.bitsPerSample);
  wave.cbSize = static_cast<WORD>(std::min<std::size_t>(format.extradata.size(), 0xFFFF));
  std::vector<std::uint8_t> extradata(format.extradata.begin(), format.extradata.begin() + wave.cbSize);
  return TypeWith(MEDIATYPE_Audio, guid, FORMAT_WaveFormatEx, wave, extradata);
}

ds::MediaType VideoType(const StreamFormat& format, const Subtype& subtype) {
  const GUID guid = ToGuid(subtype.guid);
  const DWORD compression = IsFourccGuid(subtype.guid) ? subtype.guid.data1 : 0;
  switch (subtype.block) {
    case FormatBlock::Mpeg2Video: {
      Mpeg2VideoInfo info{};
      FillVideoInfo2(format, compression, info.hdr);
      std::vector<std::uint8_t> sequence = format.extradata;
      if (compression == kFourccAvc1) {
        const std::optional<AvcSequenceHeader> header = SequenceHeaderFromAvcC(format.extradata);
        if (header) {
          sequence = header->parameterSets;
          info.dwProfile = static_cast<DWORD>(header->profile);
          info.dwLevel = static_cast<DWORD>(header->level);
          info.dwFlags = static_cast<DWORD>(header->nalLengthSize);
        }
      }
      info.cbSequenceHeader = static_cast<DWORD>(sequence.size());
      return TypeWith(MEDIATYPE_Video, guid, kFormatMpeg2Video, info, sequence);
    }
    case FormatBlock::Mpeg1Video: {
      Mpeg1VideoInfo info{};
      VIDEOINFOHEADER2 wide{};
      FillVideoInfo2(format, compression, wide);
      info.hdr.rcSource = wide.rcSource;
      info.hdr.rcTarget = wide.rcTarget;
      info.hdr.dwBitRate = wide.dwBitRate;
      info.hdr.AvgTimePerFrame = wide.AvgTimePerFrame;
      info.hdr.bmiHeader = wide.bmiHeader;
      info.cbSequenceHeader = static_cast<DWORD>(format.extradata.size());
      return TypeWith(MEDIATYPE_Video, guid, kFormatMpeg1Video, info, format.extradata);
    }
    default: {
      VIDEOINFOHEADER2 info{};
      FillVideoInfo2(format, compression, info);
      return TypeWith(MEDIATYPE_Video, guid, FORMAT_VideoInfo2, info, format.extradata);
    }
  }
}

// Reads a `Block` at the start of the format block; false when it is shorter.
template <typename Block>
bool ReadBlock(const AM_MEDIA_TYPE& type, Block& block) {
  if (type.pbFormat == nullptr || type.cbFormat < sizeof(Block)) return false;
  std::memcpy(&block, type.pbFormat, sizeof(Block));
  return true;
}

// `length` bytes at `offset` of the format block, clamped to its end.
std::vector<std::uint8_t> Tail(const AM_MEDIA_TYPE& type, std::size_t offset, std::size_t length) {
  if (type.pbFormat == nullptr || offset >= type.cbFormat) return {};
  length = std::min<std::size_t>(length, type.cbFormat - offset);
  return {type.pbFormat + offset, type.pbFormat + offset + length};
}

void ReadPicture(const BITMAPINFOHEADER& bitmap, REFERENCE_TIME frameDuration, StreamFormat& format) {
  format.width = bitmap.biWidth;
  format.height = std::abs(bitmap.biHeight);
  format.codecTag = bitmap.biCompression;
  format.frameRate = RateFromDuration(frameDuration);
}

// The sample aspect ratio from a picture aspect ratio: SAR = picture aspect /
// stored aspect. Nothing for an unset or unrepresentable ratio.
void ReadPictureAspect(const VIDEOINFOHEADER2& info, StreamFormat& format) {
  if (info.dwPictAspectRatioX == 0 || info.dwPictAspectRatioY == 0 || format.width <= 0 ||
      format.height <= 0) {
    return;
  }
  const std::int64_t num = std::int64_t{info.dwPictAspectRatioX} * format.height;
  const std::int64_t den = std::int64_t{info.dwPictAspectRatioY} * format.width;
  const std::int64_t divisor = std::gcd(num, den);
  if (num / divisor <= 0x7FFFFFFF && den / divisor <= 0x7FFFFFFF) {
    format.sampleAspect = {static_cast<int>(num / divisor), static_cast<int>(den / divisor)};
  }
}

bool ReadVideo(const AM_MEDIA_TYPE& type, StreamFormat& format) {
  if (ds::guids::Same(type.formattype, FORMAT_VideoInfo)) {
    VIDEOINFOHEADER info{};
    if (!ReadBlock(type, info)) return false;
    ReadPicture(info.bmiHeader, info.AvgTimePerFrame, format);
    format.extradata = Tail(type, sizeof(info), type.cbFormat);
    return true;
  }
  if (ds::guids::Same(type.formattype, FORMAT_VideoInfo2)) {
    VIDEOINFOHEADER2 info{};
    if (!ReadBlock(type, info)) return false;
    ReadPicture(info.bmiHeader, info.AvgTimePerFrame, format);
    ReadPictureAspect(info, format);
    format.extradata = Tail(type, sizeof(info), type.cbFormat);
    return true;
  }
  if (ds::guids::Same(type.formattype, kFormatMpeg2Video)) {
    Mpeg2VideoInfo info{};
    if (!ReadBlock(type, info)) return false;
    ReadPicture(info.hdr.bmiHeader, info.hdr.AvgTimePerFrame, format);
    ReadPictureAspect(info.hdr, format);
    if (info.cbSequenceHeader > type.cbFormat - sizeof(info)) return false;
    std::vector<std::uint8_t> sequence = Tail(type, sizeof(info), info.cbSequenceHeader);
    if (info.dwFlags >= 1 && info.dwFlags <= 4 && format.codecId == AV_CODEC_ID_H264) {
      sequence = AvcCFromSequenceHeader({static_cast<int>(info.dwFlags), static_cast<int>(info.dwProfile),
                                         static_cast<int>(info.dwLevel), std::move(sequence)});
      if (sequence.empty()) return false;
    }
    format.extradata = std::move(sequence);
    return true;
  }
  if (ds::guids::Same(type.formattype, kFormatMpeg1Video)) {
    Mpeg1VideoInfo info{};
    if (!ReadBlock(type, info)) return false;
    ReadPicture(info.hdr.bmiHeader, info.hdr.AvgTimePerFrame, format);
    if (info.cbSequenceHeader > type.cbFormat - sizeof(info)) return false;
    format.extradata = Tail(type, sizeof(info), info.cbSequenceHeader);
    return true;
  }
  return false;
}

bool ReadAudio(const AM_MEDIA_TYPE& type, StreamFormat& format, Guid& subtype) {
  if (!ds::guids::Same(type.formattype, FORMAT_WaveFormatEx)) return false;
  // A plain PCMWAVEFORMAT has no cbSize.
  constexpr std::size_t kPcmWaveFormat = 16;
  if (type.pbFormat == nullptr || type.cbFormat < kPcmWaveFormat) return false;
  WAVEFORMATEX wave{};
  std::memcpy(&wave, type.pbFormat, std::min<std::size_t>(type.cbFormat, sizeof(wave)));
  if (type.cbFormat < sizeof(wave)) wave.cbSize = 0;
  format.codecTag = wave.wFormatTag;
  format.channels = wave.nChannels;
  format.sampleRate = static_cast<int>(wave.nSamplesPerSec);
  format.bitsPerSample = wave.wBitsPerSample;
  format.blockAlign = wave.nBlockAlign;
  format.bitRate = std::int64_t{wave.nAvgBytesPerSec} * 8;
  WAVEFORMATEXTENSIBLE extensible{};
  if (wave.wFormatTag == WAVE_FORMAT_EXTENSIBLE && wave.cbSize >= 22 && ReadBlock(type, extensible)) {
    format.channelMask = extensible.dwChannelMask;
    subtype = FromGuid(extensible.SubFormat);
    if (extensible.Samples.wValidBitsPerSample > 0)
      format.bitsPerSample = extensible.Samples.wValidBitsPerSample;
    format.extradata = Tail(type, sizeof(extensible), wave.cbSize - 22u);
  } else {
    format.extradata = Tail(type, sizeof(wave), wave.cbSize);
  }
  return true;
}

}  // namespace

bool MediaTypeFor(const StreamFormat& format, ds::MediaType& type) {
  const Subtype subtype = SubtypeFor(format);
  if (subtype.block == FormatBlock::None) return false;
  type = format.kind == StreamKind::Video ? VideoType(format, subtype) : AudioType(format, subtype.guid);
  return true;
}

std::optional<StreamFormat> FormatFromMediaType(const AM_MEDIA_TYPE& type) {
  StreamFormat format;
  Guid subtype = FromGuid(type.subtype);
  if (ds::guids::Same(type.majortype, MEDIATYPE_Video)) {
    format.kind = StreamKind::Video;
    format.codecId = CodecIdForSubtype(subtype, 0);
    if (!ReadVideo(type, format)) return std::nullopt;
  } else if (ds::guids::Same(type.majortype, MEDIATYPE_Audio)) {
    format.kind = StreamKind::Audio;
    if (!ReadAudio(type, format, subtype)) return std::nullopt;
    format.codecId = CodecIdForSubtype(subtype, format.bitsPerSample);
  } else {
    return std::nullopt;
  }
  const CodecEntry* entry = FindCodec(format.codecId);
  if (entry == nullptr || entry->kind != format.kind) return std::nullopt;
  return format;
}

ds::MediaType PcmMediaType(const PcmFormat& pcm) {
  WAVEFORMATEXTENSIBLE wave{};
  wave.Format.wFormatTag = pcm.Extensible() ? WAVE_FORMAT_EXTENSIBLE : WAVE_FORMAT_PCM;
  wave.Format.nChannels = static_cast<WORD>(pcm.channels);
  wave.Format.nSamplesPerSec = static_cast<DWORD>(pcm.sampleRate);
  wave.Format.nBlockAlign = static_cast<WORD>(pcm.BlockAlign());
  wave.Format.nAvgBytesPerSec = static_cast<DWORD>(pcm.sampleRate * pcm.BlockAlign());
  wave.Format.wBitsPerSample = static_cast<WORD>(pcm.bitsPerSample);
  ds::MediaType type;
  if (pcm.Extensible()) {
    wave.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    wave.Samples.wValidBitsPerSample = static_cast<WORD>(pcm.bitsPerSample);
    wave.dwChannelMask = pcm.channelMask;
    wave.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
    type = TypeWith(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, wave);
  } else {
    type = TypeWith(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, wave.Format);
  }
  AM_MEDIA_TYPE& raw = type.Get();
  raw.bFixedSizeSamples = TRUE;
  raw.lSampleSize = static_cast<ULONG>(pcm.BlockAlign());
  return type;
}

ds::MediaType PictureMediaType(const PictureType& picture) {
  const GUID subtype = picture.output == VideoOutput::RGB32
                           ? MEDIASUBTYPE_RGB32
                           : ToGuid(FourccGuid(OutputFourcc(picture.output)));
  VIDEOINFOHEADER2 info{};
  info.rcSource = {0, 0, picture.width, picture.height};
  info.rcTarget = info.rcSource;
  info.AvgTimePerFrame = picture.frameDuration;
  const Rational aspect =
      picture.aspect.Valid() ? picture.aspect : PictureAspect(picture.width, picture.height, {});
  info.dwPictAspectRatioX = static_cast<DWORD>(aspect.num);
  info.dwPictAspectRatioY = static_cast<DWORD>(aspect.den);
  BITMAPINFOHEADER& bitmap = info.bmiHeader;
  bitmap.biSize = sizeof(BITMAPINFOHEADER);
  bitmap.biWidth = picture.width;
  bitmap.biHeight = picture.height;  // RGB bottom-up, YUV top-down, as each is by convention
  bitmap.biPlanes = 1;
  bitmap.biBitCount = static_cast<WORD>(OutputBitCount(picture.output));
  bitmap.biCompression = OutputFourcc(picture.output);
  bitmap.biSizeImage = static_cast<DWORD>(
      LayoutFor(picture.output, picture.height, MinimumStride(picture.output, picture.width)).size);
  info.dwBitRate = 0;
  ds::MediaType type;
  if (picture.info2) {
    type = TypeWith(MEDIATYPE_Video, subtype, FORMAT_VideoInfo2, info);
  } else {
    VIDEOINFOHEADER plain{};
    plain.rcSource = info.rcSource;
    plain.rcTarget = info.rcTarget;
    plain.AvgTimePerFrame = info.AvgTimePerFrame;
    plain.bmiHeader = info.bmiHeader;
    type = TypeWith(MEDIATYPE_Video, subtype, FORMAT_VideoInfo, plain);
  }
  AM_MEDIA_TYPE& raw = type.Get();
  raw.bFixedSizeSamples = TRUE;
  raw.lSampleSize = bitmap.biSizeImage;
  return type;
}

std::optional<PictureLayout> PictureLayoutOf(const AM_MEDIA_TYPE& type) {
  if (!ds::guids::Same(type.majortype, MEDIATYPE_Video)) return std::nullopt;
  PictureLayout layout;
  bool known = false;
  for (VideoOutput output : kVideoOutputOrder) {
    const GUID subtype =
        output == VideoOutput::RGB32 ? MEDIASUBTYPE_RGB32 : ToGuid(FourccGuid(OutputFourcc(output)));
    if (ds::guids::Same(type.subtype, subtype)) {
      layout.output = output;
      known = true;
    }
  }
  if (!known) return std::nullopt;
  BITMAPINFOHEADER bitmap{};
  RECT source{};
  if (ds::guids::Same(type.formattype, FORMAT_VideoInfo)) {
    VIDEOINFOHEADER info{};
    if (!ReadBlock(type, info)) return std::nullopt;
    bitmap = info.bmiHeader;
    source = info.rcSource;
  } else if (ds::guids::Same(type.formattype, FORMAT_VideoInfo2)) {
    VIDEOINFOHEADER2 info{};
    if (!ReadBlock(type, info)) return std::nullopt;
    bitmap = info.bmiHeader;
    source = info.rcSource;
  } else {
    return std::nullopt;
  }
  if (bitmap.biWidth <= 0 || bitmap.biHeight == 0 || bitmap.biWidth > 16384 ||
      std::abs(bitmap.biHeight) > 16384) {
    return std::nullopt;
  }
  // A renderer asks for a wider stride with biWidth and keeps the picture in rcSource.
  layout.width = source.right > source.left ? source.right - source.left : bitmap.biWidth;
  layout.height = source.bottom > source.top ? source.bottom - source.top : std::abs(bitmap.biHeight);
  layout.stride = MinimumStride(layout.output, bitmap.biWidth);
  layout.bottomUp = layout.output == VideoOutput::RGB32 && bitmap.biHeight > 0;
  if (layout.width > bitmap.biWidth || layout.height > std::abs(bitmap.biHeight)) return std::nullopt;
  return layout;
}

}  // namespace orves::codecs
