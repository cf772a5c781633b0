#include "soundproc/stages/ChannelControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <span>
#include <vector>

#include "tests/unit/soundproc_stages/PcmTestBuffer.h"

namespace zmsp {
namespace {

using test::extensibleLayout;
using test::pcmLayout;
using test::PcmTestBuffer;

constexpr std::uint32_t kMask51 = 0x3F;
constexpr std::uint32_t kMask71 = 0xFF;
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

template <typename Sample>
std::vector<Sample> run(ChannelControl& control, PcmTestBuffer<Sample>& buffer) {
  const auto outcome = control.Process(buffer.data(), buffer.dataBytes());
  EXPECT_FALSE(outcome.boostSkippedNoMemory);
  EXPECT_TRUE(buffer.guardIntact());
  return buffer.samples();
}

ChannelControlSettings balanceSettings(int level) {
  ChannelControlSettings s;
  s.frBalance = true;
  s.frBalanceLevel = level;
  return s;
}

// ChannelControl is not copyable; build it in place.
#define MAKE_CONTROL(name, settings, layout, ...) \
  ChannelControl name;                            \
  name.SetSettings(settings);                     \
  name.SetHasLfe(true);                           \
  __VA_OPT__(name.SetAc3Source(__VA_ARGS__);)     \
  name.Configure(layout)

TEST(ChannelControlBalance, PositiveLevelLowersOnlyTheRearOf51) {
  MAKE_CONTROL(control, balanceSettings(30), extensibleLayout(6, 16, kMask51));
  ASSERT_TRUE(control.HasWork());
  PcmTestBuffer<std::int16_t> buffer{1001,  -1001,  500, 300, 1001,  -1001,  //
                                     32767, -32768, 7,   8,   32767, -32768};
  // 1001 * 70 / 100 = 700.7 -> 700; 32767 * 70 / 100 = 22936.9 -> 22936.
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{1001, -1001, 500, 300, 700, -700,  //
                                                             32767, -32768, 7, 8, 22936, -22937}));
  EXPECT_EQ(control.BalanceFactor(), 70);
}

TEST(ChannelControlBalance, NegativeLevelLowersTheFourFrontChannelsOf51) {
  MAKE_CONTROL(control, balanceSettings(-30), extensibleLayout(6, 32, kMask51));
  PcmTestBuffer<std::int32_t> buffer{kInt32Max, kInt32Min, 1001, -1001, 1001, -1001};
  // 2147483647 * 70 / 100 = 1503238552.9 -> 1503238552 (64-bit product, truncated).
  EXPECT_EQ(run(control, buffer),
            (std::vector<std::int32_t>{1503238552, -1503238553, 700, -700, 1001, -1001}));
}

TEST(ChannelControlBalance, ThirtyTwoBitMatchesIntegerArithmeticEverywhere) {
  // The scaling is computed in double; compare it with exact 64-bit integer
  // arithmetic over many samples and every factor.
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> any(kInt32Min, kInt32Max);
  for (int level = 1; level <= 100; level += 3) {
    MAKE_CONTROL(control, balanceSettings(level), extensibleLayout(4, 32, 0x33));
    std::vector<std::int32_t> input(4 * 500);
    for (auto& sample : input) {
      sample = any(random);
    }
    input[2] = kInt32Min;
    input[3] = kInt32Max;
    PcmTestBuffer<std::int32_t> buffer(input);
    const auto output = run(control, buffer);
    for (std::size_t i = 0; i < input.size(); ++i) {
      const std::int64_t factor = (i % 4) >= 2 ? 100 - level : 100;
      ASSERT_EQ(output[i], std::int64_t{input[i]} * factor / 100)
          << "level " << level << " sample " << input[i];
    }
  }
}

TEST(ChannelControlApplicability, PlainStereoGetsOnlyTheBoost) {
  ChannelControlSettings s = balanceSettings(50);
  s.volAdjust = true;
  s.frontLevelDb = 6;
  s.lfeMixer = true;
  MAKE_CONTROL(control, s, pcmLayout(2, 16));
  EXPECT_FALSE(control.WhatApplies().volAdjust);
  EXPECT_FALSE(control.WhatApplies().balance);
  EXPECT_FALSE(control.WhatApplies().lfeMixer);
  EXPECT_TRUE(control.WhatApplies().boost);
  EXPECT_FALSE(control.HasWork());  // boost is switched off
  PcmTestBuffer<std::int16_t> buffer{1000, -1000};
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{1000, -1000}));

  s.volBoost = true;
  control.SetSettings(s);
  control.Refresh();
  EXPECT_TRUE(control.HasWork());
}

TEST(ChannelControlApplicability, BoostForAc3SourcesOnly) {
  ChannelControlSettings s;
  s.volBoost = true;
  s.volBoostApplyTo = BoostApplyTo::kAc3Only;
  MAKE_CONTROL(mp3, s, pcmLayout(2, 16), false);
  EXPECT_FALSE(mp3.WhatApplies().boost);
  EXPECT_FALSE(mp3.HasWork());
  MAKE_CONTROL(ac3, s, pcmLayout(2, 16), true);
  EXPECT_TRUE(ac3.WhatApplies().boost);
}

TEST(ChannelControlApplicability, OtherWidthsAndTagsAreLeftAlone) {
  ChannelControlSettings s;
  s.volBoost = true;
  MAKE_CONTROL(eightBit, s, pcmLayout(2, 8));
  EXPECT_FALSE(eightBit.HasWork());
  PcmFormat spdif = pcmLayout(2, 16);
  spdif.formatTag = PcmFormat::kTagAc3Spdif;
  MAKE_CONTROL(passthrough, s, spdif);
  EXPECT_FALSE(passthrough.HasWork());
}

TEST(ChannelControlApplicability, VolumeAdjustNeedsASpeakerWithANonzeroLevel) {
  ChannelControlSettings s;
  s.volAdjust = true;
  s.lfeLevelDb = 6;
  // Only the LFE has a level, and the filter's input has no LFE (stereo
  // expanded to 5.1): nothing to adjust.
  ChannelControl control;
  control.SetSettings(s);
  control.SetHasLfe(false);
  control.Configure(extensibleLayout(6, 16, kMask51));
  EXPECT_FALSE(control.WhatApplies().volAdjust);
  EXPECT_FALSE(control.WhatApplies().lfeMixer);
  // The centre level applies to the expanded channels all the same.
  s.centerLevelDb = -6;
  control.SetSettings(s);
  control.Refresh();
  EXPECT_TRUE(control.WhatApplies().volAdjust);
  PcmTestBuffer<std::int16_t> buffer{100, 100, 1000, 1000, 100, 100};
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{100, 100, 501, 1000, 100, 100}));
}

TEST(ChannelControlVolumeAdjust, EightChannelFrontOfCentreFollowsTheRearLevel) {
  ChannelControlSettings s;
  s.volAdjust = true;
  s.frontLevelDb = 6;
  s.centerLevelDb = 0;
  s.rearLevelDb = -6;
  MAKE_CONTROL(control, s, extensibleLayout(8, 16, kMask71));
  // FL FR C LFE BL BR FLC FRC. 1000 * 10^0.3 = 1995.26 -> 1995;
  // 1000 * 10^-0.3 = 501.19 -> 501; -1000 -> -501 (toward zero).
  PcmTestBuffer<std::int16_t> buffer{1000, -1000, 1000, 1000, 1000, -1000, 1000, -1000};
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{1995, -1995, 1000, 1000, 501, -501, 501, -501}));
  EXPECT_DOUBLE_EQ(control.Gains().center, 1.0);
}

TEST(ChannelControlVolumeAdjust, ClampsAtBothEndsOfEachWidth) {
  ChannelControlSettings s;
  s.volAdjust = true;
  s.frontLevelDb = 20;
  s.lfeLevelDb = 20;
  MAKE_CONTROL(control16, s, extensibleLayout(4, 16, 0x33));
  PcmTestBuffer<std::int16_t> buffer16{20000, -20000, 20000, -20000};
  EXPECT_EQ(run(control16, buffer16), (std::vector<std::int16_t>{32767, -32768, 20000, -20000}));

  MAKE_CONTROL(control32, s, extensibleLayout(6, 32, kMask51));
  PcmTestBuffer<std::int32_t> buffer32{kInt32Max / 2, kInt32Min / 2, 7, 300000000, 9, -9};
  EXPECT_EQ(run(control32, buffer32), (std::vector<std::int32_t>{kInt32Max, kInt32Min, 7, kInt32Max, 9, -9}));
}

ChannelControlSettings lfeSettings(int level, bool correct, bool protect) {
  ChannelControlSettings s;
  s.lfeMixer = true;
  s.lfeMixerLevel = level;
  s.lfeCorrectSignalLevel = correct;
  s.lfeOverflowProtection = protect;
  return s;
}

TEST(ChannelControlLfeMixer, FullMixWithCorrectionHalvesFirst) {
  MAKE_CONTROL(control, lfeSettings(100, true, false), extensibleLayout(6, 16, kMask51));
  PcmTestBuffer<std::int16_t> buffer{1000,  -1001, 500, 3001,  7,      -7,  //
                                     32767, 32767, 0,   32767, -32768, -32768};
  // All halved (toward zero), then the halved LFE added to FL and FR, LFE 0.
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{2000, 1000, 250, 0, 3, -3,  //
                                                             32766, 32766, 0, 0, -16384, -16384}));
}

TEST(ChannelControlLfeMixer, SaturatesOrWrapsWithoutCorrection) {
  const std::vector<std::int16_t> input{32000, -32000, 0, 32000, 0, 0};
  MAKE_CONTROL(protect, lfeSettings(50, false, true), extensibleLayout(6, 16, kMask51));
  PcmTestBuffer<std::int16_t> saturated(input);
  EXPECT_EQ(run(protect, saturated), (std::vector<std::int16_t>{32767, -16000, 0, 0, 0, 0}));

  MAKE_CONTROL(wrap, lfeSettings(50, false, false), extensibleLayout(6, 16, kMask51));
  PcmTestBuffer<std::int16_t> wrapped(input);
  // 32000 + 16000 = 48000 wraps to 48000 - 65536.
  EXPECT_EQ(run(wrap, wrapped), (std::vector<std::int16_t>{-17536, -16000, 0, 0, 0, 0}));

  MAKE_CONTROL(wrap32, lfeSettings(100, false, false), extensibleLayout(6, 32, kMask51));
  PcmTestBuffer<std::int32_t> wrapped32{kInt32Max, kInt32Min, 0, 2, 5, 5};
  EXPECT_EQ(run(wrap32, wrapped32), (std::vector<std::int32_t>{kInt32Min + 1, kInt32Min + 2, 0, 0, 5, 5}));
}

TEST(ChannelControlLfeMixer, MaskNamingMoreSpeakersThanChannelsDoesNotMix) {
  // Three channels but a mask of FL FR C LFE: the LFE would be the first
  // sample of the next frame.
  MAKE_CONTROL(control, lfeSettings(100, false, true), extensibleLayout(3, 16, 0xF));
  EXPECT_FALSE(control.WhatApplies().lfeMixer);
  PcmTestBuffer<std::int16_t> buffer{1, 2, 3, 4, 5, 6};
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}));
  // Three channels FL FR LFE are fine.
  MAKE_CONTROL(ok, lfeSettings(100, false, true), extensibleLayout(3, 16, 0xB));
  PcmTestBuffer<std::int16_t> mixed{1, 2, 3, 4, 5, 6};
  EXPECT_EQ(run(ok, mixed), (std::vector<std::int16_t>{4, 5, 0, 10, 11, 0}));
}

ChannelControlSettings boostSettings(int level, BoostAlgorithm algorithm) {
  ChannelControlSettings s;
  s.volBoost = true;
  s.volBoostLevelDb = level;
  s.volBoostAlgorithm = algorithm;
  return s;
}

TEST(ChannelControlBoost, SoftCurveOn16BitKeepsZeroAndFullScale) {
  MAKE_CONTROL(control, boostSettings(10, BoostAlgorithm::kSoftCurve), pcmLayout(2, 16));
  PcmTestBuffer<std::int16_t> buffer{0, 32767, -32768, 10, -10, 100, 1000, 16384};
  // y(x) * 32768 at 10 dB: 10 -> 31.59, 100 -> 313.4, 1000 -> 2910.06,
  // 16384 -> 24387.6, 32767 -> 32767.68; -32768 goes through entry 32768.
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{0, 32767, -32768, 31, -31, 313, 2910, 24387}));
  ASSERT_TRUE(control.CurrentBoostTable().Built());
  EXPECT_EQ(control.CurrentBoostTable().Entries()[32768], 32768);
  EXPECT_EQ(control.CurrentBoostTable().BuiltForLevel(), 10);
}

TEST(ChannelControlBoost, SoftCurveOn32BitComputedPerSample) {
  MAKE_CONTROL(control, boostSettings(10, BoostAlgorithm::kSoftCurve), pcmLayout(2, 32));
  PcmTestBuffer<std::int32_t> buffer{0, kInt32Min, kInt32Max, 1000, -1000, 123456789};
  // 1000 * 2^-31 -> y * 2^31 = 3162.27; 123456789 -> 337027909.93.
  EXPECT_EQ(run(control, buffer),
            (std::vector<std::int32_t>{0, kInt32Min, kInt32Max, 3162, -3162, 337027909}));
  EXPECT_FALSE(control.CurrentBoostTable().Built());
}

TEST(ChannelControlBoost, SoftCurveOn32BitMatchesTheFormulaForManySamples) {
  // The 32-bit curve takes a faster route for most samples; every result
  // must still equal the formula as written.
  std::mt19937 random(11);
  std::uniform_int_distribution<std::int32_t> any(kInt32Min, kInt32Max);
  std::uniform_int_distribution<std::int32_t> small(-70000, 70000);
  std::vector<std::int32_t> input;
  for (int i = 0; i < 150000; ++i) {
    input.push_back(i % 3 == 0 ? small(random) : any(random));
  }
  input.insert(input.end(), {0, 1, -1, kInt32Max, kInt32Max - 1, kInt32Min, kInt32Min + 1});
  for (const int level : {1, 10, 20}) {
    const double g = std::pow(10.0, level * 0.05);
    const auto y = [g](double x) {
      const double t = (std::sqrt(x * (g * g - 1.0) + 1.0) - 1.0) / (g - 1.0);
      return ((1.0 - g) * t + 2.0 * g) * t / (g + 1.0);
    };
    MAKE_CONTROL(control, boostSettings(level, BoostAlgorithm::kSoftCurve), pcmLayout(1, 32));
    PcmTestBuffer<std::int32_t> buffer(input);
    const auto output = run(control, buffer);
    for (std::size_t i = 0; i < input.size(); ++i) {
      const std::int32_t s = input[i];
      const double x = std::fabs(static_cast<double>(s)) * 0x1p-31;
      const double scaled = s >= 0 ? y(x) * 2147483648.0 : y(x) * -2147483648.0;
      const std::int32_t expected = s == kInt32Min ? s : static_cast<std::int32_t>(scaled);
      ASSERT_EQ(output[i], expected) << "level " << level << " sample " << s;
    }
  }
}

TEST(ChannelControlBoost, PlainGainClips) {
  MAKE_CONTROL(control, boostSettings(6, BoostAlgorithm::kPlainGain), pcmLayout(1, 16));
  PcmTestBuffer<std::int16_t> buffer{1000, -1000, 20000, -20000};
  // 10^0.3 = 1.99526.
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{1995, -1995, 32767, -32768}));
}

// Every 16-bit value through the boost, against the formulas computed here.
TEST(ChannelControlBoost, Every16BitValueMatchesTheFormulas) {
  std::vector<std::int16_t> all;
  for (int v = -32768; v <= 32767; ++v) {
    all.push_back(static_cast<std::int16_t>(v));
  }
  for (const int level : {1, 7, 20}) {
    const double g = std::pow(10.0, level * 0.05);
    const auto y = [g](double x) {
      const double t = (std::sqrt(x * (g * g - 1.0) + 1.0) - 1.0) / (g - 1.0);
      return ((1.0 - g) * t + 2.0 * g) * t / (g + 1.0);
    };
    MAKE_CONTROL(soft, boostSettings(level, BoostAlgorithm::kSoftCurve), pcmLayout(1, 16));
    MAKE_CONTROL(plain, boostSettings(level, BoostAlgorithm::kPlainGain), pcmLayout(1, 16));
    PcmTestBuffer<std::int16_t> softBuffer(all);
    PcmTestBuffer<std::int16_t> plainBuffer(all);
    const auto softOut = run(soft, softBuffer);
    const auto plainOut = run(plain, plainBuffer);
    for (std::size_t i = 0; i < all.size(); ++i) {
      const int s = all[i];
      const int entry = static_cast<int>(y(std::abs(s) / 32768.0) * 32768.0);
      const int softExpected = s < 0 ? -entry : std::min(entry, 32767);
      const double product = std::trunc(s * g);
      const int plainExpected = static_cast<int>(std::clamp(product, -32768.0, 32767.0));
      ASSERT_EQ(softOut[i], softExpected) << "level " << level << " sample " << s;
      ASSERT_EQ(plainOut[i], plainExpected) << "level " << level << " sample " << s;
    }
  }
}

TEST(ChannelControlBoost, TableFollowsLevelAlgorithmAndSwitch) {
  ChannelControlSettings s = boostSettings(10, BoostAlgorithm::kSoftCurve);
  MAKE_CONTROL(control, s, pcmLayout(1, 16));
  PcmTestBuffer<std::int16_t> first{100};
  EXPECT_EQ(run(control, first), std::vector<std::int16_t>{313});

  s.volBoostLevelDb = 20;  // g = 10: y * 32768 = 927.5 for 100
  control.SetSettings(s);
  control.Refresh();
  PcmTestBuffer<std::int16_t> second{100};
  EXPECT_EQ(run(control, second), std::vector<std::int16_t>{927});
  EXPECT_EQ(control.CurrentBoostTable().BuiltForLevel(), 20);

  s.volBoostAlgorithm = BoostAlgorithm::kPlainGain;
  control.SetSettings(s);
  control.Refresh();
  EXPECT_FALSE(control.CurrentBoostTable().Built());

  s.volBoostAlgorithm = BoostAlgorithm::kSoftCurve;
  s.volBoost = false;
  control.SetSettings(s);
  control.Refresh();
  PcmTestBuffer<std::int16_t> third{100};
  EXPECT_EQ(run(control, third), std::vector<std::int16_t>{100});
  EXPECT_FALSE(control.CurrentBoostTable().Built());
}

TEST(ChannelControlBoost, EveryTableEntryStaysInRangeAndRises) {
  for (int level = 1; level <= 20; ++level) {
    BoostTable table;
    ASSERT_TRUE(table.Prepare(level));
    EXPECT_EQ(table.Entries()[0], 0);
    EXPECT_EQ(table.Entries()[32768], 32768) << level;
    for (std::size_t i = 1; i < BoostTable::kEntries; ++i) {
      ASSERT_GE(table.Entries()[i], table.Entries()[i - 1]) << level << " at " << i;
      ASSERT_GE(table.Entries()[i], i) << level << " at " << i;
    }
  }
}

TEST(ChannelControlProcessing, AllOperationsInOrderOn51) {
  ChannelControlSettings s = lfeSettings(100, true, true);
  s.volAdjust = true;
  s.rearLevelDb = 6;  // rear x 1.99526
  s.frBalance = true;
  s.frBalanceLevel = 50;  // rear x 50 / 100
  s.volBoost = true;
  s.volBoostAlgorithm = BoostAlgorithm::kPlainGain;
  s.volBoostLevelDb = 20;  // x 10
  MAKE_CONTROL(control, s, extensibleLayout(6, 16, kMask51));
  PcmTestBuffer<std::int16_t> buffer{100, 200, 300, 400, 1000, -1000};
  // rear: 1000 -> 1995 -> 997 -> halved 498 -> x10 4980.
  // LFE: 400 -> 200 added to FL (50 + 200) and FR (100 + 200); centre 150.
  EXPECT_EQ(run(control, buffer), (std::vector<std::int16_t>{2500, 3000, 1500, 0, 4980, -4980}));
}

TEST(ChannelControlProcessing, PartialFramesAndShortBuffersAreSafe) {
  MAKE_CONTROL(control, boostSettings(6, BoostAlgorithm::kPlainGain), pcmLayout(2, 16));
  PcmTestBuffer<std::int16_t> buffer{1000, 1000, 1000};
  // The odd sample is half a frame and stays; a data length beyond the buffer is cut to it.
  const auto outcome = control.Process(buffer.data(), buffer.dataBytes() + 1000);
  EXPECT_EQ(outcome.frames, 1u);
  EXPECT_TRUE(buffer.guardIntact());
  EXPECT_EQ(buffer.samples(), (std::vector<std::int16_t>{1995, 1995, 1000}));

  MAKE_CONTROL(noChannels, boostSettings(6, BoostAlgorithm::kPlainGain), pcmLayout(0, 16));
  EXPECT_EQ(noChannels.Process(buffer.data(), buffer.dataBytes()).frames, 0u);
}

TEST(ChannelControlProcessing, LargeBuffersCrossBlockBoundaries) {
  ChannelControlSettings s = balanceSettings(-40);
  MAKE_CONTROL(control, s, extensibleLayout(6, 16, kMask51));
  std::vector<std::int16_t> input(6 * 5001);
  for (std::size_t i = 0; i < input.size(); ++i) {
    input[i] = static_cast<std::int16_t>(i * 37);
  }
  PcmTestBuffer<std::int16_t> buffer(input);
  const auto output = run(control, buffer);
  for (std::size_t i = 0; i < input.size(); ++i) {
    const int expected = (i % 6) < 4 ? input[i] * 60 / 100 : input[i];
    ASSERT_EQ(output[i], expected) << i;
  }
}

// Random samples (with the extremes mixed in), random settings and formats:
// the vectorised loops give exactly the reference loops' samples.
template <typename Sample>
std::vector<Sample> randomSamples(std::mt19937& random, std::size_t count) {
  std::uniform_int_distribution<std::int64_t> full(std::numeric_limits<Sample>::min(),
                                                   std::numeric_limits<Sample>::max());
  std::uniform_int_distribution<int> kind(0, 9);
  std::vector<Sample> samples(count);
  for (Sample& sample : samples) {
    const int k = kind(random);
    const std::int64_t value = full(random);
    sample = static_cast<Sample>(k == 0   ? std::numeric_limits<Sample>::min()
                                 : k == 1 ? std::numeric_limits<Sample>::max()
                                 : k < 5  ? value >> (sizeof(Sample) * 4)  // quiet
                                          : value);
  }
  return samples;
}

ChannelControlSettings randomSettings(std::mt19937& random) {
  std::uniform_int_distribution<int> coin(0, 1), db(-20, 20), level(-100, 100), share(0, 100),
      boostDb(-2, 22);
  ChannelControlSettings s;
  s.volAdjust = coin(random);
  s.frontLevelDb = db(random);
  s.centerLevelDb = db(random);
  s.lfeLevelDb = db(random);
  s.rearLevelDb = db(random);
  s.frBalance = coin(random);
  s.frBalanceLevel = level(random);
  s.lfeMixer = coin(random);
  s.lfeMixerLevel = share(random);
  s.lfeCorrectSignalLevel = coin(random);
  s.lfeOverflowProtection = coin(random);
  s.volBoost = coin(random);
  s.volBoostLevelDb = boostDb(random);
  s.volBoostAlgorithm = coin(random) ? BoostAlgorithm::kPlainGain : BoostAlgorithm::kSoftCurve;
  return s;
}

template <typename Sample>
void expectFastMatchesReference(const PcmFormat& layout, std::uint32_t seed) {
  std::mt19937 random(seed);
  const ChannelControlSettings settings = randomSettings(random);
  // An odd frame count reaches every loop's tail; an offset start the unaligned path.
  const std::size_t frames = 3001 + seed % 7;
  const std::vector<Sample> input = randomSamples<Sample>(random, frames * layout.channels);
  const std::size_t offset = seed % 3 == 0 ? 1 : 0;
  std::vector<std::byte> fast(input.size() * sizeof(Sample) + offset), reference(fast.size());
  std::memcpy(fast.data() + offset, input.data(), input.size() * sizeof(Sample));
  reference = fast;

  MAKE_CONTROL(fastControl, settings, layout);
  MAKE_CONTROL(referenceControl, settings, layout);
  referenceControl.UseReferenceKernels(true);
  const auto span = [offset](std::vector<std::byte>& bytes) { return std::span(bytes).subspan(offset); };
  EXPECT_EQ(fastControl.Process(span(fast), fast.size() - offset).frames, frames);
  EXPECT_EQ(referenceControl.Process(span(reference), reference.size() - offset).frames, frames);
  ASSERT_TRUE(fast == reference) << "seed " << seed << " (" << layout.channels << " channels, "
                                 << layout.bitsPerSample << " bits)";
}

TEST(ChannelControlProcessing, VectorisedLoopsGiveTheReferenceSamples) {
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    expectFastMatchesReference<std::int32_t>(extensibleLayout(6, 32, kMask51), seed);
    expectFastMatchesReference<std::int32_t>(extensibleLayout(8, 32, kMask71), seed);
    expectFastMatchesReference<std::int16_t>(extensibleLayout(6, 16, kMask51), seed);
    expectFastMatchesReference<std::int16_t>(pcmLayout(2, 16), seed);
    expectFastMatchesReference<std::int32_t>(pcmLayout(2, 32), seed);
  }
}

TEST(ChannelControlBoost, SoftCurveOn32BitVectorisedMatchesTheFormulaEverywhere) {
  // Two million samples spread over the whole range: among them are values
  // whose scaled result lies so close to a whole number that only the
  // formula itself truncates it right (the vectorised loop must notice).
  for (int level : {1, 10, 20}) {
    const SoftCurve curve(level);
    std::vector<std::int32_t> samples;
    for (std::int64_t v = kInt32Min; v <= kInt32Max; v += 2147) {
      samples.push_back(static_cast<std::int32_t>(v));
    }
    samples.push_back(kInt32Max);
    std::vector<std::int32_t> expected = samples;
    ReferenceChannelKernels().softBoost32(expected.data(), expected.size(), curve);
    const std::vector<std::int32_t> input = samples;
    FastChannelKernels().softBoost32(samples.data(), samples.size(), curve);
    const auto [got, want] = std::mismatch(samples.begin(), samples.end(), expected.begin());
    ASSERT_TRUE(got == samples.end()) << "level " << level << ": sample " << input[got - samples.begin()]
                                      << " became " << *got << ", not " << *want;
  }
}

TEST(ChannelPositions, FollowTheMaskOrder) {
  const auto p51 = ChannelPositions::FromLayout(extensibleLayout(6, 16, kMask51));
  EXPECT_EQ(p51.frontLeft, 0);
  EXPECT_EQ(p51.frontRight, 1);
  EXPECT_EQ(p51.frontCenter, 2);
  EXPECT_EQ(p51.lowFrequency, 3);
  const auto noCentre = ChannelPositions::FromLayout(extensibleLayout(5, 16, 0x3B));
  EXPECT_EQ(noCentre.frontCenter, -1);
  EXPECT_EQ(noCentre.lowFrequency, 2);
  const auto all = ChannelPositions::FromLayout(extensibleLayout(6, 16, 0x8000003F));
  EXPECT_EQ(all.frontLeft, -1);
  EXPECT_EQ(all.lowFrequency, -1);
}

}  // namespace
}  // namespace zmsp
