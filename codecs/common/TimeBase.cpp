#include "codecs/common/TimeBase.h"

#include <limits>

namespace orves::codecs {

namespace {

constexpr std::int64_t kMaxTime = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinTime = std::numeric_limits<std::int64_t>::min() + 1;

// product / div (div > 0) rounded half away from zero, saturated. Every
// product here is at most 64 x 64 bits, so 128 bits hold it exactly.
std::int64_t DivideRounded(__int128 product, __int128 div) {
  const __int128 half = div / 2;
  const __int128 q = product >= 0 ? (product + half) / div : -((-product + half) / div);
  if (q > kMaxTime) return kMaxTime;
  if (q < kMinTime) return kMinTime;
  return static_cast<std::int64_t>(q);
}

}  // namespace

std::int64_t RescaleRounded(std::int64_t value, std::int64_t mul, std::int64_t div) {
  if (div == 0) return value >= 0 ? kMaxTime : kMinTime;
  if (div < 0) return DivideRounded(-static_cast<__int128>(value) * mul, -static_cast<__int128>(div));
  return DivideRounded(static_cast<__int128>(value) * mul, div);
}

std::int64_t ToReferenceTime(std::int64_t stamp, Rational timeBase, std::int64_t origin) {
  if (stamp == kNoTime || !timeBase.Valid()) return kNoTime;
  const std::int64_t time =
      DivideRounded(static_cast<__int128>(stamp) * timeBase.num * kUnitsPerSecond, timeBase.den);
  return DivideRounded(static_cast<__int128>(time) - origin, 1);
}

std::int64_t FromReferenceTime(std::int64_t time, Rational timeBase, std::int64_t origin, bool roundDown) {
  if (time == kNoTime || !timeBase.Valid()) return kNoTime;
  const __int128 product = (static_cast<__int128>(time) + origin) * timeBase.den;
  const __int128 div = static_cast<__int128>(timeBase.num) * kUnitsPerSecond;
  if (!roundDown) return DivideRounded(product, div);
  const __int128 floor = product >= 0 ? product / div : -((-product + div - 1) / div);
  return DivideRounded(floor, 1);
}

}  // namespace orves::codecs
