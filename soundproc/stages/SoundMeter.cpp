#include "soundproc/stages/SoundMeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zmsp {

namespace {

// |sample| without widening beyond 32 bits (|INT32_MIN| = 2^31 still fits
// unsigned), which keeps the summing loops in narrow vector lanes.
inline std::uint32_t Magnitude(std::int32_t sample) {
  const std::int32_t sign = sample >> 31;
  return static_cast<std::uint32_t>(sample ^ sign) - static_cast<std::uint32_t>(sign);
}

// Frames left after the vectorised part, one sample at a time.
template <typename Sample, int Channels>
void SumTail(const std::byte* data, std::size_t firstFrame, std::size_t frames,
             std::array<std::uint64_t, kMeterChannels>& totals) {
  const std::byte* at = data + firstFrame * Channels * sizeof(Sample);
  for (std::size_t frame = firstFrame; frame < frames; ++frame) {
    for (int c = 0; c < Channels; ++c) {
      Sample sample;
      std::memcpy(&sample, at, sizeof(sample));
      at += sizeof(sample);
      totals[c] += Magnitude(sample);
    }
  }
}

#if defined(__SSE2__)
// Accumulates |sample| per channel over interleaved frames with SSE2 (part of
// every x86-64 processor). A period of lcm(Channels, samples per vector)
// samples, repeated to fill at least four vectors, spans whole frames, so lane
// k of the period always holds channel k % Channels; the period's
// accumulators stay in registers.
// 16-bit magnitudes (<= 2^15) are summed in 32-bit lanes, flushed into 64-bit
// totals every 2^16 periods, long before they could overflow; 32-bit
// magnitudes are summed in 64-bit lanes.
template <typename Sample, int Channels>
void SumMagnitudes(const std::byte* data, std::size_t frames,
                   std::array<std::uint64_t, kMeterChannels>& totals) {
  constexpr int kPerVector = 16 / sizeof(Sample);
  // At least four vectors per period, so that independent additions overlap.
  constexpr int kBasePeriod = std::lcm(Channels, kPerVector);
  constexpr int kPeriod = kBasePeriod * std::max(1, 4 / (kBasePeriod / kPerVector));
  constexpr int kVectors = kPeriod / kPerVector;
  constexpr int kWidePerVector = kPerVector / 2;  // lanes of each widened half
  constexpr std::size_t kPeriodsPerFlush = sizeof(Sample) == 2 ? (std::size_t{1} << 16) : ~std::size_t{0};

  const std::size_t periods = frames * Channels / kPeriod;
  std::uint64_t laneTotals[kPeriod] = {};
  const __m128i zero = _mm_setzero_si128();
  std::size_t period = 0;
  while (period < periods) {
    const std::size_t stop = std::min(periods, period + kPeriodsPerFlush);
    __m128i low[kVectors];
    __m128i high[kVectors];
    for (int v = 0; v < kVectors; ++v) {
      low[v] = high[v] = zero;
    }
    for (; period < stop; ++period) {
      const std::byte* at = data + period * kPeriod * sizeof(Sample);
#pragma GCC unroll 8
      for (int v = 0; v < kVectors; ++v) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + v * 16));
        if constexpr (sizeof(Sample) == 2) {
          // |x| as unsigned 16 bits (|-32768| = 0x8000), widened to 32.
          const __m128i sign = _mm_srai_epi16(x, 15);
          const __m128i mag = _mm_sub_epi16(_mm_xor_si128(x, sign), sign);
          low[v] = _mm_add_epi32(low[v], _mm_unpacklo_epi16(mag, zero));
          high[v] = _mm_add_epi32(high[v], _mm_unpackhi_epi16(mag, zero));
        } else {
          // |x| as unsigned 32 bits (|INT32_MIN| = 2^31), widened to 64.
          const __m128i sign = _mm_srai_epi32(x, 31);
          const __m128i mag = _mm_sub_epi32(_mm_xor_si128(x, sign), sign);
          low[v] = _mm_add_epi64(low[v], _mm_unpacklo_epi32(mag, zero));
          high[v] = _mm_add_epi64(high[v], _mm_unpackhi_epi32(mag, zero));
        }
      }
    }
    for (int v = 0; v < kVectors; ++v) {
      using Lane = std::conditional_t<sizeof(Sample) == 2, std::uint32_t, std::uint64_t>;
      Lane lanes[2 * kWidePerVector];
      _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), low[v]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + kWidePerVector), high[v]);
      for (int k = 0; k < 2 * kWidePerVector; ++k) {
        laneTotals[v * kPerVector + k] += lanes[k];
      }
    }
  }
  for (int k = 0; k < kPeriod; ++k) {
    totals[k % Channels] += laneTotals[k];
  }
  SumTail<Sample, Channels>(data, periods * kPeriod / Channels, frames, totals);
}
#else
template <typename Sample, int Channels>
void SumMagnitudes(const std::byte* data, std::size_t frames,
                   std::array<std::uint64_t, kMeterChannels>& totals) {
  SumTail<Sample, Channels>(data, 0, frames, totals);
}
#endif

template <typename Sample>
void SumForChannels(int channels, const std::byte* data, std::size_t frames,
                    std::array<std::uint64_t, kMeterChannels>& totals) {
  switch (channels) {
    case 1:
      return SumMagnitudes<Sample, 1>(data, frames, totals);
    case 2:
      return SumMagnitudes<Sample, 2>(data, frames, totals);
    case 3:
      return SumMagnitudes<Sample, 3>(data, frames, totals);
    case 4:
      return SumMagnitudes<Sample, 4>(data, frames, totals);
    case 5:
      return SumMagnitudes<Sample, 5>(data, frames, totals);
    case 6:
      return SumMagnitudes<Sample, 6>(data, frames, totals);
    case 7:
      return SumMagnitudes<Sample, 7>(data, frames, totals);
    case 8:
      return SumMagnitudes<Sample, 8>(data, frames, totals);
    default:
      return;
  }
}

}  // namespace

bool MeterSupports(const PcmFormat& layout) {
  return layout.parsed && layout.channels <= kMeterChannels && layout.IntegerWidthSupported();
}

std::size_t MeasureLevels(std::span<const std::byte> data, const PcmFormat& layout, MeterLevels& levels) {
  if (!MeterSupports(layout)) {
    return 0;
  }
  const std::size_t frames = layout.FramesIn(data.size());
  if (frames == 0) {
    return 0;
  }
  std::array<std::uint64_t, kMeterChannels> totals{};
  if (layout.bitsPerSample == 16) {
    SumForChannels<std::int16_t>(layout.channels, data.data(), frames, totals);
  } else {
    SumForChannels<std::int32_t>(layout.channels, data.data(), frames, totals);
  }
  constexpr auto kLevelMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  for (std::size_t c = 0; c < layout.channels; ++c) {
    levels[c] = static_cast<std::int32_t>(std::min(totals[c] / frames, kLevelMax));
  }
  return frames;
}

MeterDisplay LevelToDisplay(std::int32_t level, int bitsPerSample) {
  MeterDisplay display;
  display.shown = bitsPerSample == 32 ? (level >> 16) : level;
  if (display.shown > 0) {
    const double bar = std::log(static_cast<double>(display.shown)) * 96.17966939259736;
    display.bar = static_cast<std::int32_t>(std::min(bar, 1000.0));
  }
  return display;
}

}  // namespace zmsp
