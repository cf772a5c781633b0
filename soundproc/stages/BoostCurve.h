#pragma once
// Volume boost: a soft-saturating curve and a plain gain with clipping.
//
// The soft curve maps a normalised magnitude x in [0, 1] to
//   t = (sqrt(x (g^2 - 1) + 1) - 1) / (g - 1)
//   y = ((1 - g) t + 2g) t / (g + 1)
// with g the linear boost gain. y(0) = 0, y(1) = 1 and the slope at 0 is g, so
// quiet passages gain the full boost while full scale stays full scale.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "soundproc/stages/SampleMap16.h"

namespace zmsp {

// Boost levels outside 1..20 dB are taken as the nearest edge, so the curve
// never divides by zero.
[[nodiscard]] int ClampBoostLevel(int levelDb);
[[nodiscard]] double BoostGain(int levelDb);  // 10^(level / 20)

class SoftCurve {
 public:
  explicit SoftCurve(int levelDb);
  // y(x), each step in the order written above, so the table and the
  // per-sample 32-bit path give identical results.
  [[nodiscard]] double operator()(double x) const {
    const double t = (std::sqrt(x * gainSquaredMinusOne_ + 1.0) - 1.0) / gainMinusOne_;
    return (oneMinusGain_ * t + twiceGain_) * t / gainPlusOne_;
  }
  // The constants of the formula, with the two divisors also as
  // reciprocals, for vectorised code.
  struct Terms {
    double gainSquaredMinusOne;
    double inverseGainMinusOne;
    double oneMinusGain;
    double twiceGain;
    double inverseGainPlusOne;
  };
  [[nodiscard]] Terms CurveTerms() const {
    return {gainSquaredMinusOne_, 1.0 / gainMinusOne_, oneMinusGain_, twiceGain_, 1.0 / gainPlusOne_};
  }
  [[nodiscard]] double Gain() const { return gain_; }

 private:
  double gain_;
  double gainSquaredMinusOne_;  // g * g - 1
  double gainMinusOne_;         // g - 1
  double oneMinusGain_;         // 1 - g
  double twiceGain_;            // 2 * g
  double gainPlusOne_;          // g + 1
};

// The 16-bit soft curve as a lookup table: entry i = y(i / 32768) * 32768,
// truncated. Built on first use and whenever the level changes.
class BoostTable {
 public:
  static constexpr std::size_t kEntries = 32769;

  // Makes sure the table matches `levelDb`; false when it cannot be allocated
  // (the table is then absent and the boost must be skipped).
  [[nodiscard]] bool Prepare(int levelDb);
  void Release();

  [[nodiscard]] bool Built() const { return entries_ != nullptr; }
  [[nodiscard]] int BuiltForLevel() const { return level_; }
  [[nodiscard]] const std::uint16_t* Entries() const { return entries_.get(); }

  // Applies the table to 16-bit samples in place: s >= 0 becomes entry s
  // (held at 32,767), s < 0 becomes minus entry |s|.
  void Apply(std::span<std::int16_t> samples) const { signedMap_.Apply(samples); }

 private:
  std::unique_ptr<std::uint16_t[]> entries_;
  // The same mapping indexed by the sample's bit pattern, so applying it is
  // a single lookup without sign handling.
  SampleMap16 signedMap_;
  int level_ = 0;
};

// The soft curve applied to one 32-bit sample: INT32_MIN stays as it is,
// every other sample keeps its sign and becomes y(|s| / 2^31) * 2^31,
// truncated toward zero. Written without branches so that loops vectorise.
[[nodiscard]] inline std::int32_t SoftBoostSample32(std::int32_t s, const SoftCurve& curve) {
  const double y = curve(std::fabs(static_cast<double>(s)) * 0x1p-31);
  // y stays below 1 for every |s| < 2^31, so the magnitude fits; the clamp
  // only guards the conversion.
  const auto magnitude = static_cast<std::int32_t>(std::min(y * 2147483648.0, 2147483647.0));
  const std::int32_t boosted = s < 0 ? -magnitude : magnitude;
  return s == INT32_MIN ? s : boosted;
}

// SoftBoostSample32 over every sample, in place.
void SoftBoost32(std::span<std::int32_t> samples, const SoftCurve& curve);

}  // namespace zmsp
