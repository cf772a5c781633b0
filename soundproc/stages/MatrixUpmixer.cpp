#include "soundproc/stages/MatrixUpmixer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zmsp {
namespace {

constexpr float kSqrt2 = std::numbers::sqrt2_v<float>;
constexpr float kHalfSqrt2 = kSqrt2 / 2;

// Planes of the scratch block: the eight output channels, then the four
// steering gains of each frame.
constexpr std::size_t kFL = 0, kFR = 1, kFC = 2, kLFE = 3, kSL = 4, kSR = 5, kExtra1 = 6, kExtra2 = 7;
constexpr std::size_t kSteerPlane = 8;
constexpr std::size_t kPlaneCount = kSteerPlane + 4;
// Frames converted per pass through the planes.
constexpr std::size_t kChunkFrames = 256;

// Steering gains are recomputed every half millisecond and ramped in between.
constexpr double kSteeringBlockSeconds = 0.0005;
constexpr std::size_t kMaxBlockFrames = 256;
constexpr double kLfeCutoffHz = 120.0;
constexpr double kSurroundCutoffHz = 7000.0;
// Stereo surround matrix: the left surround takes the left input and rejects
// part of the right (and mirrored), scaled so that a pure antiphase signal
// reaches each surround at its input level.
constexpr float kSurroundDirect = 0.8165f / (0.8165f + 0.5774f);
constexpr float kSurroundCross = 0.5774f / (0.8165f + 0.5774f);

struct Decode {
  bool active;        // steered
  bool monoSurround;  // one band-limited surround on both rears
  double envelopeSeconds;
  double surroundDelaySeconds;
  bool musicControls;  // centre width, dimension and panorama apply
};

Decode DecodeFor(const UpmixParams& p) {
  if (p.algorithm == UpmixParams::kAlgorithmProLogic) {
    return {false, true, 0.0, 0.020, false};
  }
  if (p.algorithm == UpmixParams::kAlgorithmIce) {
    return {true, false, 0.008, 0.0, false};
  }
  switch (p.mode) {
    case UpmixParams::kModeProLogicEmulation:
      return {true, true, 0.040, 0.020, false};
    case UpmixParams::kModeMusic:
    case UpmixParams::kModeCustom:
      return {true, false, 0.020, 0.0, true};
    case UpmixParams::kModeMatrix:
      return {false, false, 0.0, 0.0, false};
    default:  // movie, virtual compatible
      return {true, false, 0.020, 0.010, false};
  }
}

// Coefficient of a one-pole low-pass: y += (1 - k) * (x - y).
float OnePole(double cutoffHz, int rate) {
  return static_cast<float>(std::exp(-2.0 * std::numbers::pi * std::min(cutoffHz, rate * 0.45) / rate));
}

// Rounds half up and saturates, in integers so that loops over it vectorise
// (the values stay far inside the 32-bit range).
std::int16_t Saturate(float v) {
  const std::int32_t rounded = static_cast<std::int32_t>(v + 32768.5f) - 32768;
  return static_cast<std::int16_t>(std::clamp(rounded, -32768, 32767));
}

template <std::size_t Channels>
void Interleave(const std::int16_t* const* planes, std::size_t frames, std::int16_t* out) {
  for (std::size_t i = 0; i < frames; ++i) {
    for (std::size_t k = 0; k < Channels; ++k) {
      out[i * Channels + k] = planes[k][i];
    }
  }
}

}  // namespace

bool MatrixUpmixer::Supports(int inChannels, int outChannels) {
  const bool knownOut = outChannels == 4 || outChannels == 6 || outChannels == 7 || outChannels == 8;
  switch (inChannels) {
    case 2:
      return knownOut;
    case 4:
      return knownOut && outChannels >= 6;
    case 6:
      return knownOut && outChannels >= 7;
    default:
      return false;
  }
}

std::uint32_t MatrixUpmixer::ChannelMask(int channels) {
  switch (channels) {
    case 2:
      return 0x3;
    case 4:
      return 0x33;
    case 6:
      return 0x3F;
    case 7:
      return 0x13F;
    case 8:
      return 0xFF;
    default:
      return 0;
  }
}

bool MatrixUpmixer::Configure(int inChannels, int outChannels, int sampleRate) {
  if (!Supports(inChannels, outChannels) || sampleRate <= 0) {
    inChannels_ = outChannels_ = sampleRate_ = 0;
    return false;
  }
  inChannels_ = inChannels;
  outChannels_ = outChannels;
  sampleRate_ = sampleRate;
  Prepare();
  Reset();
  return true;
}

void MatrixUpmixer::SetParams(const UpmixParams& params) {
  UpmixParams p = params;
  if (p.algorithm < UpmixParams::kAlgorithmIce || p.algorithm > UpmixParams::kAlgorithmProLogic2) {
    p.algorithm = UpmixParams::kAlgorithmProLogic2;
  }
  if (p.mode < UpmixParams::kModeProLogicEmulation || p.mode > UpmixParams::kModeCustom) {
    p.mode = UpmixParams::kModeMovie;
  }
  p.centerWidth = std::clamp(p.centerWidth, 0, 7);
  p.dimension = std::clamp(p.dimension, 0, 6);
  const bool delayChanges =
      Configured() && DecodeFor(p).surroundDelaySeconds != DecodeFor(params_).surroundDelaySeconds;
  params_ = p;
  if (Configured()) {
    Prepare();
    if (delayChanges) {
      delayLine_.assign(2 * surroundDelay_, 0.0f);
      delayPos_ = 0;
    }
  }
}

void MatrixUpmixer::Prepare() {
  const Decode d = DecodeFor(params_);
  active_ = d.active;
  monoSurround_ = d.monoSurround;
  const double rate = sampleRate_;
  blockFrames_ = std::clamp<std::size_t>(static_cast<std::size_t>(std::lround(rate * kSteeringBlockSeconds)),
                                         1, kMaxBlockFrames);
  envelopeKeep_ =
      d.active ? static_cast<float>(std::exp(-static_cast<double>(blockFrames_) / (d.envelopeSeconds * rate)))
               : 0.0f;
  surroundLowpass_ = d.monoSurround ? OnePole(kSurroundCutoffHz, sampleRate_) : 0.0f;
  lfeLowpass_ = OnePole(kLfeCutoffHz, sampleRate_);
  if (d.monoSurround) {
    surroundMatrix_ = {0.5f, -0.5f, 0.5f, -0.5f};
  } else {
    surroundMatrix_ = {kSurroundDirect, -kSurroundCross, -kSurroundCross, kSurroundDirect};
  }
  surroundDelay_ = static_cast<std::size_t>(std::lround(d.surroundDelaySeconds * rate));

  // Centre width moves the centre into the fronts at constant power; dimension
  // (-1 front .. +1 rear) tilts the balance; panorama wraps the fronts onto
  // the surrounds.
  const double width = d.musicControls ? params_.centerWidth / 7.0 : 0.0;
  widthCenter_ = static_cast<float>(std::cos(width * std::numbers::pi / 2));
  widthToFronts_ = static_cast<float>(std::sin(width * std::numbers::pi / 2)) * kHalfSqrt2;
  const double dimension = d.musicControls ? (params_.dimension - UpmixParams::kDimensionNeutral) / 3.0 : 0.0;
  frontScale_ = static_cast<float>(std::sqrt(1.0 - 0.5 * dimension));
  rearScale_ = static_cast<float>(std::sqrt(1.0 + 0.5 * dimension));
  panorama_ = d.musicControls && params_.panorama ? 0.5f : 0.0f;
  scratch_.assign(kPlaneCount * kChunkFrames, 0.0f);
  samples_.assign(8 * kChunkFrames, 0);
}

void MatrixUpmixer::Reset() {
  blockPos_ = 0;
  blockEnergy_ = {};
  envelope_ = {};
  gainsFrom_ = gainsTo_ = {0.0f, 0.0f, 1.0f, 1.0f};
  surroundLp_[0] = surroundLp_[1] = 0.0f;
  lfeLp_[0] = lfeLp_[1] = 0.0f;
  delayLine_.assign(2 * surroundDelay_, 0.0f);
  delayPos_ = 0;
}

std::size_t MatrixUpmixer::Process(const std::int16_t* in, std::size_t frames, std::int16_t* out,
                                   std::size_t outCapacityFrames) {
  if (!Configured() || in == nullptr || out == nullptr) {
    return 0;
  }
  const std::size_t total = std::min(frames, outCapacityFrames);
  const auto ic = static_cast<std::size_t>(inChannels_);
  const auto oc = static_cast<std::size_t>(outChannels_);
  std::size_t done = 0;
  while (done < total) {
    const std::size_t n = std::min(total - done, kChunkFrames);
    ProcessChunk(in + done * ic, n, out + done * oc);
    done += n;
  }
  return total;
}

void MatrixUpmixer::ProcessChunk(const std::int16_t* in, std::size_t frames, std::int16_t* out) {
  ReadInput(in, frames);
  if (inChannels_ < 6) {
    Steer(frames);
    DecodeFronts(frames);
    FilterDerived(frames);
    if (inChannels_ == 2 && surroundDelay_ > 0) {
      DelaySurrounds(frames);
    }
  }
  WriteOutput(frames, out);
}

float* MatrixUpmixer::Plane(std::size_t index) { return scratch_.data() + index * kChunkFrames; }

void MatrixUpmixer::ReadInput(const std::int16_t* in, std::size_t frames) {
  if (inChannels_ == 2) {
    float* fl = Plane(kFL);
    float* fr = Plane(kFR);
    for (std::size_t i = 0; i < frames; ++i) {
      fl[i] = in[2 * i];
      fr[i] = in[2 * i + 1];
    }
    return;
  }
  const auto ic = static_cast<std::size_t>(inChannels_);
  // Input channel k goes to plane slot[k].
  static constexpr std::size_t kSlots4[] = {kFL, kFR, kSL, kSR};
  static constexpr std::size_t kSlots6[] = {kFL, kFR, kFC, kLFE, kSL, kSR};
  const std::size_t* slots = ic == 4 ? kSlots4 : kSlots6;
  for (std::size_t k = 0; k < ic; ++k) {
    float* dst = Plane(slots[k]);
    for (std::size_t i = 0; i < frames; ++i) {
      dst[i] = in[i * ic + k];
    }
  }
}

// Steering gains for each frame of the chunk: within a steering block they
// ramp from gainsFrom_ to gainsTo_ by the frame's place in the block; at its
// end the block's energies move the envelopes. Everything depends on the
// frame's place in the stream only, so the cut into Process() calls does not
// change the result.
void MatrixUpmixer::Steer(std::size_t frames) {
  const float* fl = Plane(kFL);
  const float* fr = Plane(kFR);
  const float step = 1.0f / static_cast<float>(blockFrames_);
  for (std::size_t i = 0; i < frames;) {
    const std::size_t n = std::min(frames - i, blockFrames_ - blockPos_);
    auto [ll, rr, lr] = blockEnergy_;
    for (std::size_t j = i; j < i + n; ++j) {
      ll += fl[j] * fl[j];
      rr += fr[j] * fr[j];
      lr += fl[j] * fr[j];
    }
    blockEnergy_ = {ll, rr, lr};
    const auto first = static_cast<int>(blockPos_) + 1;
    const auto count = static_cast<int>(n);
    for (std::size_t g = 0; g < kSteerCount; ++g) {
      const float from = gainsFrom_[g];
      const float delta = (gainsTo_[g] - from) * step;
      float* gain = Plane(kSteerPlane + g) + i;
      for (int j = 0; j < count; ++j) {
        gain[j] = from + delta * static_cast<float>(first + j);
      }
    }
    blockPos_ += n;
    i += n;
    if (blockPos_ == blockFrames_) {
      EndSteeringBlock();
    }
  }
}

// The matrix decode of the front pair (Lt, Rt) into left, right, centre and
// (for stereo input) the two surrounds, with the steering of each frame.
void MatrixUpmixer::DecodeFronts(std::size_t frames) {
  float* fl = Plane(kFL);
  float* fr = Plane(kFR);
  float* fc = Plane(kFC);
  float* sl = Plane(kSL);
  float* sr = Plane(kSR);
  float* lfe = Plane(kLFE);
  // The LFE is filtered from the mean of all input channels.
  if (inChannels_ == 4) {
    for (std::size_t i = 0; i < frames; ++i) {
      lfe[i] = 0.25f * (fl[i] + fr[i] + sl[i] + sr[i]);
    }
  } else {
    for (std::size_t i = 0; i < frames; ++i) {
      lfe[i] = 0.5f * (fl[i] + fr[i]);
    }
  }
  const float* cancelCenter = Plane(kSteerPlane + kCancelCenter);
  const float* cancelSurround = Plane(kSteerPlane + kCancelSurround);
  const float* centerGain = Plane(kSteerPlane + kCenterGain);
  const float* surroundGain = Plane(kSteerPlane + kSurroundGain);
  // Each output's front part before the front scale (panorama wraps it onto
  // the surrounds).
  auto front = [&](std::size_t i, float l, float r, float sign) {
    const float m = 0.5f * (l + r);
    const float d = 0.5f * (l - r);
    const float own = sign > 0 ? l : r;
    return own - cancelCenter[i] * m - sign * cancelSurround[i] * d +
           widthToFronts_ * centerGain[i] * kSqrt2 * m;
  };
  if (inChannels_ == 2) {
    const auto [sa, sb, sc, sd] = surroundMatrix_;
    for (std::size_t i = 0; i < frames; ++i) {
      const float l = fl[i];
      const float r = fr[i];
      sl[i] = rearScale_ * (surroundGain[i] * (sa * l + sb * r) + panorama_ * front(i, l, r, 1.0f));
      sr[i] = rearScale_ * (surroundGain[i] * (sc * l + sd * r) + panorama_ * front(i, l, r, -1.0f));
    }
  }
  for (std::size_t i = 0; i < frames; ++i) {
    const float l = fl[i];
    const float r = fr[i];
    const float center = centerGain[i] * kSqrt2 * 0.5f * (l + r);
    fl[i] = frontScale_ * front(i, l, r, 1.0f);
    fr[i] = frontScale_ * front(i, l, r, -1.0f);
    fc[i] = frontScale_ * widthCenter_ * center;
  }
}

// Recursive filters: the LFE from the low end of the input, and the band
// limit of a mono surround.
void MatrixUpmixer::FilterDerived(std::size_t frames) {
  float* lfe = Plane(kLFE);
  const float k = lfeLowpass_;
  float y0 = lfeLp_[0];
  float y1 = lfeLp_[1];
  for (std::size_t i = 0; i < frames; ++i) {
    y0 += (1.0f - k) * (lfe[i] - y0);
    y1 += (1.0f - k) * (y0 - y1);
    lfe[i] = y1;
  }
  lfeLp_[0] = y0;
  lfeLp_[1] = y1;
  if (monoSurround_ && inChannels_ == 2) {
    float* s0 = Plane(kSL);
    float* s1 = Plane(kSR);
    const float ks = surroundLowpass_;
    float z = surroundLp_[0];
    for (std::size_t i = 0; i < frames; ++i) {
      z += (1.0f - ks) * (s0[i] - z);
      s0[i] = z;
      s1[i] = z;
    }
    surroundLp_[0] = z;
  }
}

void MatrixUpmixer::DelaySurrounds(std::size_t frames) {
  float* sl = Plane(kSL);
  float* sr = Plane(kSR);
  const std::size_t length = surroundDelay_;
  for (std::size_t i = 0; i < frames; ++i) {
    float* slot = delayLine_.data() + 2 * delayPos_;
    const float l = slot[0];
    const float r = slot[1];
    slot[0] = sl[i];
    slot[1] = sr[i];
    sl[i] = l;
    sr[i] = r;
    if (++delayPos_ == length) {
      delayPos_ = 0;
    }
  }
}

void MatrixUpmixer::WriteOutput(std::size_t frames, std::int16_t* out) {
  float* fl = Plane(kFL);
  float* fr = Plane(kFR);
  float* fc = Plane(kFC);
  float* sl = Plane(kSL);
  float* sr = Plane(kSR);
  float* x1 = Plane(kExtra1);
  float* x2 = Plane(kExtra2);
  std::size_t order[8] = {kFL, kFR, kFC, kLFE, kSL, kSR, kExtra1, kExtra2};
  switch (outChannels_) {
    case 4:  // no centre speaker: a phantom centre in the fronts
      for (std::size_t i = 0; i < frames; ++i) {
        fl[i] += kHalfSqrt2 * fc[i];
        fr[i] += kHalfSqrt2 * fc[i];
      }
      order[2] = kSL;
      order[3] = kSR;
      break;
    case 7: {  // back centre: what both surrounds share
      const float sign = inChannels_ == 2 && !monoSurround_ ? -1.0f : 1.0f;
      for (std::size_t i = 0; i < frames; ++i) {
        x1[i] = 0.5f * (sl[i] + sign * sr[i]);
      }
      break;
    }
    case 8:  // left and right of centre: between each front and the centre
      for (std::size_t i = 0; i < frames; ++i) {
        x1[i] = 0.5f * (fl[i] + fc[i]);
        x2[i] = 0.5f * (fr[i] + fc[i]);
      }
      break;
    default:
      break;
  }
  // Saturate plane by plane (contiguous, so it vectorises), then interleave.
  const auto oc = static_cast<std::size_t>(outChannels_);
  const std::int16_t* planes[8];
  for (std::size_t k = 0; k < oc; ++k) {
    const float* src = Plane(order[k]);
    std::int16_t* dst = samples_.data() + k * kChunkFrames;
    for (std::size_t i = 0; i < frames; ++i) {
      dst[i] = Saturate(src[i]);
    }
    planes[k] = dst;
  }
  switch (outChannels_) {
    case 4:
      Interleave<4>(planes, frames, out);
      break;
    case 6:
      Interleave<6>(planes, frames, out);
      break;
    case 7:
      Interleave<7>(planes, frames, out);
      break;
    default:
      Interleave<8>(planes, frames, out);
      break;
  }
}

// Folds the finished block's energies into the envelopes and sets the gains
// the next block ramps to.
void MatrixUpmixer::EndSteeringBlock() {
  const float perFrame = 1.0f / static_cast<float>(blockFrames_);
  const auto [ll, rr, lr] = blockEnergy_;
  // Left, right, sum (l + r) / 2 and difference (l - r) / 2.
  const float mean[4] = {ll * perFrame, rr * perFrame, 0.25f * (ll + 2 * lr + rr) * perFrame,
                         0.25f * (ll - 2 * lr + rr) * perFrame};
  for (std::size_t k = 0; k < 4; ++k) {
    envelope_[k] = envelopeKeep_ * envelope_[k] + (1.0f - envelopeKeep_) * std::max(mean[k], 0.0f);
  }
  blockEnergy_ = {};
  blockPos_ = 0;
  gainsFrom_ = gainsTo_;
  gainsTo_ = TargetGains();
}

// Dominance along the left-right axis and along the centre-surround axis
// (both -1 .. 1) from the envelopes. A signal between left and right that
// leans to the centre is cancelled from the fronts and sent to the centre;
// one that leans to the surround likewise to the surrounds. A signal that
// leans to one side keeps centre and surrounds quiet.
MatrixUpmixer::SteerGains MatrixUpmixer::TargetGains() const {
  if (!active_) {
    return {0.0f, 0.0f, 1.0f, 1.0f};
  }
  constexpr float kTiny = 1e-3f;
  const auto [left, right, sum, difference] = envelope_;
  const float lr = left + right > kTiny ? (left - right) / (left + right) : 0.0f;
  const float cs = sum + difference > kTiny ? (sum - difference) / (sum + difference) : 0.0f;
  const float between = 1.0f - std::abs(lr);
  const float toCenter = std::max(cs, 0.0f) * between;
  const float toSurround = inChannels_ == 2 ? std::max(-cs, 0.0f) * between : 0.0f;
  return {toCenter, toSurround, between * (1.0f - toSurround), between * (1.0f - toCenter)};
}

}  // namespace zmsp
