// The portable rules between demuxer, decoders and pins.
#include <gtest/gtest.h>

#include <set>

#include "codecs/common/Aspect.h"
#include "codecs/common/AvcConfig.h"
#include "codecs/common/CodecTable.h"
#include "codecs/common/PcmFormat.h"
#include "codecs/common/StreamMediaType.h"
#include "codecs/common/TextCue.h"
#include "codecs/common/TimeBase.h"
#include "codecs/common/TrackName.h"
#include "codecs/common/VideoOutput.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace orves::codecs {
namespace {

TEST(TimeBaseTest, ConvertsExactlyWithRoundingAndOrigin) {
  struct Case {
    std::int64_t stamp;
    Rational base;
    std::int64_t origin;
    std::int64_t expected;
  };
  const Case cases[] = {
      {90000, {1, 90000}, 0, kUnitsPerSecond},    // MPEG TS clock
      {1, {1, 90000}, 0, 111},                    // 111.11 rounds down
      {5, {1, 90000}, 0, 556},                    // 555.55 rounds up
      {-5, {1, 90000}, 0, -556},                  // halves away from zero
      {1001, {1, 30000}, 0, 333667},              // NTSC frame (333666.67)
      {133200, {1, 90000}, 14800000, 0},          // TS start of 1.48 s becomes 0
      {1, {1, 1000}, 14800000, -14790000},        // before the origin: negative
      {INT64_MAX / 2, {1, 90000}, 0, INT64_MAX},  // saturates, never wraps
      {kNoTime, {1, 1000}, 0, kNoTime},           // no time stays no time
      {25, {0, 1}, 0, kNoTime},                   // invalid time base
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToReferenceTime(c.stamp, c.base, c.origin), c.expected)
        << c.stamp << " in " << c.base.num << "/" << c.base.den;
  }
  // Back again: a stamp survives the round trip through 100 ns units.
  for (std::int64_t stamp : {0LL, 1LL, 3003LL, 123456789LL, 8589934591LL}) {
    const std::int64_t time = ToReferenceTime(stamp, {1, 90000}, 14800000);
    EXPECT_EQ(FromReferenceTime(time, {1, 90000}, 14800000), stamp);
  }
  EXPECT_EQ(RescaleRounded(3, 10, 4), 8);  // 7.5 -> 8
  EXPECT_EQ(RescaleRounded(INT64_MAX, INT64_MAX, 1), INT64_MAX);
}

TEST(AspectTest, PictureAspectFromSampleAspect) {
  struct Case {
    int width, height;
    Rational sar, expected;
  };
  const Case cases[] = {
      {720, 576, {64, 45}, {16, 9}},  // anamorphic PAL DVD
      {720, 576, {16, 15}, {4, 3}},  {1920, 1080, {1, 1}, {16, 9}},
      {1440, 1080, {4, 3}, {16, 9}}, {640, 480, {0, 1}, {4, 3}},  // unknown: square pixels
      {0, 480, {1, 1}, {0, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureAspect(c.width, c.height, c.sar), c.expected) << c.width << "x" << c.height;
  }
  // The sample aspect survives the media type between source and decoder,
  // whichever format block the codec travels in.
  for (const int codec : {AV_CODEC_ID_H264, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG4}) {
    StreamFormat format;
    format.kind = StreamKind::Video;
    format.codecId = codec;
    format.width = 720;
    format.height = 576;
    format.sampleAspect = {64, 45};
    ds::MediaType type;
    ASSERT_TRUE(MediaTypeFor(format, type)) << codec;
    const std::optional<StreamFormat> back = FormatFromMediaType(type.Get());
    ASSERT_TRUE(back.has_value()) << codec;
    EXPECT_EQ(back->sampleAspect, (Rational{64, 45})) << codec;
  }
}

TEST(TrackNameTest, LanguageTitleAndCodec) {
  auto audio = [](const char* language, const char* title, int codec, int channels, std::uint64_t mask) {
    StreamInfo info;
    info.language = language;
    info.title = title;
    info.format.kind = StreamKind::Audio;
    info.format.codecId = codec;
    info.format.channels = channels;
    info.format.channelMask = mask;
    return info;
  };
  EXPECT_EQ(TrackName(audio("kor", "", AV_CODEC_ID_AC3, 6, 0x60F)), "한국어 — AC3 5.1");
  EXPECT_EQ(TrackName(audio("KO", "", AV_CODEC_ID_AAC, 2, 0x3)), "한국어 — AAC 2.0");
  EXPECT_EQ(TrackName(audio("eng", "Commentary", AV_CODEC_ID_EAC3, 8, 0)), "영어 — Commentary — E-AC3 7.1");
  EXPECT_EQ(TrackName(audio("ger", "", AV_CODEC_ID_DTS, 6, 0)),
            TrackName(audio("deu", "", AV_CODEC_ID_DTS, 6, 0)));
  EXPECT_EQ(TrackName(audio("tlh", "", AV_CODEC_ID_OPUS, 1, 0x4)), "tlh — Opus 1.0");  // unknown code kept
  EXPECT_EQ(TrackName(audio("und", "", AV_CODEC_ID_MP3, 2, 0)), "MP3 2.0");
  EXPECT_EQ(TrackName(audio("jpn", "jpn", AV_CODEC_ID_FLAC, 2, 0)), "일본어 — FLAC 2.0");  // title = code
  EXPECT_EQ(TrackName(audio("", "", AV_CODEC_ID_AC3, 3, 0xB)), "AC3 2.1");                 // FL FR LFE

  StreamInfo video;
  video.format.kind = StreamKind::Video;
  video.format.codecId = AV_CODEC_ID_HEVC;
  video.format.width = 1920;
  video.format.height = 1080;
  EXPECT_EQ(TrackName(video), "HEVC 1920x1080");
}

TEST(VideoOutputTest, OffersInOrderAndTakesTheFirstAccepted) {
  std::vector<VideoOutput> asked;
  EXPECT_EQ(ChooseOutput([&](VideoOutput t) {
              asked.push_back(t);
              return false;
            }),
            std::nullopt);
  EXPECT_EQ(asked,
            (std::vector{VideoOutput::NV12, VideoOutput::YV12, VideoOutput::YUY2, VideoOutput::RGB32}));
  // The GDI renderer: RGB only.
  EXPECT_EQ(ChooseOutput([](VideoOutput t) { return t == VideoOutput::RGB32; }), VideoOutput::RGB32);
  EXPECT_EQ(ChooseOutput([](VideoOutput t) { return t != VideoOutput::NV12; }), VideoOutput::YV12);
}

TEST(VideoOutputTest, PlanesFitTheBuffer) {
  // Every plane's last row ends inside the buffer, for odd heights too.
  for (VideoOutput type : kVideoOutputOrder) {
    for (int height : {240, 241}) {
      const int stride = MinimumStride(type, 322) + 32;
      const PlaneLayout layout = LayoutFor(type, height, stride, type == VideoOutput::RGB32);
      for (int p = 0; p < layout.planes; ++p) {
        const int rows = p == 0 ? height : (height + 1) / 2;
        const std::ptrdiff_t first = layout.offset[p];
        const std::ptrdiff_t last = first + layout.stride[p] * (rows - 1);
        const std::ptrdiff_t rowBytes = std::abs(layout.stride[p]);
        EXPECT_GE(std::min(first, last), 0);
        EXPECT_LE(static_cast<std::size_t>(std::max(first, last) + rowBytes), layout.size)
            << static_cast<int>(type) << " plane " << p << " height " << height;
      }
    }
  }
  // YV12 keeps V before U.
  const PlaneLayout yv12 = LayoutFor(VideoOutput::YV12, 240, 320);
  EXPECT_LT(yv12.offset[2], yv12.offset[1]);
  EXPECT_EQ(yv12.size, 320u * 240 * 3 / 2);
}

TEST(CodecTableTest, SubtypesLeadBackToTheirCodec) {
  std::set<int> ids;
  for (const CodecEntry& entry : Codecs()) {
    EXPECT_TRUE(ids.insert(entry.codecId).second) << "codec listed twice: " << entry.codecId;
    // PCM variants share tags and differ by their bit count.
    const int bits = av_get_bits_per_sample(static_cast<AVCodecID>(entry.codecId));
    for (const Subtype& subtype : entry.subtypes) {
      EXPECT_EQ(CodecIdForSubtype(subtype.guid, bits), entry.codecId) << entry.name;
    }
  }
  // AVI files write FOURCCs in either case.
  EXPECT_EQ(CodecIdForSubtype(FourccGuid(Fourcc("xvid")), 0), AV_CODEC_ID_MPEG4);
  EXPECT_EQ(CodecIdForSubtype(FourccGuid(Fourcc("ZZZZ")), 0), 0);
}

TEST(CodecTableTest, SourceOffersTheSubtypeTheStreamNeeds) {
  struct Case {
    int codec;
    std::uint32_t tag;
    std::vector<std::uint8_t> extradata;
    Guid expected;
  };
  const Case cases[] = {
      {AV_CODEC_ID_H264, 0, {1, 0x64, 0, 0x1F}, FourccGuid(Fourcc("AVC1"))},  // avcC
      {AV_CODEC_ID_H264, 0x1B, {}, FourccGuid(Fourcc("H264"))},               // Annex B from a TS
      {AV_CODEC_ID_HEVC, 0, {1, 1, 0x60}, FourccGuid(Fourcc("HVC1"))},
      {AV_CODEC_ID_MPEG4, Fourcc("DX50"), {}, FourccGuid(Fourcc("DX50"))},  // the file's own FOURCC
      {AV_CODEC_ID_MPEG4, Fourcc("mp4v"), {}, FourccGuid(Fourcc("mp4v"))},
      {AV_CODEC_ID_MPEG4, 0, {}, FourccGuid(Fourcc("MP4V"))},
      {AV_CODEC_ID_AAC, 0, {0x12, 0x10}, FourccGuid(0xFF)},  // raw with its configuration
      {AV_CODEC_ID_AAC, 0, {}, FourccGuid(0x1600)},          // ADTS
      {AV_CODEC_ID_SUBRIP, 0, {}, Guid{}},                   // no pin for text
  };
  for (const Case& c : cases) {
    StreamFormat format;
    format.codecId = c.codec;
    format.kind = FindCodec(c.codec)->kind;
    format.codecTag = c.tag;
    format.extradata = c.extradata;
    EXPECT_EQ(SubtypeFor(format).guid, c.expected) << FindCodec(c.codec)->name << " tag " << c.tag;
  }
  StreamFormat mpeg2;
  mpeg2.kind = StreamKind::Video;
  mpeg2.codecId = AV_CODEC_ID_MPEG2VIDEO;
  EXPECT_EQ(SubtypeFor(mpeg2).block, FormatBlock::Mpeg2Video);
}

TEST(AvcConfigTest, MalformedRecordsAndHeadersAreRefused) {
  using Bytes = std::vector<std::uint8_t>;
  for (const Bytes& avcc : {Bytes{}, Bytes{0, 0x64, 0, 0x1F, 0xFF, 0xE1, 0, 2, 0x67, 0x64, 0},
                            Bytes{1, 0x64, 0, 0x1F, 0xFF, 0xE1, 0, 9, 0x67, 0x64},     // set cut short
                            Bytes{1, 0x64, 0, 0x1F, 0xFF, 0xE1, 0, 2, 0x67, 0x64}}) {  // no picture set count
    EXPECT_FALSE(SequenceHeaderFromAvcC(avcc).has_value()) << avcc.size();
  }
  for (const Bytes& sets : {Bytes{}, Bytes{0, 2, 0x68, 0xEE},                 // a picture set alone
                            Bytes{0, 4, 0x67, 0x64, 0, 0x1F, 0, 9, 0x68}}) {  // length past the end
    EXPECT_TRUE(AvcCFromSequenceHeader({4, 100, 31, sets}).empty()) << sets.size();
  }
  // A well-formed pair survives both ways, the NAL length size included.
  const Bytes avcc{1, 0x64, 0, 0x1F, 0xFD, 0xE1, 0, 4, 0x67, 0x64, 0, 0x1F, 1, 0, 2, 0x68, 0xEE};
  const std::optional<AvcSequenceHeader> header = SequenceHeaderFromAvcC(avcc);
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->nalLengthSize, 2);
  EXPECT_EQ(AvcCFromSequenceHeader(*header), avcc);
}

TEST(PcmFormatTest, BitsAndChannelMasks) {
  EXPECT_EQ(OutputBits(0), 16);  // lossy: floats of no fixed depth
  EXPECT_EQ(OutputBits(16), 16);
  EXPECT_EQ(OutputBits(24), 32);
  struct Case {
    std::uint64_t layout;
    int channels;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0x3, 2, 0x3},               // stereo as it is
      {0x60F, 6, 0x60F},           // 5.1 (side)
      {0x3F, 6, 0x3F},             // 5.1 (back)
      {0, 6, 0x60F},               // unknown order: the usual 5.1
      {0, 1, 0x4},                 // mono is the centre speaker
      {0x3, 6, 0x60F},             // a mask that does not match the count
      {0x20000000003ull, 3, 0x7},  // a speaker WAVE cannot name
  };
  for (const Case& c : cases) EXPECT_EQ(WaveChannelMask(c.layout, c.channels), c.expected) << c.layout;
  EXPECT_FALSE((PcmFormat{48000, 2, 16, 0x3}.Extensible()));
  EXPECT_TRUE((PcmFormat{48000, 2, 32, 0x3}.Extensible()));
  EXPECT_TRUE((PcmFormat{48000, 6, 16, 0x60F}.Extensible()));
}

TEST(TextCueTest, TakesTheTextOutOfEachTrackKind) {
  auto cue = [](int codec, std::string_view bytes) {
    return CueText(codec, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  EXPECT_EQ(cue(AV_CODEC_ID_SUBRIP, "안녕 <i>세계</i>\r\n"), "안녕 <i>세계</i>");
  EXPECT_EQ(cue(AV_CODEC_ID_ASS, "3,0,Default,,0,0,0,,{\\i1}Hi{\\i0}, there"), "{\\i1}Hi{\\i0}, there");
  EXPECT_EQ(cue(AV_CODEC_ID_SSA, "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a,b"), "a,b");
  EXPECT_EQ(cue(AV_CODEC_ID_ASS, "3,0,Default"), "");  // cut short
  EXPECT_EQ(cue(AV_CODEC_ID_MOV_TEXT, std::string_view("\x00\x05hello\x00\x00\x00\x0cstyl", 17)), "hello");
  EXPECT_EQ(cue(AV_CODEC_ID_MOV_TEXT, std::string_view("\x00\x04\xFE\xFF\xD5\x5C", 6)), "한");  // UTF-16
  EXPECT_EQ(cue(AV_CODEC_ID_MOV_TEXT, std::string_view("\x00\xFF"
                                                       "ab",
                                                       4)),
            "ab");  // length past the end
  EXPECT_EQ(cue(AV_CODEC_ID_MOV_TEXT, "\x00"), "");
  EXPECT_EQ(cue(AV_CODEC_ID_WEBVTT, "bad \xC3\x28 byte \xED\xA0\x80"),
            "bad \xEF\xBF\xBD( byte \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace orves::codecs
