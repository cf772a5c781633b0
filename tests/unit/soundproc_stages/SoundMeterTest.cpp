#include "soundproc/stages/SoundMeter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "tests/unit/soundproc_stages/PcmTestBuffer.h"

namespace zmsp {
namespace {

using test::extensibleLayout;
using test::pcmLayout;
using test::PcmTestBuffer;

TEST(SoundMeterLevels, FullScale16BitReadsFullScaleAndBar999) {
  std::vector<std::int16_t> samples;
  for (int i = 0; i < 1000; ++i) {
    samples.push_back(i % 2 == 0 ? 32767 : -32768);
  }
  PcmTestBuffer<std::int16_t> buffer(samples);
  MeterLevels levels{};
  EXPECT_EQ(MeasureLevels(buffer.data(), pcmLayout(1, 16), levels), 1000u);
  EXPECT_EQ(levels[0], 32767);  // (32767 + 32768) / 2, truncated
  const MeterDisplay display = LevelToDisplay(levels[0], 16);
  EXPECT_EQ(display.shown, 32767);
  EXPECT_EQ(display.bar, 999);
  EXPECT_EQ(LevelToDisplay(32768, 16).bar, 999);
  EXPECT_EQ(LevelToDisplay(1, 16).bar, 0);
  EXPECT_EQ(LevelToDisplay(0, 16).bar, 0);
  EXPECT_EQ(LevelToDisplay(100, 16).bar, 442);  // ln 100 * 96.18 = 442.9
}

TEST(SoundMeterLevels, ThirtyTwoBitLevelsAreShownOnThe16BitScale) {
  EXPECT_EQ(LevelToDisplay(65536, 32).shown, 1);
  EXPECT_EQ(LevelToDisplay(65536, 32).bar, 0);
  EXPECT_EQ(LevelToDisplay(65535, 32).shown, 0);
  EXPECT_EQ(LevelToDisplay(std::numeric_limits<std::int32_t>::max(), 32).shown, 32767);
  EXPECT_EQ(LevelToDisplay(std::numeric_limits<std::int32_t>::max(), 32).bar, 999);

  PcmTestBuffer<std::int32_t> buffer{65536, -65536, -65536, 65536 * 3};
  MeterLevels levels{};
  EXPECT_EQ(MeasureLevels(buffer.data(), pcmLayout(2, 32), levels), 2u);
  EXPECT_EQ(levels[0], 65536);
  EXPECT_EQ(levels[1], 131072);
}

template <typename Sample>
void expectPerChannelMeans(int frames, int scale) {
  // Channel c holds +-((c + 1) * 100 + f) * scale in frame f, so every
  // channel has its own mean; frame counts are not multiples of the
  // vectorised period, so the tail is covered too.
  for (std::uint16_t channels = 1; channels <= 8; ++channels) {
    std::vector<Sample> samples;
    std::vector<std::int64_t> sums(channels, 0);
    for (int f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) {
        const std::int64_t magnitude = static_cast<std::int64_t>((c + 1) * 100 + f % 1000) * scale;
        samples.push_back(static_cast<Sample>(f % 3 == 0 ? -magnitude : magnitude));
        sums[c] += magnitude;
      }
    }
    PcmTestBuffer<Sample> buffer(samples);
    MeterLevels levels;
    levels.fill(-7);
    ASSERT_EQ(MeasureLevels(buffer.data(), pcmLayout(channels, sizeof(Sample) * 8), levels),
              static_cast<std::size_t>(frames));
    for (int c = 0; c < 8; ++c) {
      EXPECT_EQ(levels[c], c < channels ? sums[c] / frames : -7) << channels << " channels, channel " << c;
    }
  }
}

TEST(SoundMeterLevels, EachChannelOfAnInterleavedBufferIsMeasuredOnItsOwn) {
  expectPerChannelMeans<std::int16_t>(37, 1);
  expectPerChannelMeans<std::int16_t>(20011, 3);
  expectPerChannelMeans<std::int32_t>(37, 1000);
  expectPerChannelMeans<std::int32_t>(20011, 100000);
}

TEST(SoundMeterLevels, LongLoud16BitBufferDoesNotOverflowTheSums) {
  // 5 million frames of -32768 in one channel: each 32-bit partial sum would
  // see over 2^17 samples of 2^15, past 2^32.
  std::vector<std::int16_t> samples(5'000'000, -32768);
  PcmTestBuffer<std::int16_t> buffer(samples);
  MeterLevels levels{};
  ASSERT_EQ(MeasureLevels(buffer.data(), pcmLayout(1, 16), levels), 5'000'000u);
  EXPECT_EQ(levels[0], 32768);
}

TEST(SoundMeterLevels, MostNegative32BitSamplesStayInRange) {
  PcmTestBuffer<std::int32_t> buffer{std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::min()};
  MeterLevels levels{};
  ASSERT_EQ(MeasureLevels(buffer.data(), pcmLayout(1, 32), levels), 2u);
  EXPECT_EQ(levels[0], std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(LevelToDisplay(levels[0], 32).bar, 999);
}

TEST(SoundMeterLevels, UnsupportedFormatsAndEmptyBuffersKeepTheLevels) {
  MeterLevels levels;
  levels.fill(5);
  PcmTestBuffer<std::int16_t> buffer(std::vector<std::int16_t>(40, 1000));
  EXPECT_FALSE(MeterSupports(pcmLayout(10, 16)));
  EXPECT_EQ(MeasureLevels(buffer.data(), pcmLayout(10, 16), levels), 0u);
  EXPECT_EQ(MeasureLevels(buffer.data(), pcmLayout(2, 24), levels), 0u);
  EXPECT_EQ(MeasureLevels(buffer.data(), pcmLayout(0, 16), levels), 0u);
  PcmFormat unparsed = pcmLayout(2, 16);
  unparsed.parsed = false;
  EXPECT_EQ(MeasureLevels(buffer.data(), unparsed, levels), 0u);
  // Less than a frame.
  EXPECT_EQ(MeasureLevels(buffer.data().first(10), extensibleLayout(6, 16, 0x3F), levels), 0u);
  EXPECT_EQ(levels, (MeterLevels{5, 5, 5, 5, 5, 5, 5, 5}));
  EXPECT_TRUE(buffer.guardIntact());
}

}  // namespace
}  // namespace zmsp
