#include "soundproc/stages/ChannelControl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zmsp {

namespace {

// Samples per processing block: small enough that a block and its rows stay in
// the first-level cache, large enough that the per-block overhead vanishes.
constexpr std::size_t kBlockSamples = 2048;

constexpr std::uint32_t kFrontSpeakers = 0xF;  // front left, front right, centre, LFE
constexpr int kMaskBitsWalked = 18;

bool IsBalancedLayout(const PcmFormat& layout) {
  const std::uint32_t mask = layout.channelMask;
  switch (layout.channels) {
    case 4:
      return mask == 0x33;
    case 6:
      return mask == 0x3F;
    case 7:
      return mask == 0x13F;
    case 8:
      return mask == 0xFF;
    default:
      return false;
  }
}

double LevelGain(int levelDb) { return std::pow(10.0, levelDb * 0.05); }

template <typename Sample>
inline Sample AddSaturated(Sample a, Sample b) {
  const std::int64_t sum = std::int64_t{a} + b;
  return static_cast<Sample>(
      std::clamp<std::int64_t>(sum, std::numeric_limits<Sample>::min(), std::numeric_limits<Sample>::max()));
}

// Two's-complement wrap-around at the sample width (well defined since C++20).
template <typename Sample>
inline Sample AddWrapped(Sample a, Sample b) {
  return static_cast<Sample>(std::int64_t{a} + b);
}

// The kernel of `set` for the sample width.
template <typename Sample, typename For16, typename For32>
auto Kernel(For16 for16, For32 for32) {
  if constexpr (sizeof(Sample) == 2) {
    return for16;
  } else {
    return for32;
  }
}

}  // namespace

template <>
std::vector<std::int16_t>& ChannelControl::Scratch<std::int16_t>() {
  return scratch16_;
}
template <>
std::vector<std::int32_t>& ChannelControl::Scratch<std::int32_t>() {
  return scratch32_;
}

void ChannelControl::Configure(const PcmFormat& layout) {
  layout_ = layout;
  positions_ = ChannelPositions::FromLayout(layout);
  const bool extensibleInteger = layout.extensible && layout.IntegerWidthSupported();
  applies_.balance = extensibleInteger && IsBalancedLayout(layout);
  const std::uint32_t needed = kSpeakerFrontLeft | kSpeakerFrontRight | kSpeakerLowFrequency;
  applies_.lfeMixer = hasLfe_ && extensibleInteger && layout.channels >= 3 &&
                      (layout.channelMask & needed) == needed && positions_.lowFrequency >= 0;
  Refresh();

  blockFrames_ = std::max<std::size_t>(1, kBlockSamples / std::max<std::uint16_t>(layout.channels, 1));
  const std::size_t blockSamples = blockFrames_ * layout.channels;
  if (layout.bitsPerSample == 16) {
    scratch16_.resize(blockSamples);
    scratch32_ = {};
  } else if (layout.bitsPerSample == 32) {
    scratch32_.resize(blockSamples);
    scratch16_ = {};
  }
}

bool ChannelControl::VolAdjustApplies() const {
  if (!layout_.extensible || !layout_.IntegerWidthSupported() || !IsBalancedLayout(layout_)) {
    return false;
  }
  const std::uint32_t mask = layout_.channelMask;
  const ChannelControlSettings& s = settings_;
  const bool lfe = (mask & kSpeakerLowFrequency) && hasLfe_ && s.lfeLevelDb != 0;
  const bool center = (mask & kSpeakerFrontCenter) && s.centerLevelDb != 0;
  const bool front = (mask & (kSpeakerFrontLeft | kSpeakerFrontRight)) && s.frontLevelDb != 0;
  const bool rear = (mask & ~kFrontSpeakers) && s.rearLevelDb != 0;
  return lfe || center || front || rear;
}

bool ChannelControl::BoostApplies() const {
  const bool sourceOk = settings_.volBoostApplyTo == BoostApplyTo::kEverySource || ac3Source_;
  const bool tagOk =
      layout_.formatTag == PcmFormat::kTagPcm || layout_.formatTag == PcmFormat::kTagExtensible;
  return layout_.parsed && sourceOk && tagOk && layout_.IntegerWidthSupported();
}

void ChannelControl::Refresh() {
  applies_.volAdjust = VolAdjustApplies();
  applies_.boost = BoostApplies();
  const bool tableInUse = settings_.volBoost && applies_.boost && layout_.bitsPerSample == 16 &&
                          settings_.volBoostAlgorithm == BoostAlgorithm::kSoftCurve;
  if (!tableInUse) {
    boostTable_.Release();
  }
  const bool plainMapInUse = settings_.volBoost && applies_.boost && layout_.bitsPerSample == 16 &&
                             settings_.volBoostAlgorithm == BoostAlgorithm::kPlainGain;
  if (!plainMapInUse) {
    plainGainMap_.Release();
  }
}

bool ChannelControl::HasWork() const {
  const ChannelControlSettings& s = settings_;
  return (s.volAdjust && applies_.volAdjust) || (s.frBalance && applies_.balance) ||
         (s.lfeMixer && applies_.lfeMixer) || (s.volBoost && applies_.boost);
}

void ChannelControl::Reset() {
  layout_ = {};
  positions_ = {};
  applies_ = {};
  gains_ = {};
  balanceFlags_ = {};
  balanceFactor_ = 100;
  boostTable_.Release();
  plainGainMap_.Release();
  scratch16_ = {};
  scratch32_ = {};
  gainRow_ = {};
  balanceRow_ = {};
}

void ChannelControl::PrepareVolAdjust() {
  const std::uint32_t mask = layout_.channelMask;
  const ChannelControlSettings& s = settings_;
  const auto gainIf = [](bool condition, int levelDb) { return condition ? LevelGain(levelDb) : 1.0; };
  gains_.lfe = gainIf((mask & kSpeakerLowFrequency) && hasLfe_ && s.lfeLevelDb != 0, s.lfeLevelDb);
  gains_.center = gainIf((mask & kSpeakerFrontCenter) && s.centerLevelDb != 0, s.centerLevelDb);
  gains_.front =
      gainIf((mask & (kSpeakerFrontLeft | kSpeakerFrontRight)) && s.frontLevelDb != 0, s.frontLevelDb);
  gains_.rear = gainIf((mask & ~kFrontSpeakers) && s.rearLevelDb != 0, s.rearLevelDb);

  // Front-of-centre speakers are neither centre nor front left/right, so they
  // take the rear gain.
  const std::size_t channels = layout_.channels;
  gainRow_.resize(blockFrames_ * channels);
  for (std::size_t slot = 0; slot < gainRow_.size(); ++slot) {
    const auto position = static_cast<std::int32_t>(slot % channels);
    double gain = gains_.rear;
    if (position == positions_.frontCenter) {
      gain = gains_.center;
    } else if (position == positions_.lowFrequency) {
      gain = gains_.lfe;
    } else if (position == positions_.frontLeft || position == positions_.frontRight) {
      gain = gains_.front;
    }
    gainRow_[slot] = gain;
  }
}

void ChannelControl::PreparePlainGainMap() {
  if (plainGainMap_.Built() && plainGainMapLevel_ == settings_.volBoostLevelDb) {
    return;
  }
  const double gain = BoostGain(ClampBoostLevel(settings_.volBoostLevelDb));
  const ChannelControlKernels& reference = ReferenceChannelKernels();
  // Without memory for the map the gain is computed per sample instead.
  plainGainMapLevel_ = plainGainMap_.Build([&](std::int16_t s) {
    reference.gainAll16(&s, 1, gain);
    return s;
  })
                           ? settings_.volBoostLevelDb
                           : 0;
}

void ChannelControl::PrepareBalance() {
  // The getters keep the level within -100..100; holding it there keeps every
  // scaled sample within its range whatever the caller passes.
  const int level = std::clamp(settings_.frBalanceLevel, -100, 100);
  balanceFactor_ = 100 - std::abs(level);
  balanceFlags_ = {};
  std::size_t position = 0;
  for (int bit = 0; bit < kMaskBitsWalked && position < kBalancePositions; ++bit) {
    const std::uint32_t speaker = 1u << bit;
    if ((layout_.channelMask & speaker) == 0) {
      continue;
    }
    balanceFlags_[position++] = (speaker & kFrontSpeakers) ? level < 0 : level >= 0;
  }
  // An unflagged slot is scaled by 100 / 100, which leaves every sample as it is.
  const std::size_t channels = layout_.channels;
  balanceRow_.resize(blockFrames_ * channels);
  for (std::size_t slot = 0; slot < balanceRow_.size(); ++slot) {
    balanceRow_[slot] = balanceFlags_[slot % channels] ? balanceFactor_ : 100.0;
  }
}

ChannelControl::Outcome ChannelControl::Process(std::span<std::byte> buffer, std::size_t dataBytes) {
  Outcome outcome;
  const std::size_t frames = layout_.FramesIn(std::min(dataBytes, buffer.size()));
  if (frames == 0 || !layout_.IntegerWidthSupported()) {
    return outcome;
  }
  const ChannelControlSettings& s = settings_;
  if (s.volAdjust && applies_.volAdjust) {
    PrepareVolAdjust();
  }
  if (s.frBalance && applies_.balance) {
    PrepareBalance();
  }
  bool boost = s.volBoost && applies_.boost;
  if (boost && layout_.bitsPerSample == 16 && s.volBoostAlgorithm == BoostAlgorithm::kSoftCurve &&
      !boostTable_.Prepare(s.volBoostLevelDb)) {
    outcome.boostSkippedNoMemory = true;
    boost = false;
  }
  if (boost && layout_.bitsPerSample == 16 && s.volBoostAlgorithm == BoostAlgorithm::kPlainGain) {
    PreparePlainGainMap();
  }
  if (layout_.bitsPerSample == 16) {
    ProcessSamples<std::int16_t>(buffer.data(), frames, boost);
  } else {
    ProcessSamples<std::int32_t>(buffer.data(), frames, boost);
  }
  outcome.frames = frames;
  return outcome;
}

template <typename Sample>
void ChannelControl::ProcessSamples(std::byte* data, std::size_t frames, bool boost) {
  const std::size_t frameBytes = layout_.FrameBytes();
  if (reinterpret_cast<std::uintptr_t>(data) % alignof(Sample) == 0) {
    // Allocator buffers are aligned: work on the samples where they lie.
    auto* samples = reinterpret_cast<Sample*>(data);
    for (std::size_t done = 0; done < frames; done += blockFrames_) {
      ProcessBlock(samples + done * layout_.channels, std::min(blockFrames_, frames - done), boost);
    }
    return;
  }
  std::vector<Sample>& block = Scratch<Sample>();
  for (std::size_t done = 0; done < frames; done += blockFrames_) {
    const std::size_t count = std::min(blockFrames_, frames - done);
    std::byte* where = data + done * frameBytes;
    std::memcpy(block.data(), where, count * frameBytes);
    ProcessBlock(block.data(), count, boost);
    std::memcpy(where, block.data(), count * frameBytes);
  }
}

template <typename Sample>
void ChannelControl::ProcessBlock(Sample* samples, std::size_t frames, bool boost) {
  const ChannelControlSettings& s = settings_;
  const std::size_t channels = layout_.channels;
  const std::size_t count = frames * channels;
  const ChannelControlKernels& k = *kernels_;

  if (s.volAdjust && applies_.volAdjust) {
    Kernel<Sample>(k.gainRow16, k.gainRow32)(samples, count, gainRow_.data());
  }

  if (s.frBalance && applies_.balance) {
    Kernel<Sample>(k.scaleRow16, k.scaleRow32)(samples, count, balanceRow_.data(), 100.0);
  }

  if (s.lfeMixer && applies_.lfeMixer) {
    MixLfe(samples, count);
  }

  if (boost) {
    ApplyBoost(samples, count);
  }
}

template <typename Sample>
void ChannelControl::MixLfe(Sample* samples, std::size_t count) {
  const ChannelControlSettings& s = settings_;
  const std::size_t channels = layout_.channels;
  const auto lfe = static_cast<std::size_t>(positions_.lowFrequency);
  // Within 0..100 (as the getters give it), the mixed sums stay in range.
  const double share = std::clamp(s.lfeMixerLevel, 0, 100);
  if (s.lfeCorrectSignalLevel) {
    // Scaling every channel by 100 / (100 + L) first leaves room for the
    // added LFE share, so the sums below cannot leave the sample range.
    Kernel<Sample>(kernels_->scaleAll16, kernels_->scaleAll32)(samples, count, 100.0, 100.0 + share);
  }
  // The LFE share of every frame, scaled in one vectorised pass. A block
  // holds at most kBlockSamples / 3 frames (the mixer needs three channels).
  Sample mixed[kBlockSamples / 3];
  const std::size_t frames = count / channels;
  for (std::size_t f = 0; f < frames; ++f) {
    mixed[f] = samples[f * channels + lfe];
  }
  Kernel<Sample>(kernels_->scaleAll16, kernels_->scaleAll32)(mixed, frames, share, 100.0);
  const bool saturate = s.lfeCorrectSignalLevel || s.lfeOverflowProtection;
  for (std::size_t f = 0; f < frames; ++f) {
    Sample* frame = samples + f * channels;
    if (saturate) {
      frame[0] = AddSaturated(frame[0], mixed[f]);
      frame[1] = AddSaturated(frame[1], mixed[f]);
    } else {
      frame[0] = AddWrapped(frame[0], mixed[f]);
      frame[1] = AddWrapped(frame[1], mixed[f]);
    }
    frame[lfe] = 0;
  }
}

template <typename Sample>
void ChannelControl::ApplyBoost(Sample* samples, std::size_t count) {
  const ChannelControlSettings& s = settings_;
  const bool plainGain = s.volBoostAlgorithm == BoostAlgorithm::kPlainGain;
  if constexpr (sizeof(Sample) == 2) {
    if (!plainGain) {
      boostTable_.Apply({samples, count});
      return;
    }
    if (plainGainMap_.Built()) {
      plainGainMap_.Apply({samples, count});
      return;
    }
  } else if (!plainGain) {
    kernels_->softBoost32(samples, count, SoftCurve(s.volBoostLevelDb));
    return;
  }
  const double gain = BoostGain(ClampBoostLevel(s.volBoostLevelDb));
  Kernel<Sample>(kernels_->gainAll16, kernels_->gainAll32)(samples, count, gain);
}

}  // namespace zmsp
