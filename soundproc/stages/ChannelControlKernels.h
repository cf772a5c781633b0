#pragma once
// The per-sample loops of channel control. Two sets give the same samples:
// the reference set computes every formula as written, one sample at a time;
// the fast set is vectorised (SSE2 on every x86-64, AVX2 where the processor
// has it, chosen once at run time) and replaces divisions by constants with
// multiplications whose results are proven or checked to truncate alike.

#include <cstddef>
#include <cstdint>

namespace zmsp {

class SoftCurve;

struct ChannelControlKernels {
  // s = clamp(s * gain[i]) truncated toward zero (volume adjust).
  void (*gainRow16)(std::int16_t* samples, std::size_t count, const double* gain);
  void (*gainRow32)(std::int32_t* samples, std::size_t count, const double* gain);
  // s = clamp(s * gain) truncated toward zero (plain-gain boost).
  void (*gainAll16)(std::int16_t* samples, std::size_t count, double gain);
  void (*gainAll32)(std::int32_t* samples, std::size_t count, double gain);
  // s = s * mul[i] / div truncated toward zero, mul[i] and div whole numbers
  // with 0 <= mul[i] <= div <= 1000 (front/rear balance).
  void (*scaleRow16)(std::int16_t* samples, std::size_t count, const double* mul, double div);
  void (*scaleRow32)(std::int32_t* samples, std::size_t count, const double* mul, double div);
  // The same with one multiplier for every sample (LFE headroom).
  void (*scaleAll16)(std::int16_t* samples, std::size_t count, double mul, double div);
  void (*scaleAll32)(std::int32_t* samples, std::size_t count, double mul, double div);
  // The soft boost curve on 32-bit samples (see SoftBoost32).
  void (*softBoost32)(std::int32_t* samples, std::size_t count, const SoftCurve& curve);
};

[[nodiscard]] const ChannelControlKernels& ReferenceChannelKernels();
[[nodiscard]] const ChannelControlKernels& FastChannelKernels();

}  // namespace zmsp
