#include "soundproc/stages/WsolaStretcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace zmsp {
namespace {

constexpr int kRate = 44100;
constexpr double kAmplitude = 10000.0;
constexpr std::int16_t kGuard = 0x5A5A;

// A tone of `hz` on every channel (each channel a little quieter than the last).
std::vector<std::int16_t> tone(double hz, std::size_t frames, int channels) {
  std::vector<std::int16_t> pcm(frames * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < frames; ++i) {
    const double s = kAmplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / kRate);
    for (int c = 0; c < channels; ++c) {
      pcm[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
          static_cast<std::int16_t>(std::lround(s * (1.0 - 0.1 * c)));
    }
  }
  return pcm;
}

// A sweep with a little noise: every frame differs from its neighbours.
std::vector<std::int16_t> music(std::size_t frames, int channels) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  std::vector<std::int16_t> pcm(frames * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    for (int c = 0; c < channels; ++c) {
      const double v =
          8000 * std::sin(2 * std::numbers::pi * (200 + 300 * t + 50 * c) * t) + 500 * noise(rng);
      pcm[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
          static_cast<std::int16_t>(v);
    }
  }
  return pcm;
}

std::vector<std::int16_t> drain(WsolaStretcher& stretcher) {
  std::vector<std::int16_t> out(stretcher.Available() * static_cast<std::size_t>(stretcher.Channels()));
  EXPECT_EQ(
      stretcher.Pull(out.data(), stretcher.Available()) * static_cast<std::size_t>(stretcher.Channels()),
      out.size());
  return out;
}

std::vector<std::int16_t> stretchWhole(const std::vector<std::int16_t>& in, int channels, double speed) {
  WsolaStretcher stretcher;
  EXPECT_TRUE(stretcher.Configure(channels, kRate));
  stretcher.SetSpeed(speed);
  const std::size_t frames = in.size() / static_cast<std::size_t>(channels);
  EXPECT_EQ(stretcher.Push(in.data(), frames), frames);
  stretcher.Flush();
  return drain(stretcher);
}

// Frequency of channel `c` from its rising zero crossings between 10 % and
// 90 % of the signal (interpolated between samples).
double frequency(const std::vector<std::int16_t>& pcm, int channels, int c) {
  const std::size_t frames = pcm.size() / static_cast<std::size_t>(channels);
  auto at = [&](std::size_t i) {
    return static_cast<double>(pcm[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)]);
  };
  double first = -1;
  double last = -1;
  int crossings = 0;
  for (std::size_t i = frames / 10; i + 1 < frames * 9 / 10; ++i) {
    if (at(i) < 0 && at(i + 1) >= 0) {
      const double t = static_cast<double>(i) + at(i) / (at(i) - at(i + 1));
      first = first < 0 ? t : first;
      last = t;
      ++crossings;
    }
  }
  return crossings > 1 ? (crossings - 1) * kRate / (last - first) : 0.0;
}

// Largest step between neighbouring samples of channel `c`.
int largestStep(const std::vector<std::int16_t>& pcm, int channels, int c) {
  int step = 0;
  const auto ch = static_cast<std::size_t>(channels);
  for (std::size_t i = ch + static_cast<std::size_t>(c); i < pcm.size(); i += ch) {
    step = std::max(step, std::abs(pcm[i] - pcm[i - ch]));
  }
  return step;
}

// The most a 440 Hz tone of kAmplitude moves between samples, with room for
// rounding and the slight level dips of overlap-add.
const int kToneStep = static_cast<int>(kAmplitude * 2 * std::numbers::pi * 440 / kRate * 1.1) + 2;

struct Stretch {
  double speed;
  int channels;
};

class StretcherSpeeds : public ::testing::TestWithParam<Stretch> {};

TEST_P(StretcherSpeeds, KeepsPitchAndDividesLengthBySpeed) {
  const auto [speed, channels] = GetParam();
  constexpr std::size_t kFrames = 3 * kRate;
  const auto out = stretchWhole(tone(440.0, kFrames, channels), channels, speed);
  const double frames = static_cast<double>(out.size()) / channels;
  EXPECT_NEAR(frames, kFrames / speed, 0.01 * kFrames / speed);
  for (int c = 0; c < channels; ++c) {
    EXPECT_NEAR(frequency(out, channels, c), 440.0, 4.4) << "channel " << c;
  }
  EXPECT_LE(largestStep(out, channels, 0), kToneStep);
}

INSTANTIATE_TEST_SUITE_P(Speeds, StretcherSpeeds,
                         ::testing::Values(Stretch{0.563, 1}, Stretch{0.75, 2}, Stretch{1.0, 2},
                                           Stretch{1.5, 2}, Stretch{1.5, 4}, Stretch{3.0, 6},
                                           Stretch{10.0, 2}),
                         [](const auto& info) {
                           return std::to_string(static_cast<int>(info.param.speed * 1000)) + "_" +
                                  std::to_string(info.param.channels) + "ch";
                         });

// Cutting the input into random pieces and pulling in random amounts gives
// the same output, and a pull never writes past the capacity it was given.
TEST(Stretcher, OutputIndependentOfBufferSizes) {
  for (const double speed : {0.563, 1.5, 10.0}) {
    SCOPED_TRACE(speed);
    constexpr int kChannels = 2;
    const auto input = music(2 * kRate, kChannels);
    const auto expected = stretchWhole(input, kChannels, speed);

    WsolaStretcher stretcher;
    ASSERT_TRUE(stretcher.Configure(kChannels, kRate));
    stretcher.SetSpeed(speed);
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::size_t> size(1, 3000);
    std::vector<std::int16_t> got;
    auto pullSome = [&] {
      const std::size_t capacity = size(rng);
      std::vector<std::int16_t> buffer((capacity + 3) * kChannels, kGuard);
      const std::size_t n = stretcher.Pull(buffer.data(), capacity);
      ASSERT_LE(n, capacity);
      ASSERT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(n * kChannels), buffer.end(),
                              [](std::int16_t s) { return s == kGuard; }));
      got.insert(got.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n * kChannels));
    };
    const std::size_t frames = input.size() / kChannels;
    for (std::size_t done = 0; done < frames;) {
      const std::size_t n = std::min(size(rng), frames - done);
      ASSERT_EQ(stretcher.Push(input.data() + done * kChannels, n), n);
      done += n;
      pullSome();
    }
    stretcher.Flush();
    while (stretcher.Available() > 0) {
      pullSome();
    }
    EXPECT_EQ(got, expected);
  }
}

// Output appears within the stated latency; a speed change while streaming
// leaves no step in a steady tone.
TEST(Stretcher, BoundedLatencyAndSmoothSpeedChanges) {
  WsolaStretcher stretcher;
  ASSERT_TRUE(stretcher.Configure(2, kRate));
  const auto input = tone(440.0, 6 * kRate, 2);
  std::vector<std::int16_t> out;
  std::size_t pushed = 0;
  const double speeds[] = {1.0, 0.563, 2.0, 10.0, 0.75};
  for (std::size_t piece = 0; pushed < 6 * kRate; ++piece) {
    stretcher.SetSpeed(speeds[(piece / 40) % 5]);
    const std::size_t n = std::min<std::size_t>(1000, 6 * kRate - pushed);
    ASSERT_EQ(stretcher.Push(input.data() + 2 * pushed, n), n);
    pushed += n;
    const auto got = drain(stretcher);
    out.insert(out.end(), got.begin(), got.end());
    if (pushed > stretcher.LatencyFrames()) {
      ASSERT_GT(out.size(), 0u) << "nothing after " << pushed << " frames";
    }
  }
  stretcher.Flush();
  const auto tail = drain(stretcher);
  out.insert(out.end(), tail.begin(), tail.end());
  EXPECT_LE(largestStep(out, 2, 0), kToneStep);
  EXPECT_LE(largestStep(out, 2, 1), kToneStep);
}

// Flush() ends one stream; the next push starts another from its own start,
// and output not yet pulled is kept. Reset() drops everything.
TEST(Stretcher, FlushStartsANewStreamAndResetDropsOutput) {
  WsolaStretcher stretcher;
  ASSERT_TRUE(stretcher.Configure(1, kRate));
  stretcher.SetSpeed(2.0);
  const auto input = tone(440.0, kRate, 1);
  ASSERT_EQ(stretcher.Push(input.data(), kRate), static_cast<std::size_t>(kRate));
  stretcher.Flush();
  const std::size_t first = stretcher.Available();
  EXPECT_NEAR(static_cast<double>(first), kRate / 2.0, 2.0);
  ASSERT_EQ(stretcher.Push(input.data(), kRate), static_cast<std::size_t>(kRate));
  stretcher.Flush();
  const auto both = drain(stretcher);
  ASSERT_EQ(both.size(), 2 * first);
  EXPECT_TRUE(std::equal(both.begin(), both.begin() + static_cast<std::ptrdiff_t>(first),
                         both.begin() + static_cast<std::ptrdiff_t>(first)));

  ASSERT_EQ(stretcher.Push(input.data(), kRate), static_cast<std::size_t>(kRate));
  stretcher.Reset();
  EXPECT_EQ(stretcher.Available(), 0u);
  stretcher.Flush();
  EXPECT_EQ(stretcher.Available(), 0u);
}

TEST(Stretcher, RefusesBadFormatsAndInput) {
  WsolaStretcher stretcher;
  for (const auto& [channels, rate] : {std::pair{3, kRate}, {8, kRate}, {0, kRate}, {2, 0}, {2, -44100}}) {
    EXPECT_FALSE(stretcher.Configure(channels, rate)) << channels << " channels at " << rate;
  }
  std::int16_t buffer[4] = {};
  EXPECT_EQ(stretcher.Push(buffer, 2), 0u);
  ASSERT_TRUE(stretcher.Configure(2, kRate));
  EXPECT_EQ(stretcher.Push(nullptr, 2), 0u);
  EXPECT_EQ(stretcher.Pull(nullptr, 2), 0u);
  stretcher.SetSpeed(100.0);
  EXPECT_EQ(stretcher.Speed(), WsolaStretcher::kMaxSpeed);
  stretcher.SetSpeed(std::nan(""));
  EXPECT_EQ(stretcher.Speed(), WsolaStretcher::kMaxSpeed);
  stretcher.SetSpeedThousandths(100);
  EXPECT_EQ(stretcher.Speed(), WsolaStretcher::kMinSpeed);
}

// A stream shorter than one frame still comes out at its stretched length.
TEST(Stretcher, ShortStreamsComeOut) {
  for (const std::size_t frames : {std::size_t{1}, std::size_t{100}, std::size_t{2000}}) {
    const auto out = stretchWhole(music(frames, 2), 2, 0.75);
    EXPECT_NEAR(static_cast<double>(out.size()) / 2, frames / 0.75, 1.0) << frames;
  }
}

}  // namespace
}  // namespace zmsp
