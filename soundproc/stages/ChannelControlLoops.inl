// The vectorised loops of channel control, included by ChannelControlKernels.cpp
// once per instruction set inside a namespace of its own. The includer defines
// ZMSP_LOOP_LANES (doubles per vector: 2 for SSE2, 4 for AVX2), ZMSP_LOOP_AVX
// (1 for the AVX2 set) and ZMSP_LOOP_TARGET, the target attribute every
// function here carries (empty for SSE2, which every x86-64 has). Both g++
// and clang compile a function for the instruction set its own attribute
// names, and clang inlines an intrinsic only into a function that carries its
// target: so the attribute sits on each function, not on a region of the file.
// Every loop ends with the reference formula for the samples that do not fill
// a vector.

constexpr std::size_t kLanes = ZMSP_LOOP_LANES;
typedef double Doubles __attribute__((vector_size(8 * kLanes)));
typedef std::int64_t Masks __attribute__((vector_size(8 * kLanes)));
typedef std::int32_t Ints __attribute__((vector_size(4 * kLanes)));
typedef std::int16_t Shorts __attribute__((vector_size(2 * kLanes)));

template <typename Sample>
[[gnu::always_inline]] ZMSP_LOOP_TARGET inline Doubles Load(const Sample* at) {
  if constexpr (sizeof(Sample) == 4) {
    Ints v;
    std::memcpy(&v, at, sizeof v);
    return __builtin_convertvector(v, Doubles);
  } else {
    Shorts v;
    std::memcpy(&v, at, sizeof v);
    return __builtin_convertvector(v, Doubles);
  }
}

// Stores values already within the sample range, truncated toward zero.
template <typename Sample>
[[gnu::always_inline]] ZMSP_LOOP_TARGET inline void StoreTruncated(Sample* at, Doubles values) {
  const Ints whole = __builtin_convertvector(values, Ints);
  if constexpr (sizeof(Sample) == 4) {
    std::memcpy(at, &whole, sizeof whole);
  } else {
    const Shorts narrow = __builtin_convertvector(whole, Shorts);
    std::memcpy(at, &narrow, sizeof narrow);
  }
}

[[gnu::always_inline]] ZMSP_LOOP_TARGET inline Doubles Splat(double value) { return Doubles{} + value; }

template <typename Sample>
[[gnu::always_inline]] ZMSP_LOOP_TARGET inline Doubles Clamped(Doubles v) {
  const Doubles low = Splat(kMin<Sample>);
  const Doubles high = Splat(kMax<Sample>);
  v = v < low ? low : v;
  return v > high ? high : v;
}

constexpr std::int64_t kSignBit = std::numeric_limits<std::int64_t>::min();

[[gnu::always_inline]] ZMSP_LOOP_TARGET inline Doubles CopySign(Doubles magnitude, Doubles sign) {
  return reinterpret_cast<Doubles>((reinterpret_cast<Masks>(sign) & kSignBit) |
                                   reinterpret_cast<Masks>(magnitude));
}

[[gnu::always_inline]] ZMSP_LOOP_TARGET inline Doubles Abs(Doubles v) {
  return reinterpret_cast<Doubles>(reinterpret_cast<Masks>(v) & ~kSignBit);
}

[[gnu::always_inline]] ZMSP_LOOP_TARGET inline Doubles Sqrt(Doubles v) {
#if ZMSP_LOOP_AVX
  return _mm256_sqrt_pd(v);
#else
  return _mm_sqrt_pd(v);
#endif
}

// One bit per lane whose mask is set.
[[gnu::always_inline]] ZMSP_LOOP_TARGET inline int EdgeLanes(Masks edge) {
#if ZMSP_LOOP_AVX
  return _mm256_movemask_pd(reinterpret_cast<__m256d>(edge));
#else
  return _mm_movemask_pd(reinterpret_cast<__m128d>(edge));
#endif
}

template <typename Sample>
ZMSP_LOOP_TARGET void GainRow(Sample* samples, std::size_t count, const double* gain) {
  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    Doubles g;
    std::memcpy(&g, gain + i, sizeof g);
    StoreTruncated(samples + i, Clamped<Sample>(Load(samples + i) * g));
  }
  for (; i < count; ++i) samples[i] = TruncateClamped<Sample>(static_cast<double>(samples[i]) * gain[i]);
}

template <typename Sample>
ZMSP_LOOP_TARGET void GainAll(Sample* samples, std::size_t count, double gain) {
  const Doubles g = Splat(gain);
  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    StoreTruncated(samples + i, Clamped<Sample>(Load(samples + i) * g));
  }
  for (; i < count; ++i) samples[i] = TruncateClamped<Sample>(static_cast<double>(samples[i]) * gain);
}

template <typename Sample>
ZMSP_LOOP_TARGET void ScaleRow(Sample* samples, std::size_t count, const double* mul, double div) {
  const Doubles inverse = Splat(1.0 / div);
  const Doubles half = Splat(0.5 / div);
  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    Doubles m;
    std::memcpy(&m, mul + i, sizeof m);
    const Doubles product = Load(samples + i) * m;
    StoreTruncated(samples + i, product * inverse + CopySign(half, product));
  }
  for (; i < count; ++i) samples[i] = ScaleTruncated(samples[i], mul[i], div);
}

template <typename Sample>
ZMSP_LOOP_TARGET void ScaleAll(Sample* samples, std::size_t count, double mul, double div) {
  const Doubles m = Splat(mul);
  const Doubles inverse = Splat(1.0 / div);
  const Doubles half = Splat(0.5 / div);
  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    const Doubles product = Load(samples + i) * m;
    StoreTruncated(samples + i, product * inverse + CopySign(half, product));
  }
  for (; i < count; ++i) samples[i] = ScaleTruncated(samples[i], mul, div);
}

ZMSP_LOOP_TARGET void SoftBoost32(std::int32_t* samples, std::size_t count, const SoftCurve& curve) {
  const SoftCurve::Terms k = curve.CurveTerms();
  const Doubles one = Splat(1.0);
  const Doubles largest = Splat(2147483647.0);
  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    Ints s;
    std::memcpy(&s, samples + i, sizeof s);
    const Doubles x = Abs(__builtin_convertvector(s, Doubles)) * 0x1p-31;
    const Doubles t = (Sqrt(x * k.gainSquaredMinusOne + one) - one) * k.inverseGainMinusOne;
    Doubles m = (k.oneMinusGain * t + k.twiceGain) * t * k.inverseGainPlusOne * 2147483648.0;
    m = m > largest ? largest : m;
    const Ints magnitude = __builtin_convertvector(m, Ints);
    const Doubles fraction = m - __builtin_convertvector(magnitude, Doubles);
    // INT32_MIN is the one sample with x = 1.
    const Masks edge = (fraction < kEdge) | (fraction > 1.0 - kEdge) | (x >= 1.0);
    const Ints boosted = s < 0 ? -magnitude : magnitude;
    std::memcpy(samples + i, &boosted, sizeof boosted);
    if (const int lanes = EdgeLanes(edge); lanes != 0) {
      for (std::size_t lane = 0; lane < kLanes; ++lane) {
        if ((lanes >> lane) & 1) samples[i + lane] = SoftBoostSample32(s[lane], curve);
      }
    }
  }
  for (; i < count; ++i) samples[i] = SoftBoostSample32(samples[i], curve);
}

constexpr ChannelControlKernels kKernels{
    GainRow<std::int16_t>,  GainRow<std::int32_t>,  GainAll<std::int16_t>,
    GainAll<std::int32_t>,  ScaleRow<std::int16_t>, ScaleRow<std::int32_t>,
    ScaleAll<std::int16_t>, ScaleAll<std::int32_t>, SoftBoost32};
