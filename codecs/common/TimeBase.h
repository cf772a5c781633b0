// Exact conversion between a container's time base and REFERENCE_TIME
// (100 ns units), the unit every time in codecs/ is kept in.
#pragma once

#include <cstdint>

namespace orves::codecs {

// "No time": the same value FFmpeg uses for AV_NOPTS_VALUE.
inline constexpr std::int64_t kNoTime = INT64_MIN;
inline constexpr std::int64_t kUnitsPerSecond = 10'000'000;

struct Rational {
  int num = 0;
  int den = 1;
  bool Valid() const { return num > 0 && den > 0; }
  friend bool operator==(const Rational&, const Rational&) = default;
};

// value * mul / div rounded to the nearest integer, halves away from zero,
// computed without intermediate overflow; saturates at the int64 range (one
// short of kNoTime, so a huge time never turns into "no time").
std::int64_t RescaleRounded(std::int64_t value, std::int64_t mul, std::int64_t div);

// A time stamp in `timeBase` units as REFERENCE_TIME counted from `origin`
// (the REFERENCE_TIME that becomes 0: a container's start time, or 0).
// kNoTime (and an invalid time base) gives kNoTime.
std::int64_t ToReferenceTime(std::int64_t stamp, Rational timeBase, std::int64_t origin = 0);

// The inverse: a REFERENCE_TIME counted from `origin` in `timeBase` units,
// rounded to the nearest unit or, with `roundDown`, to the one at or before.
std::int64_t FromReferenceTime(std::int64_t time, Rational timeBase, std::int64_t origin = 0,
                               bool roundDown = false);

}  // namespace orves::codecs
