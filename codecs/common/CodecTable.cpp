#include "codecs/common/CodecTable.h"

#include <cctype>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace orves::codecs {

namespace {

constexpr Guid kMpeg1Payload = {0xE436EB81, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kMpeg1Packet = {0xE436EB80, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kMpeg2Video = {0xE06D8026, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr Guid kMpeg2Audio = {0xE06D802B, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr Guid kDolbyAc3 = {0xE06D802C, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr Guid kDvdLpcm = {0xE06D8032, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr Guid kDts = {0xE06D8033, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr Guid kDolbyDdPlus = {0xA7FB87AF, 0x2D02, 0x42FB, {0xA4, 0xD4, 0x05, 0xCD, 0x93, 0x84, 0x3B, 0xDD}};
constexpr Guid kHdmvLpcm = {0x949F97FD, 0x56F6, 0x4527, {0xB4, 0xAE, 0xDD, 0xEB, 0x37, 0x5A, 0xB8, 0x0F}};
constexpr Guid kVorbis2 = {0xCDDCA2D5, 0x6D75, 0x4F98, {0x84, 0x0E, 0x73, 0x7B, 0xED, 0xD5, 0xC6, 0x3B}};

constexpr std::uint32_t kTagPcm = 0x0001;
constexpr std::uint32_t kTagFloat = 0x0003;
constexpr std::uint32_t kTagRawAac = 0x00FF;
constexpr std::uint32_t kTagAdtsAac = 0x1600;

Subtype V(std::uint32_t fourcc) { return {FourccGuid(fourcc), FormatBlock::VideoInfo2}; }
Subtype A(std::uint32_t tag) { return {FourccGuid(tag), FormatBlock::WaveFormatEx}; }
Subtype A(const Guid& guid) { return {guid, FormatBlock::WaveFormatEx}; }

std::vector<CodecEntry> MakeTable() {
  using K = StreamKind;
  const FormatBlock mpeg2 = FormatBlock::Mpeg2Video;
  return {
      {AV_CODEC_ID_H264,
       K::Video,
       "H.264",
       {V(Fourcc("H264")), {FourccGuid(Fourcc("AVC1")), mpeg2}, V(Fourcc("X264")), V(Fourcc("DAVC"))}},
      {AV_CODEC_ID_HEVC,
       K::Video,
       "HEVC",
       {V(Fourcc("HEVC")), V(Fourcc("HVC1")), V(Fourcc("HEV1")), V(Fourcc("H265"))}},
      {AV_CODEC_ID_MPEG4,
       K::Video,
       "MPEG-4",
       {V(Fourcc("MP4V")), V(Fourcc("XVID")), V(Fourcc("DIVX")), V(Fourcc("DX50")), V(Fourcc("FMP4"))}},
      {AV_CODEC_ID_MSMPEG4V3,
       K::Video,
       "MS-MPEG-4 v3",
       {V(Fourcc("DIV3")), V(Fourcc("MP43")), V(Fourcc("DIV4"))}},
      {AV_CODEC_ID_MPEG1VIDEO,
       K::Video,
       "MPEG-1",
       {{kMpeg1Payload, FormatBlock::Mpeg1Video}, {kMpeg1Packet, FormatBlock::Mpeg1Video}}},
      {AV_CODEC_ID_MPEG2VIDEO, K::Video, "MPEG-2", {{kMpeg2Video, mpeg2}, V(Fourcc("MPG2"))}},
      {AV_CODEC_ID_VP8, K::Video, "VP8", {V(Fourcc("VP80"))}},
      {AV_CODEC_ID_VP9, K::Video, "VP9", {V(Fourcc("VP90"))}},
      {AV_CODEC_ID_VC1, K::Video, "VC-1", {V(Fourcc("WVC1")), V(Fourcc("WMVA"))}},
      {AV_CODEC_ID_WMV3, K::Video, "WMV3", {V(Fourcc("WMV3"))}},
      {AV_CODEC_ID_WMV2, K::Video, "WMV2", {V(Fourcc("WMV2"))}},
      {AV_CODEC_ID_MJPEG, K::Video, "MJPEG", {V(Fourcc("MJPG"))}},
      {AV_CODEC_ID_THEORA, K::Video, "Theora", {V(Fourcc("THEO"))}},

      {AV_CODEC_ID_AAC, K::Audio, "AAC", {A(kTagRawAac), A(kTagAdtsAac), A(0x1610)}},
      {AV_CODEC_ID_AAC_LATM, K::Audio, "AAC", {A(0x1602)}},
      {AV_CODEC_ID_MP3, K::Audio, "MP3", {A(0x0055)}},
      {AV_CODEC_ID_MP2, K::Audio, "MP2", {A(0x0050), A(kMpeg2Audio)}},
      {AV_CODEC_ID_AC3, K::Audio, "AC3", {A(kDolbyAc3), A(0x2000)}},
      {AV_CODEC_ID_EAC3, K::Audio, "E-AC3", {A(kDolbyDdPlus)}},
      {AV_CODEC_ID_DTS, K::Audio, "DTS", {A(kDts), A(0x2001)}},
      {AV_CODEC_ID_VORBIS, K::Audio, "Vorbis", {A(kVorbis2)}},
      {AV_CODEC_ID_OPUS, K::Audio, "Opus", {A(Fourcc("Opus")), A(0x704F)}},
      {AV_CODEC_ID_FLAC, K::Audio, "FLAC", {A(0xF1AC)}},
      {AV_CODEC_ID_WMAV2, K::Audio, "WMA", {A(0x0161)}},
      // Integer PCM shares tag 1; the bit count tells the variants apart.
      {AV_CODEC_ID_PCM_S16LE, K::Audio, "PCM", {A(kTagPcm)}},
      {AV_CODEC_ID_PCM_U8, K::Audio, "PCM", {A(kTagPcm)}},
      {AV_CODEC_ID_PCM_S24LE, K::Audio, "PCM", {A(kTagPcm)}},
      {AV_CODEC_ID_PCM_S32LE, K::Audio, "PCM", {A(kTagPcm)}},
      {AV_CODEC_ID_PCM_F32LE, K::Audio, "PCM", {A(kTagFloat)}},
      {AV_CODEC_ID_PCM_F64LE, K::Audio, "PCM", {A(kTagFloat)}},
      {AV_CODEC_ID_PCM_S16BE, K::Audio, "PCM", {A(Fourcc("twos"))}},
      {AV_CODEC_ID_PCM_S24BE, K::Audio, "PCM", {A(Fourcc("in24"))}},
      {AV_CODEC_ID_PCM_S32BE, K::Audio, "PCM", {A(Fourcc("in32"))}},
      {AV_CODEC_ID_PCM_ALAW, K::Audio, "A-law", {A(0x0006)}},
      {AV_CODEC_ID_PCM_MULAW, K::Audio, "mu-law", {A(0x0007)}},
      {AV_CODEC_ID_PCM_DVD, K::Audio, "LPCM", {A(kDvdLpcm)}},
      {AV_CODEC_ID_PCM_BLURAY, K::Audio, "LPCM", {A(kHdmvLpcm)}},

      {AV_CODEC_ID_SUBRIP, K::Subtitle, "SubRip", {}},
      {AV_CODEC_ID_TEXT, K::Subtitle, "Text", {}},
      {AV_CODEC_ID_ASS, K::Subtitle, "ASS", {}},
      {AV_CODEC_ID_SSA, K::Subtitle, "SSA", {}},
      {AV_CODEC_ID_WEBVTT, K::Subtitle, "WebVTT", {}},
      {AV_CODEC_ID_MOV_TEXT, K::Subtitle, "Timed Text", {}},
  };
}

std::uint32_t UpperFourcc(std::uint32_t fourcc) {
  std::uint32_t upper = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const auto c = static_cast<unsigned char>(fourcc >> shift);
    upper |= static_cast<std::uint32_t>(std::toupper(c)) << shift;
  }
  return upper;
}

bool SameSubtype(const Guid& listed, const Guid& asked) {
  if (listed == asked) return true;
  return IsFourccGuid(listed) && IsFourccGuid(asked) && UpperFourcc(listed.data1) == UpperFourcc(asked.data1);
}

const Subtype* ListedFourcc(const CodecEntry& entry, std::uint32_t fourcc) {
  for (const Subtype& subtype : entry.subtypes) {
    if (SameSubtype(subtype.guid, FourccGuid(fourcc))) return &subtype;
  }
  return nullptr;
}

// avcC and hvcC records start with configuration version 1; Annex B private
// data starts with a start code.
bool LengthPrefixed(const StreamFormat& format) {
  return !format.extradata.empty() && format.extradata[0] == 1;
}

}  // namespace

const std::vector<CodecEntry>& Codecs() {
  static const std::vector<CodecEntry> table = MakeTable();
  return table;
}

bool CarriesScriptHeader(int codecId) { return codecId == AV_CODEC_ID_ASS || codecId == AV_CODEC_ID_SSA; }

OrvesTextMarkup TextMarkupOf(int codecId) {
  switch (codecId) {
    case AV_CODEC_ID_ASS:
    case AV_CODEC_ID_SSA:
      return kMarkupAss;
    case AV_CODEC_ID_WEBVTT:
      return kMarkupWebVtt;
    case AV_CODEC_ID_SUBRIP:
    case AV_CODEC_ID_SRT:
      return kMarkupSubRip;
    default:
      return kMarkupPlain;
  }
}

const CodecEntry* FindCodec(int codecId) {
  for (const CodecEntry& entry : Codecs()) {
    if (entry.codecId == codecId) return &entry;
  }
  return nullptr;
}

const CodecEntry* FindCodecBySubtype(const Guid& subtype) {
  for (const CodecEntry& entry : Codecs()) {
    for (const Subtype& listed : entry.subtypes) {
      if (SameSubtype(listed.guid, subtype)) return &entry;
    }
  }
  return nullptr;
}

int CodecIdForSubtype(const Guid& subtype, int bitsPerSample) {
  if (subtype == FourccGuid(kTagPcm)) {
    switch (bitsPerSample) {
      case 8:
        return AV_CODEC_ID_PCM_U8;
      case 24:
        return AV_CODEC_ID_PCM_S24LE;
      case 32:
        return AV_CODEC_ID_PCM_S32LE;
      default:
        return AV_CODEC_ID_PCM_S16LE;
    }
  }
  if (subtype == FourccGuid(kTagFloat))
    return bitsPerSample == 64 ? AV_CODEC_ID_PCM_F64LE : AV_CODEC_ID_PCM_F32LE;
  const CodecEntry* entry = FindCodecBySubtype(subtype);
  return entry != nullptr ? entry->codecId : 0;
}

Subtype SubtypeFor(const StreamFormat& format) {
  const CodecEntry* entry = FindCodec(format.codecId);
  if (entry == nullptr || entry->subtypes.empty()) return {Guid{}, FormatBlock::None};
  switch (format.codecId) {
    case AV_CODEC_ID_H264:
      return LengthPrefixed(format) ? *ListedFourcc(*entry, Fourcc("AVC1")) : entry->subtypes.front();
    case AV_CODEC_ID_HEVC:
      return LengthPrefixed(format) ? *ListedFourcc(*entry, Fourcc("HVC1")) : entry->subtypes.front();
    case AV_CODEC_ID_AAC:
      return format.extradata.empty() ? A(kTagAdtsAac) : A(kTagRawAac);
    default:
      break;
  }
  if (entry->kind == StreamKind::Video && format.codecTag != 0) {
    if (const Subtype* own = ListedFourcc(*entry, format.codecTag))
      return {FourccGuid(format.codecTag), own->block};
  }
  return entry->subtypes.front();
}

}  // namespace orves::codecs
