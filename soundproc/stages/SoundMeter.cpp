#include "soundproc/stages/SoundMeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace zmsp {

namespace {

// Accumulates |sample| per channel over interleaved frames. The lanes span
// kLanesPerChannel whole frames, so lane j always holds channel j % Channels and
// the inner loop runs over a fixed-size block the compiler can vectorise.
// 16-bit magnitudes (<= 2^15) are summed in 32-bit lanes that are flushed into
// 64-bit totals before they could overflow; 32-bit magnitudes go straight into
// 64-bit lanes.
template <typename Sample, int Channels>
void sumMagnitudes(const std::byte* data, std::size_t frames, std::array<std::uint64_t, kMeterChannels>& totals) {
  constexpr int kFramesPerStep = 16;
  constexpr int kLanes = Channels * kFramesPerStep;
  using Lane = std::conditional_t<sizeof(Sample) == 2, std::uint32_t, std::uint64_t>;
  // 2^15 * 2^16 steps stays below 2^32.
  constexpr std::size_t kStepsPerFlush = sizeof(Sample) == 2 ? (std::size_t{1} << 16) : ~std::size_t{0};

  std::uint64_t laneTotals[kLanes] = {};
  const std::size_t steps = frames / kFramesPerStep;
  std::size_t step = 0;
  while (step < steps) {
    const std::size_t stop = std::min(steps, step + kStepsPerFlush);
    Lane lanes[kLanes] = {};
    for (; step < stop; ++step) {
      Sample block[kLanes];
      std::memcpy(block, data + step * sizeof(block), sizeof(block));
      for (int j = 0; j < kLanes; ++j) {
        const auto wide = static_cast<std::int64_t>(block[j]);
        lanes[j] += static_cast<Lane>(wide < 0 ? -wide : wide);
      }
    }
    for (int j = 0; j < kLanes; ++j) {
      laneTotals[j] += lanes[j];
    }
  }
  for (int j = 0; j < kLanes; ++j) {
    totals[j % Channels] += laneTotals[j];
  }
  // Frames left over after the last whole step.
  const std::byte* tail = data + steps * kFramesPerStep * Channels * sizeof(Sample);
  for (std::size_t frame = steps * kFramesPerStep; frame < frames; ++frame) {
    for (int c = 0; c < Channels; ++c) {
      Sample sample;
      std::memcpy(&sample, tail, sizeof(sample));
      tail += sizeof(sample);
      const auto wide = static_cast<std::int64_t>(sample);
      totals[c] += static_cast<std::uint64_t>(wide < 0 ? -wide : wide);
    }
  }
}

template <typename Sample>
void sumForChannels(int channels, const std::byte* data, std::size_t frames,
                    std::array<std::uint64_t, kMeterChannels>& totals) {
  switch (channels) {
    case 1: return sumMagnitudes<Sample, 1>(data, frames, totals);
    case 2: return sumMagnitudes<Sample, 2>(data, frames, totals);
    case 3: return sumMagnitudes<Sample, 3>(data, frames, totals);
    case 4: return sumMagnitudes<Sample, 4>(data, frames, totals);
    case 5: return sumMagnitudes<Sample, 5>(data, frames, totals);
    case 6: return sumMagnitudes<Sample, 6>(data, frames, totals);
    case 7: return sumMagnitudes<Sample, 7>(data, frames, totals);
    case 8: return sumMagnitudes<Sample, 8>(data, frames, totals);
    default: return;
  }
}

}  // namespace

bool meterSupports(const PcmLayout& layout) {
  return layout.parsed && layout.channels <= kMeterChannels && layout.integerWidthSupported();
}

std::size_t measureLevels(std::span<const std::byte> data, const PcmLayout& layout, MeterLevels& levels) {
  if (!meterSupports(layout)) {
    return 0;
  }
  const std::size_t frames = framesIn(layout, data.size());
  if (frames == 0) {
    return 0;
  }
  std::array<std::uint64_t, kMeterChannels> totals{};
  if (layout.bitsPerSample == 16) {
    sumForChannels<std::int16_t>(layout.channels, data.data(), frames, totals);
  } else {
    sumForChannels<std::int32_t>(layout.channels, data.data(), frames, totals);
  }
  constexpr auto kLevelMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  for (std::size_t c = 0; c < layout.channels; ++c) {
    levels[c] = static_cast<std::int32_t>(std::min(totals[c] / frames, kLevelMax));
  }
  return frames;
}

MeterDisplay levelToDisplay(std::int32_t level, int bitsPerSample) {
  MeterDisplay display;
  display.shown = bitsPerSample == 32 ? (level >> 16) : level;
  if (display.shown > 0) {
    const double bar = std::log(static_cast<double>(display.shown)) * 96.17966939259736;
    display.bar = static_cast<std::int32_t>(std::min(bar, 1000.0));
  }
  return display;
}

}  // namespace zmsp
