// The audio decoder core on real clips: the PCM each source becomes, the
// tone intact and continuous, and a seek that resumes at the target sample.
#include <gtest/gtest.h>

#include <cstring>

#include "CodecMedia.h"
#include "codecs/audio/AudioDecoder.h"

namespace orves::codecs {
namespace {

using test::kSecond;
using test::Media;

struct Heard {
  PcmFormat format;
  std::int64_t first = kNoTime;
  std::int64_t length = 0;  // sum of block lengths
  std::int64_t maxGap = 0;  // largest |start - previous stop|
  int crossings = 0;        // sign changes of the channels' sum
  bool firstDiscontinuity = false;
};

double Sample(const std::uint8_t* frame, int bits) {
  if (bits == 32) {
    std::int32_t s;
    std::memcpy(&s, frame, 4);
    return s;
  }
  std::int16_t s;
  std::memcpy(&s, frame, 2);
  return s;
}

Heard Listen(Demuxer& demuxer, AudioDecoder& decoder, int stream) {
  Heard heard;
  std::int64_t previousStop = kNoTime;
  double previous = 0;
  MediaPacket packet;
  AudioBlock block;
  auto take = [&] {
    while (decoder.NextBlock(block)) {
      heard.format = decoder.Format();
      if (heard.first == kNoTime) {
        heard.first = block.start;
        heard.firstDiscontinuity = block.discontinuity;
      }
      if (previousStop != kNoTime)
        heard.maxGap = std::max<std::int64_t>(heard.maxGap, std::llabs(block.start - previousStop));
      previousStop = block.stop;
      heard.length += block.stop - block.start;
      const int align = heard.format.BlockAlign();
      EXPECT_EQ(block.size, static_cast<std::size_t>(block.frames * align));
      const int bytes = heard.format.bitsPerSample / 8;
      for (int i = 0; i < block.frames; ++i) {
        double s = 0;
        for (int c = 0; c < heard.format.channels; ++c) {
          s += Sample(block.data + i * align + c * bytes, heard.format.bitsPerSample);
        }
        if ((s > 0) != (previous > 0)) ++heard.crossings;
        previous = s;
      }
    }
  };
  while (demuxer.Read(packet) == ReadStatus::Packet) {
    if (packet.stream != stream) continue;
    decoder.Send(packet);
    take();
  }
  decoder.Drain();
  take();
  return heard;
}

TEST(AudioDecoderTest, EachSourceBecomesIntegerPcmTheSoundProcessorTakes) {
  struct Case {
    const char* clip;
    int stream;  // -1: the first audio stream
    PcmFormat expected;
    double seconds;
  };
  const Case cases[] = {
      {"codec-h264-aac.mkv", -1, {44100, 2, 16, 0x3}, 6},
      {"codec-hevc10-flac24.mkv", -1, {44100, 2, 32, 0x3}, 6},  // 24-bit source
      {"codec-vp9-opus.webm", -1, {48000, 2, 16, 0x3}, 6},
      {"codec-xvid-mp3.avi", -1, {44100, 2, 16, 0x3}, 6},
      {"codec-msmpeg4-mp2.avi", -1, {44100, 2, 16, 0x3}, 6},
      {"codec-mpeg2-ac3.mpg", -1, {44100, 2, 16, 0x3}, 6},
      {"codec-wmv2-wma2.wmv", -1, {44100, 2, 16, 0x3}, 6},
      {"codec-theora-vorbis.ogv", -1, {44100, 2, 16, 0x3}, 6},
      {"codec-tracks.mkv", 2, {44100, 6, 16, 0x60F}, 6},  // AC3 5.1, the 660 Hz tone
      {"codec-tone.wav", -1, {44100, 2, 32, 0x3}, 3},     // 24-bit PCM
      {"codec-tone.flac", -1, {44100, 2, 16, 0x3}, 3},
      {"codec-tone.m4a", -1, {44100, 2, 16, 0x3}, 3},
      {"codec-tone.opus", -1, {48000, 2, 16, 0x3}, 3},
      {"codec-tone.ogg", -1, {44100, 2, 16, 0x3}, 3},
      {"codec-tone.mp3", -1, {44100, 2, 16, 0x3}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clip);
    auto demuxer = Demuxer::OpenFile(Media(c.clip));
    ASSERT_NE(demuxer, nullptr);
    const int stream = c.stream >= 0 ? c.stream : test::FirstStream(*demuxer, StreamKind::Audio);
    ASSERT_GE(stream, 0);
    AudioDecoder decoder(demuxer->Streams()[static_cast<std::size_t>(stream)].format);
    ASSERT_TRUE(decoder.IsOpen());
    const Heard heard = Listen(*demuxer, decoder, stream);
    EXPECT_EQ(heard.format, c.expected);
    EXPECT_EQ(heard.format.Extensible(), c.expected.channels > 2 || c.expected.bitsPerSample > 16);
    EXPECT_TRUE(heard.firstDiscontinuity);
    EXPECT_NEAR(static_cast<double>(heard.length), c.seconds * kSecond, 0.1 * kSecond);
    EXPECT_LE(heard.maxGap, 1000);  // blocks follow each other to 0.1 ms
    // Two sign changes per period of the tone: a wrong sample format or
    // block alignment would not keep the rate.
    const double tone = c.stream == 2 ? 660 : 440;
    const double rate = heard.crossings / (static_cast<double>(heard.length) / kSecond);
    EXPECT_NEAR(rate, 2 * tone, 0.05 * 2 * tone);
  }
}

TEST(AudioDecoderTest, SeekResumesAtTheTargetSample) {
  for (const char* clip :
       {"codec-h264-aac.mkv", "codec-vp9-opus.webm", "codec-mpeg2-ac3.mpg", "codec-tone.flac"}) {
    SCOPED_TRACE(clip);
    auto demuxer = Demuxer::OpenFile(Media(clip));
    ASSERT_NE(demuxer, nullptr);
    const int stream = test::FirstStream(*demuxer, StreamKind::Audio);
    ASSERT_GE(stream, 0);
    AudioDecoder decoder(demuxer->Streams()[static_cast<std::size_t>(stream)].format);
    const std::int64_t target = 5 * kSecond / 4;
    ASSERT_TRUE(demuxer->Seek(target));
    decoder.Flush();
    decoder.SkipUntil(target);
    const Heard heard = Listen(*demuxer, decoder, stream);
    EXPECT_TRUE(heard.firstDiscontinuity);
    // Within one sample of the target.
    EXPECT_NEAR(static_cast<double>(heard.first), static_cast<double>(target),
                kSecond / heard.format.sampleRate + 1);
    EXPECT_LE(heard.maxGap, 1000);
  }
}

}  // namespace
}  // namespace orves::codecs
