#include "soundproc/stages/BoostCurve.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zmsp {

int clampBoostLevel(int levelDb) { return std::clamp(levelDb, 1, 20); }

double boostGain(int levelDb) { return std::pow(10.0, levelDb * 0.05); }

SoftCurve::SoftCurve(int levelDb) : gain_(boostGain(clampBoostLevel(levelDb))) {}

double SoftCurve::operator()(double x) const {
  const double g = gain_;
  const double t = (std::sqrt(x * (g * g - 1.0) + 1.0) - 1.0) / (g - 1.0);
  return ((1.0 - g) * t + 2.0 * g) * t / (g + 1.0);
}

bool BoostTable::prepare(int levelDb) {
  if (entries_ != nullptr && level_ == levelDb) {
    return true;
  }
  if (entries_ == nullptr) {
    entries_.reset(new (std::nothrow) std::uint16_t[kEntries]);
    if (entries_ == nullptr) {
      return false;
    }
  }
  const SoftCurve curve(levelDb);
  for (std::size_t i = 0; i < kEntries; ++i) {
    const double y = curve(static_cast<double>(i) / 32768.0) * 32768.0;
    entries_[i] = static_cast<std::uint16_t>(std::clamp(y, 0.0, 32768.0));
  }
  level_ = levelDb;
  return true;
}

void BoostTable::release() {
  entries_.reset();
  level_ = 0;
}

std::int32_t softBoost32(std::int32_t sample, const SoftCurve& curve) {
  if (sample == INT32_MIN) {
    return sample;
  }
  const double magnitude = std::fabs(static_cast<double>(sample));
  const double y = curve(magnitude * 0x1p-31);
  // |y| <= 1 up to rounding; the clamp only keeps a rounding overshoot of
  // full scale inside the sample range.
  const double scaled = sample >= 0 ? y * 2147483648.0 : y * -2147483648.0;
  return static_cast<std::int32_t>(std::clamp(scaled, -2147483648.0, 2147483647.0));
}

}  // namespace zmsp
