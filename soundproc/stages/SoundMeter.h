#pragma once
// Sound meter DSP: the mean absolute sample value of every channel of a buffer,
// and how such a level is shown as a bar of the property page's meter.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "soundproc/contract/PcmFormat.h"

namespace zmsp {

inline constexpr std::size_t kMeterChannels = 8;
using MeterLevels = std::array<std::int32_t, kMeterChannels>;

// At most 8 channels of 16- or 32-bit samples can be measured.
[[nodiscard]] bool MeterSupports(const PcmFormat& layout);

// Replaces levels[c] of every channel c with the mean of |sample| over the
// frames of `data` (only whole frames count); channels the format does not have
// keep their values. Returns the frames measured: 0 leaves the levels as they
// were, as does a format the meter does not support. A level that would not
// fit (a 32-bit channel holding only -2^31) is held at INT32_MAX.
[[nodiscard]] std::size_t MeasureLevels(std::span<const std::byte> data, const PcmFormat& layout,
                                        MeterLevels& levels);

struct MeterDisplay {
  std::int32_t shown = 0;  // on the 0..32,768 scale
  std::int32_t bar = 0;    // 0..1000
};

// 32-bit levels are shifted down to the 16-bit scale; the bar is logarithmic,
// ln(shown) * 1000 / ln(32768), so full scale reaches 999 and 1 stays at 0.
[[nodiscard]] MeterDisplay LevelToDisplay(std::int32_t level, int bitsPerSample);

}  // namespace zmsp
