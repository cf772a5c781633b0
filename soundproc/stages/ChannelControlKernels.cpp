#include "soundproc/stages/ChannelControlKernels.h"

#include <immintrin.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "soundproc/stages/BoostCurve.h"

namespace zmsp {

namespace {

template <typename Sample>
constexpr double kMin = static_cast<double>(std::numeric_limits<Sample>::min());
template <typename Sample>
constexpr double kMax = static_cast<double>(std::numeric_limits<Sample>::max());

// Truncates toward zero and clamps to the sample range (clamping first keeps
// the conversion defined; the result is the same).
template <typename Sample>
inline Sample TruncateClamped(double value) {
  return static_cast<Sample>(std::min(std::max(value, kMin<Sample>), kMax<Sample>));
}

// ------------------------------------------------------------------ reference

// sample * mul / div with integer truncation toward zero. Computed in double,
// which is exact here: |sample * mul| < 2^41 is representable, and a quotient
// that is not whole lies at least 1/div from the nearest integer, far more
// than the rounding error of one division. The result never exceeds |sample|
// because mul <= div.
template <typename Sample>
inline Sample ScaleTruncated(Sample sample, double mul, double div) {
  return static_cast<Sample>(static_cast<double>(sample) * mul / div);
}

template <typename Sample>
void ReferenceGainRow(Sample* samples, std::size_t count, const double* gain) {
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = TruncateClamped<Sample>(static_cast<double>(samples[i]) * gain[i]);
  }
}

template <typename Sample>
void ReferenceGainAll(Sample* samples, std::size_t count, double gain) {
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = TruncateClamped<Sample>(static_cast<double>(samples[i]) * gain);
  }
}

template <typename Sample>
void ReferenceScaleRow(Sample* samples, std::size_t count, const double* mul, double div) {
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = ScaleTruncated(samples[i], mul[i], div);
  }
}

template <typename Sample>
void ReferenceScaleAll(Sample* samples, std::size_t count, double mul, double div) {
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = ScaleTruncated(samples[i], mul, div);
  }
}

void ReferenceSoftBoost32(std::int32_t* samples, std::size_t count, const SoftCurve& curve) {
  SoftBoost32({samples, count}, curve);
}

// ----------------------------------------------------------------------- fast
//
// Volume adjust and the plain-gain boost are the reference formulas in every
// lane: one multiplication, a clamp and a truncation.
//
// The balance and LFE scaling compute sample * mul / div as
// (sample * mul) * (1 / div), moved half a step of 1/div away from zero
// before truncation. sample * mul is exact; the product with the rounded
// reciprocal and the addition are off by less than 2^-19, while a true
// quotient k + r/div (0 <= r < div) lies at least 1/(2 div) >= 2^-11 from
// both truncation edges after the move. So every sample truncates as in the
// reference.
//
// The soft boost uses the curve's reciprocals instead of its two divisions,
// which keeps the scaled result m within 2^-18 of the reference's. Where m
// lies farther than kEdge from a whole number both truncate alike; the rare
// samples closer to an edge (and INT32_MIN and the clamped ones, whose
// fraction reads 0) are computed again with the reference formula.
constexpr double kEdge = 0x1p-12;

namespace sse2 {
#define ZMSP_LOOP_LANES 2
#define ZMSP_LOOP_AVX 0
#define ZMSP_LOOP_TARGET
#include "soundproc/stages/ChannelControlLoops.inl"
#undef ZMSP_LOOP_LANES
#undef ZMSP_LOOP_AVX
#undef ZMSP_LOOP_TARGET
}  // namespace sse2

namespace avx2 {
#define ZMSP_LOOP_LANES 4
#define ZMSP_LOOP_AVX 1
#define ZMSP_LOOP_TARGET __attribute__((target("avx2")))
#include "soundproc/stages/ChannelControlLoops.inl"
#undef ZMSP_LOOP_LANES
#undef ZMSP_LOOP_AVX
#undef ZMSP_LOOP_TARGET
}  // namespace avx2

constexpr ChannelControlKernels kReference{
    ReferenceGainRow<std::int16_t>,  ReferenceGainRow<std::int32_t>,  ReferenceGainAll<std::int16_t>,
    ReferenceGainAll<std::int32_t>,  ReferenceScaleRow<std::int16_t>, ReferenceScaleRow<std::int32_t>,
    ReferenceScaleAll<std::int16_t>, ReferenceScaleAll<std::int32_t>, ReferenceSoftBoost32};

}  // namespace

const ChannelControlKernels& ReferenceChannelKernels() { return kReference; }

const ChannelControlKernels& FastChannelKernels() {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2 ? avx2::kKernels : sse2::kKernels;
}

}  // namespace zmsp
