#include "soundproc/stages/BoostCurve.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace zmsp {

int ClampBoostLevel(int levelDb) { return std::clamp(levelDb, 1, 20); }

double BoostGain(int levelDb) { return std::pow(10.0, levelDb * 0.05); }

SoftCurve::SoftCurve(int levelDb)
    : gain_(BoostGain(ClampBoostLevel(levelDb))),
      gainSquaredMinusOne_(gain_ * gain_ - 1.0),
      gainMinusOne_(gain_ - 1.0),
      oneMinusGain_(1.0 - gain_),
      twiceGain_(2.0 * gain_),
      gainPlusOne_(gain_ + 1.0) {}

bool BoostTable::Prepare(int levelDb) {
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
  const std::uint16_t* entries = entries_.get();
  const bool mapped = signedMap_.Build([entries](std::int16_t s) -> std::int16_t {
    const int sample = s;
    // -32,768 maps through entry 32,768 to -32,768; a positive sample whose
    // entry reached 32,768 must not wrap negative.
    return static_cast<std::int16_t>(sample < 0 ? -int{entries[-sample]}
                                                : std::min<int>(entries[sample], 32767));
  });
  if (!mapped) {
    Release();
    return false;
  }
  level_ = levelDb;
  return true;
}

void BoostTable::Release() {
  entries_.reset();
  signedMap_.Release();
  level_ = 0;
}

void SoftBoost32(std::span<std::int32_t> samples, const SoftCurve& curve) {
  for (std::int32_t& sample : samples) {
    sample = SoftBoostSample32(sample, curve);
  }
}

}  // namespace zmsp
