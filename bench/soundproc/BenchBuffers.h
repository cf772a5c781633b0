#pragma once
// What both sound processor benchmarks share: the output allocator's buffer
// size, the two formats measured, a music-like test signal and the reference
// time of one memcpy of the buffer.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zmsp::bench {

inline constexpr std::size_t kBufferBytes = 557056;

struct Format {
  std::uint16_t channels;
  std::uint16_t bits;
  std::uint32_t mask;  // 0: plain PCM
};
inline constexpr Format kStereo16{2, 16, 0};
inline constexpr Format kSurround32{6, 32, 0x3F};

// Samples held by one buffer in whole frames.
inline std::size_t samplesIn(const Format& f) {
  return (kBufferBytes / (f.channels * f.bits / 8)) * f.channels;
}

// Two sines and a little noise at about -10 dBFS.
inline std::vector<std::uint8_t> makeSignal(const Format& f) {
  std::vector<std::uint8_t> bytes(kBufferBytes);
  const std::size_t samples = kBufferBytes / (f.bits / 8);
  std::uint32_t noise = 12345;
  for (std::size_t i = 0; i < samples; ++i) {
    noise = noise * 1664525u + 1013904223u;
    const double t = static_cast<double>(i / f.channels) / 48000.0;
    const double v = 0.25 * std::sin(2 * M_PI * 220 * t + static_cast<double>(i % f.channels)) +
                     0.05 * std::sin(2 * M_PI * 3100 * t) +
                     0.02 * (static_cast<double>(noise >> 8) / 16777216.0 - 0.5);
    if (f.bits == 16) {
      const auto s = static_cast<std::int16_t>(v * 32767);
      std::memcpy(&bytes[i * 2], &s, 2);
    } else {
      const auto s = static_cast<std::int32_t>(v * 2147483647.0);
      std::memcpy(&bytes[i * 4], &s, 4);
    }
  }
  return bytes;
}

// Median wall time of one memcpy of the buffer, measured once per run.
inline double memcpySeconds() {
  static const double seconds = [] {
    std::vector<std::uint8_t> from(kBufferBytes, 1), to(kBufferBytes);
    std::vector<double> runs;
    for (int i = 0; i < 301; ++i) {
      const auto start = std::chrono::steady_clock::now();
      for (int k = 0; k < 20; ++k) {
        std::memcpy(to.data(), from.data(), kBufferBytes);
        benchmark::ClobberMemory();
      }
      runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 20);
    }
    std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
    return runs[runs.size() / 2];
  }();
  return seconds;
}

// samples/s, and x_memcpy: the time per iteration over the time of one memcpy.
inline void reportThroughput(benchmark::State& state, const Format& f) {
  state.counters["samples/s"] =
      benchmark::Counter(static_cast<double>(samplesIn(f)), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["x_memcpy"] = benchmark::Counter(
      memcpySeconds(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace zmsp::bench
