#include "soundproc/stages/MatrixUpmixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace zmsp {
namespace {

constexpr int kRate = 48000;
constexpr double kAmplitude = 8000.0;
enum Out6 { kFL, kFR, kFC, kLFE, kBL, kBR };

// A 440 Hz tone on the left and right inputs with the given gains.
std::vector<std::int16_t> stereoTone(double left, double right, std::size_t frames) {
  std::vector<std::int16_t> pcm(frames * 2);
  for (std::size_t i = 0; i < frames; ++i) {
    const double s = kAmplitude * std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(i) / kRate);
    pcm[2 * i] = static_cast<std::int16_t>(std::lround(left * s));
    pcm[2 * i + 1] = static_cast<std::int16_t>(std::lround(right * s));
  }
  return pcm;
}

std::vector<std::int16_t> noise(std::size_t samples, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> dist(-20000, 20000);
  std::vector<std::int16_t> pcm(samples);
  for (auto& s : pcm) {
    s = static_cast<std::int16_t>(dist(rng));
  }
  return pcm;
}

std::vector<std::int16_t> upmix(MatrixUpmixer& upmixer, const std::vector<std::int16_t>& in) {
  const auto ic = static_cast<std::size_t>(upmixer.InChannels());
  const std::size_t frames = in.size() / ic;
  std::vector<std::int16_t> out(frames * static_cast<std::size_t>(upmixer.OutChannels()));
  EXPECT_EQ(upmixer.Process(in.data(), frames, out.data(), frames), frames);
  return out;
}

// RMS of each output channel after the first `skipFrames` frames.
std::vector<double> channelRms(const std::vector<std::int16_t>& pcm, int channels, std::size_t skipFrames) {
  const auto ch = static_cast<std::size_t>(channels);
  std::vector<double> sum(ch, 0.0);
  const std::size_t frames = pcm.size() / ch;
  for (std::size_t i = skipFrames; i < frames; ++i) {
    for (std::size_t c = 0; c < ch; ++c) {
      sum[c] += static_cast<double>(pcm[i * ch + c]) * pcm[i * ch + c];
    }
  }
  for (auto& s : sum) {
    s = std::sqrt(s / static_cast<double>(frames - skipFrames));
  }
  return sum;
}

struct Decoder {
  const char* name;
  int algorithm;
  int mode;
  bool steered;
};

const Decoder kDecoders[] = {
    {"ProLogic", UpmixParams::kAlgorithmProLogic, UpmixParams::kModeMovie, false},
    {"Ice", UpmixParams::kAlgorithmIce, UpmixParams::kModeMovie, true},
    {"Pl2Emulation", UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeProLogicEmulation, true},
    {"Pl2Virtual", UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeVirtualCompatible, true},
    {"Pl2Music", UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeMusic, true},
    {"Pl2Movie", UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeMovie, true},
    {"Pl2Matrix", UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeMatrix, false},
    {"Pl2Custom", UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeCustom, true},
};

class UpmixerDecoders : public ::testing::TestWithParam<Decoder> {
 protected:
  std::vector<double> levels(double left, double right) {
    MatrixUpmixer upmixer;
    EXPECT_TRUE(upmixer.Configure(2, 6, kRate));
    upmixer.SetParams({GetParam().algorithm, GetParam().mode, 0, UpmixParams::kDimensionNeutral, false});
    const auto out = upmix(upmixer, stereoTone(left, right, kRate / 2));
    return channelRms(out, 6, kRate / 5);  // after the steering has settled
  }
  const double input = kAmplitude / std::sqrt(2.0);
};

TEST_P(UpmixerDecoders, InPhaseGoesMainlyToTheCentre) {
  const auto rms = levels(1.0, 1.0);
  for (int c : {kFL, kFR, kBL, kBR}) {
    EXPECT_GT(rms[kFC], 1.3 * rms[c]) << "channel " << c;
  }
  if (GetParam().steered) {
    EXPECT_LT(rms[kFL], 0.1 * rms[kFC]);
    EXPECT_LT(rms[kBL], 0.1 * rms[kFC]);
  }
}

TEST_P(UpmixerDecoders, AntiphaseGoesToTheSurroundsAndLeavesTheCentreQuiet) {
  const auto rms = levels(1.0, -1.0);
  EXPECT_LT(rms[kFC], 0.01 * input);
  EXPECT_GT(rms[kBL], 0.6 * input);
  EXPECT_GT(rms[kBR], 0.6 * input);
  if (GetParam().steered) {
    EXPECT_LT(rms[kFL], 0.1 * rms[kBL]);
    EXPECT_LT(rms[kFR], 0.1 * rms[kBR]);
  }
}

TEST_P(UpmixerDecoders, LeftOnlyStaysOnTheLeft) {
  const auto rms = levels(1.0, 0.0);
  EXPECT_GT(rms[kFL], 0.9 * input);
  EXPECT_LT(rms[kFR], 0.01 * input);
  EXPECT_LT(rms[kBR], 0.75 * rms[kFL]);
  EXPECT_LT(rms[kFC], 0.75 * rms[kFL]);
  if (GetParam().steered) {
    for (int c : {kFR, kFC, kBL, kBR}) {
      EXPECT_LT(rms[c], 0.05 * rms[kFL]) << "channel " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllAlgorithms, UpmixerDecoders, ::testing::ValuesIn(kDecoders),
                         [](const auto& info) { return std::string(info.param.name); });

struct Shape {
  int in;
  int out;
};

class UpmixerShapes : public ::testing::TestWithParam<Shape> {};

// Any cut of the stream into Process() calls gives the same output, and a
// call never writes past the capacity it was given.
TEST_P(UpmixerShapes, OutputIndependentOfCallSizesAndWithinCapacity) {
  const auto [in, out] = GetParam();
  constexpr std::size_t kFrames = 20000;
  const auto input = noise(kFrames * in, 7);
  MatrixUpmixer whole;
  ASSERT_TRUE(whole.Configure(in, out, 44100));
  const auto expected = upmix(whole, input);

  MatrixUpmixer pieces;
  ASSERT_TRUE(pieces.Configure(in, out, 44100));
  std::mt19937 rng(3);
  std::uniform_int_distribution<std::size_t> size(0, 700);
  constexpr std::int16_t kGuard = 0x5A5A;
  std::vector<std::int16_t> got;
  std::size_t done = 0;
  while (done < kFrames) {
    const std::size_t want = std::min(size(rng), kFrames - done);
    const std::size_t capacity = want / 2 + 1;  // less room than input: only that much is taken
    std::vector<std::int16_t> buffer((capacity + 4) * out, kGuard);
    const std::size_t n = pieces.Process(input.data() + done * in, want, buffer.data(), capacity);
    ASSERT_EQ(n, std::min(want, capacity));
    ASSERT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(n * out), buffer.end(),
                            [](std::int16_t s) { return s == kGuard; }));
    got.insert(got.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n * out));
    done += n;
  }
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(AllPairs, UpmixerShapes,
                         ::testing::Values(Shape{2, 4}, Shape{2, 6}, Shape{2, 7}, Shape{2, 8}, Shape{4, 6},
                                           Shape{4, 7}, Shape{4, 8}, Shape{6, 7}, Shape{6, 8}),
                         [](const auto& info) {
                           return std::to_string(info.param.in) + "to" + std::to_string(info.param.out);
                         });

// Input channels that exist in the output layout come through unchanged:
// 4 = FL FR BL BR sits at FL FR BL BR (0, 1, 4, 5) of every larger layout,
// but its fronts give up what the centre takes, so only its rears are compared.
TEST(Upmixer, KeepsTheChannelsTheInputHas) {
  for (const auto [in, out] : {Shape{4, 6}, Shape{4, 7}, Shape{4, 8}, Shape{6, 7}, Shape{6, 8}}) {
    SCOPED_TRACE(std::to_string(in) + " to " + std::to_string(out));
    const auto input = noise(4000 * static_cast<std::size_t>(in), 11);
    MatrixUpmixer upmixer;
    ASSERT_TRUE(upmixer.Configure(in, out, 44100));
    const auto output = upmix(upmixer, input);
    const std::vector<std::pair<int, int>> kept =
        in == 4 ? std::vector<std::pair<int, int>>{{2, 4}, {3, 5}}
                : std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
    for (std::size_t i = 0; i < 4000; ++i) {
      for (const auto& [from, to] : kept) {
        ASSERT_EQ(output[i * static_cast<std::size_t>(out) + static_cast<std::size_t>(to)],
                  input[i * static_cast<std::size_t>(in) + static_cast<std::size_t>(from)])
            << "frame " << i << " channel " << from;
      }
    }
  }
}

// The steering follows a change of direction in the same time at any sample
// rate: a left-only tone turning into a centre tone is in the centre within
// 100 ms, and not before the envelopes could have followed.
TEST(Upmixer, SteeringTimeIndependentOfSampleRate) {
  for (const int rate : {8000, 44100, 96000}) {
    SCOPED_TRACE(rate);
    const auto frames = static_cast<std::size_t>(rate) / 2;
    std::vector<std::int16_t> input(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
      const double s = kAmplitude * std::sin(2 * std::numbers::pi * 200.0 * static_cast<double>(i) / rate);
      input[2 * i] = static_cast<std::int16_t>(s);
      input[2 * i + 1] = i < frames / 2 ? 0 : static_cast<std::int16_t>(s);
    }
    MatrixUpmixer upmixer;
    ASSERT_TRUE(upmixer.Configure(2, 6, rate));
    const auto out = upmix(upmixer, input);
    // RMS of channel c over [from, to) seconds after the change.
    auto level = [&](int c, double from, double to) {
      const std::vector<std::int16_t> piece(
          out.begin() + static_cast<std::ptrdiff_t>(6 * (frames / 2 + static_cast<std::size_t>(from * rate))),
          out.begin() + static_cast<std::ptrdiff_t>(6 * (frames / 2 + static_cast<std::size_t>(to * rate))));
      return channelRms(piece, 6, 0)[static_cast<std::size_t>(c)];
    };
    EXPECT_GT(level(kFL, 0.0, 0.002), 0.3 * level(kFC, 0.0, 0.002));  // still steered to the left
    EXPECT_LT(level(kFL, 0.1, 0.2), 0.1 * level(kFC, 0.1, 0.2));      // now in the centre
  }
}

TEST(Upmixer, RefusesPairsItDoesNotConvert) {
  MatrixUpmixer upmixer;
  for (const auto [in, out] :
       {Shape{1, 6}, Shape{2, 2}, Shape{2, 5}, Shape{4, 4}, Shape{6, 6}, Shape{3, 6}}) {
    EXPECT_FALSE(upmixer.Configure(in, out, 44100)) << in << " to " << out;
  }
  EXPECT_FALSE(upmixer.Configure(2, 6, 0));
  std::int16_t buffer[16] = {};
  EXPECT_EQ(upmixer.Process(buffer, 1, buffer, 1), 0u);
  ASSERT_TRUE(upmixer.Configure(2, 6, 44100));
  EXPECT_EQ(upmixer.Process(nullptr, 1, buffer, 1), 0u);
  EXPECT_EQ(upmixer.Process(buffer, 1, nullptr, 1), 0u);
}

// A full-scale centre signal is louder in the centre than the input: it
// saturates instead of wrapping round to the other sign.
TEST(Upmixer, SaturatesInsteadOfWrapping) {
  std::vector<std::int16_t> input(2 * 4800);
  for (std::size_t i = 0; i < 4800; ++i) {
    const std::int16_t s = (i / 50) % 2 ? -32768 : 32767;
    input[2 * i] = input[2 * i + 1] = s;
  }
  MatrixUpmixer upmixer;
  ASSERT_TRUE(upmixer.Configure(2, 6, kRate));
  const auto out = upmix(upmixer, input);
  for (std::size_t i = 0; i < 4800; ++i) {
    ASSERT_EQ(out[6 * i + kFC] >= 0, input[2 * i] >= 0) << "frame " << i;
  }
  EXPECT_EQ(*std::max_element(out.begin(), out.end()), 32767);
}

// Music mode: centre width 7 moves the centre into the fronts; dimension
// tilts the balance between fronts and rears.
TEST(Upmixer, MusicModeHonoursCentreWidthAndDimension) {
  auto run = [](int width, int dimension, const std::vector<std::int16_t>& input) {
    MatrixUpmixer upmixer;
    EXPECT_TRUE(upmixer.Configure(2, 6, kRate));
    upmixer.SetParams({UpmixParams::kAlgorithmProLogic2, UpmixParams::kModeMusic, width, dimension, false});
    return channelRms(upmix(upmixer, input), 6, kRate / 5);
  };
  const auto centre = stereoTone(1.0, 1.0, kRate / 2);
  const auto narrow = run(0, 3, centre);
  const auto wide = run(7, 3, centre);
  EXPECT_LT(wide[kFC], 0.05 * narrow[kFC]);
  EXPECT_GT(wide[kFL], 0.5 * narrow[kFC]);

  const auto ambience = noise(kRate, 5);  // unrelated left and right
  const auto towardsFront = run(0, 0, ambience);
  const auto towardsRear = run(0, 6, ambience);
  EXPECT_GT(towardsFront[kFL] / towardsFront[kBL], 2.0 * towardsRear[kFL] / towardsRear[kBL]);
}

}  // namespace
}  // namespace zmsp
