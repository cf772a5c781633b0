#include "soundproc/stages/MatrixUpmixer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zmsp {
namespace {

constexpr float kSqrt2 = std::numbers::sqrt2_v<float>;
constexpr float kHalfSqrt2 = kSqrt2 / 2;

// Planes of the scratch block.
enum Plane : std::size_t { kFL, kFR, kFC, kLFE, kSL, kSR, kExtra1, kExtra2, kPlaneCount };

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

Decode decodeFor(const UpmixParams& p) {
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
float onePole(double cutoffHz, int rate) {
  return static_cast<float>(std::exp(-2.0 * std::numbers::pi * std::min(cutoffHz, rate * 0.45) / rate));
}

std::int16_t saturate(float v) {
  v = std::clamp(v, -32768.0f, 32767.0f);
  return static_cast<std::int16_t>(v + (v >= 0.0f ? 0.5f : -0.5f));
}

}  // namespace

bool MatrixUpmixer::supports(int inChannels, int outChannels) {
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

std::uint32_t MatrixUpmixer::channelMask(int channels) {
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

bool MatrixUpmixer::configure(int inChannels, int outChannels, int sampleRate) {
  if (!supports(inChannels, outChannels) || sampleRate <= 0) {
    inChannels_ = outChannels_ = sampleRate_ = 0;
    return false;
  }
  inChannels_ = inChannels;
  outChannels_ = outChannels;
  sampleRate_ = sampleRate;
  prepare();
  reset();
  return true;
}

void MatrixUpmixer::setParams(const UpmixParams& params) {
  UpmixParams p = params;
  if (p.algorithm < UpmixParams::kAlgorithmIce || p.algorithm > UpmixParams::kAlgorithmProLogic2 ||
      p.mode < UpmixParams::kModeProLogicEmulation || p.mode > UpmixParams::kModeCustom) {
    p.algorithm = UpmixParams::kAlgorithmProLogic2;
    p.mode = UpmixParams::kModeMovie;
  }
  p.centerWidth = std::clamp(p.centerWidth, 0, 7);
  p.dimension = std::clamp(p.dimension, 0, 6);
  const bool delayChanges = configured() && decodeFor(p).surroundDelaySeconds !=
                                                decodeFor(params_).surroundDelaySeconds;
  params_ = p;
  if (configured()) {
    prepare();
    if (delayChanges) {
      delayLine_.assign(2 * surroundDelay_, 0.0f);
      delayPos_ = 0;
    }
  }
}

void MatrixUpmixer::prepare() {
  const Decode d = decodeFor(params_);
  active_ = d.active;
  monoSurround_ = d.monoSurround;
  const double rate = sampleRate_;
  blockFrames_ = std::clamp<std::size_t>(static_cast<std::size_t>(std::lround(rate * kSteeringBlockSeconds)), 1,
                                         kMaxBlockFrames);
  envelopeKeep_ =
      d.active ? static_cast<float>(std::exp(-static_cast<double>(blockFrames_) / (d.envelopeSeconds * rate)))
               : 0.0f;
  surroundLowpass_ = d.monoSurround ? onePole(kSurroundCutoffHz, sampleRate_) : 0.0f;
  lfeLowpass_ = onePole(kLfeCutoffHz, sampleRate_);
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
  scratch_.assign(kPlaneCount * blockFrames_, 0.0f);
}

void MatrixUpmixer::reset() {
  blockPos_ = 0;
  blockEnergy_ = {};
  envelope_ = {};
  gainsFrom_ = gainsTo_ = {0.0f, 0.0f, 1.0f, 1.0f};
  surroundLp_[0] = surroundLp_[1] = 0.0f;
  lfeLp_[0] = lfeLp_[1] = 0.0f;
  delayLine_.assign(2 * surroundDelay_, 0.0f);
  delayPos_ = 0;
}

std::size_t MatrixUpmixer::process(const std::int16_t* in, std::size_t frames, std::int16_t* out,
                                   std::size_t outCapacityFrames) {
  if (!configured() || in == nullptr || out == nullptr) {
    return 0;
  }
  const std::size_t total = std::min(frames, outCapacityFrames);
  const auto ic = static_cast<std::size_t>(inChannels_);
  const auto oc = static_cast<std::size_t>(outChannels_);
  std::size_t done = 0;
  while (done < total) {
    const std::size_t n = std::min(total - done, blockFrames_ - blockPos_);
    processChunk(in + done * ic, n, out + done * oc);
    done += n;
    blockPos_ += n;
    if (blockPos_ == blockFrames_) {
      endSteeringBlock();
    }
  }
  return total;
}

// One piece of a steering block: its gains ramp from gainsFrom_ to gainsTo_
// by the frame's place in the block, so the cut into process() calls does not
// change the result.
void MatrixUpmixer::processChunk(const std::int16_t* in, std::size_t frames, std::int16_t* out) {
  readInput(in, frames);
  if (inChannels_ < 6) {
    decodeFronts(frames);
    filterDerived(frames);
    if (inChannels_ == 2 && surroundDelay_ > 0) {
      delaySurrounds(frames);
    }
  }
  writeOutput(frames, out);
}

void MatrixUpmixer::readInput(const std::int16_t* in, std::size_t frames) {
  const auto ic = static_cast<std::size_t>(inChannels_);
  // Input channel k goes to plane slot[k].
  static constexpr std::size_t kSlots2[] = {kFL, kFR};
  static constexpr std::size_t kSlots4[] = {kFL, kFR, kSL, kSR};
  static constexpr std::size_t kSlots6[] = {kFL, kFR, kFC, kLFE, kSL, kSR};
  const std::size_t* slots = ic == 2 ? kSlots2 : ic == 4 ? kSlots4 : kSlots6;
  for (std::size_t k = 0; k < ic; ++k) {
    float* dst = plane(slots[k]);
    for (std::size_t i = 0; i < frames; ++i) {
      dst[i] = in[i * ic + k];
    }
  }
}

// The matrix decode of the front pair (Lt, Rt) into left, right, centre and
// (for stereo input) the two surrounds, with the steering of this block.
void MatrixUpmixer::decodeFronts(std::size_t frames) {
  float* fl = plane(kFL);
  float* fr = plane(kFR);
  float* fc = plane(kFC);
  float* sl = plane(kSL);
  float* sr = plane(kSR);
  float* lfe = plane(kLFE);
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
  double energy[4] = {blockEnergy_[0], blockEnergy_[1], blockEnergy_[2], blockEnergy_[3]};
  for (std::size_t i = 0; i < frames; ++i) {
    const double l = fl[i];
    const double r = fr[i];
    energy[0] += l * l;
    energy[1] += r * r;
    energy[2] += 0.25 * (l + r) * (l + r);
    energy[3] += 0.25 * (l - r) * (l - r);
  }
  std::copy_n(energy, 4, blockEnergy_.begin());

  const bool decodeSurrounds = inChannels_ == 2;
  const float step = 1.0f / static_cast<float>(blockFrames_);
  SteerGains delta;
  for (std::size_t g = 0; g < kSteerCount; ++g) {
    delta[g] = (gainsTo_[g] - gainsFrom_[g]) * step;
  }
  const auto [sa, sb, sc, sd] = surroundMatrix_;
  for (std::size_t i = 0; i < frames; ++i) {
    const auto t = static_cast<float>(blockPos_ + i + 1);
    const float cancelC = gainsFrom_[kCancelCenter] + delta[kCancelCenter] * t;
    const float cancelS = gainsFrom_[kCancelSurround] + delta[kCancelSurround] * t;
    const float gainC = gainsFrom_[kCenterGain] + delta[kCenterGain] * t;
    const float gainS = gainsFrom_[kSurroundGain] + delta[kSurroundGain] * t;
    const float l = fl[i];
    const float r = fr[i];
    const float m = 0.5f * (l + r);
    const float d = 0.5f * (l - r);
    const float center = gainC * kSqrt2 * m;
    const float left = l - cancelC * m - cancelS * d + widthToFronts_ * center;
    const float right = r - cancelC * m + cancelS * d + widthToFronts_ * center;
    fl[i] = frontScale_ * left;
    fr[i] = frontScale_ * right;
    fc[i] = frontScale_ * widthCenter_ * center;
    if (decodeSurrounds) {
      sl[i] = rearScale_ * (gainS * (sa * l + sb * r) + panorama_ * left);
      sr[i] = rearScale_ * (gainS * (sc * l + sd * r) + panorama_ * right);
    }
  }
}

// Recursive filters: the LFE from the low end of the input, and the band
// limit of a mono surround.
void MatrixUpmixer::filterDerived(std::size_t frames) {
  float* lfe = plane(kLFE);
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
    float* s0 = plane(kSL);
    float* s1 = plane(kSR);
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

void MatrixUpmixer::delaySurrounds(std::size_t frames) {
  float* sl = plane(kSL);
  float* sr = plane(kSR);
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

void MatrixUpmixer::writeOutput(std::size_t frames, std::int16_t* out) {
  float* fl = plane(kFL);
  float* fr = plane(kFR);
  float* fc = plane(kFC);
  float* sl = plane(kSL);
  float* sr = plane(kSR);
  float* x1 = plane(kExtra1);
  float* x2 = plane(kExtra2);
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
  const auto oc = static_cast<std::size_t>(outChannels_);
  for (std::size_t k = 0; k < oc; ++k) {
    const float* src = plane(order[k]);
    for (std::size_t i = 0; i < frames; ++i) {
      out[i * oc + k] = saturate(src[i]);
    }
  }
}

// Folds the finished block's energies into the envelopes and sets the gains
// the next block ramps to.
void MatrixUpmixer::endSteeringBlock() {
  const double perFrame = 1.0 / static_cast<double>(blockFrames_);
  for (std::size_t k = 0; k < 4; ++k) {
    const auto mean = static_cast<float>(blockEnergy_[k] * perFrame);
    envelope_[k] = envelopeKeep_ * envelope_[k] + (1.0f - envelopeKeep_) * mean;
  }
  blockEnergy_ = {};
  blockPos_ = 0;
  gainsFrom_ = gainsTo_;
  gainsTo_ = targetGains();
}

// Dominance along the left-right axis and along the centre-surround axis
// (both -1 .. 1) from the envelopes. A signal between left and right that
// leans to the centre is cancelled from the fronts and sent to the centre;
// one that leans to the surround likewise to the surrounds. A signal that
// leans to one side keeps centre and surrounds quiet.
MatrixUpmixer::SteerGains MatrixUpmixer::targetGains() const {
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
