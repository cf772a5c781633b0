#pragma once
// Channel control DSP: volume adjust, front/rear balance, LFE mixing and volume
// boost on interleaved 16- or 32-bit signed PCM, applied in place in that order.
// No media or COM types: ChannelControlStage feeds it formats, settings and
// buffers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "soundproc/stages/BoostCurve.h"
#include "soundproc/stages/ChannelControlKernels.h"
#include "soundproc/stages/ChannelControlSettings.h"
#include "soundproc/stages/ChannelPositions.h"
#include "soundproc/contract/PcmFormat.h"
#include "soundproc/stages/SampleMap16.h"

namespace zmsp {

class ChannelControl {
 public:
  struct Applicability {
    bool volAdjust = false;
    bool balance = false;
    bool lfeMixer = false;
    bool boost = false;
  };

  // Gains of the four volume-adjust groups, as used for the last buffer.
  struct GroupGains {
    double center = 1.0;
    double lfe = 1.0;
    double front = 1.0;
    double rear = 1.0;
  };

  struct Outcome {
    std::size_t frames = 0;             // frames processed
    bool boostSkippedNoMemory = false;  // the boost table could not be allocated
  };

  static constexpr std::size_t kBalancePositions = 8;

  ChannelControl() = default;
  ChannelControl(const ChannelControl&) = delete;
  ChannelControl& operator=(const ChannelControl&) = delete;

  void SetSettings(const ChannelControlSettings& settings) { settings_ = settings; }
  [[nodiscard]] const ChannelControlSettings& Settings() const { return settings_; }
  // The filter's input format has an LFE channel (set before every buffer).
  void SetHasLfe(bool hasLfe) { hasLfe_ = hasLfe; }
  [[nodiscard]] bool HasLfe() const { return hasLfe_; }
  // The stream comes from an AC3 source (set when the input connects).
  void SetAc3Source(bool ac3) { ac3Source_ = ac3; }
  [[nodiscard]] bool Ac3Source() const { return ac3Source_; }

  // A new format: channel positions and all four applicability flags.
  void Configure(const PcmFormat& layout);
  // Settings or has-LFE may have changed since Configure(): recompute the
  // boost and volume-adjust applicability and free the boost table when the
  // soft curve no longer runs on 16-bit data.
  void Refresh();
  // At least one operation is switched on and applies to the format.
  [[nodiscard]] bool HasWork() const;

  // Processes the first `dataBytes` of `buffer` in place (never beyond the
  // buffer); a trailing partial frame is left alone.
  [[nodiscard]] Outcome Process(std::span<std::byte> buffer, std::size_t dataBytes);

  // Runs the per-sample formulas one sample at a time as written instead of
  // the vectorised loops; both give the same samples.
  void UseReferenceKernels(bool reference) {
    kernels_ = reference ? &ReferenceChannelKernels() : &FastChannelKernels();
  }

  // Forgets the format and frees the boost table; settings stay.
  void Reset();

  [[nodiscard]] const PcmFormat& Layout() const { return layout_; }
  [[nodiscard]] const Applicability& WhatApplies() const { return applies_; }
  [[nodiscard]] const ChannelPositions& Positions() const { return positions_; }
  [[nodiscard]] const GroupGains& Gains() const { return gains_; }
  [[nodiscard]] const std::array<bool, kBalancePositions>& BalanceFlags() const { return balanceFlags_; }
  [[nodiscard]] int BalanceFactor() const { return balanceFactor_; }
  [[nodiscard]] const BoostTable& CurrentBoostTable() const { return boostTable_; }

 private:
  [[nodiscard]] bool VolAdjustApplies() const;
  [[nodiscard]] bool BoostApplies() const;
  void PrepareVolAdjust();
  void PrepareBalance();
  void PreparePlainGainMap();
  template <typename Sample>
  void ProcessSamples(std::byte* data, std::size_t frames, bool boost);
  template <typename Sample>
  void ProcessBlock(Sample* samples, std::size_t frames, bool boost);
  template <typename Sample>
  void MixLfe(Sample* samples, std::size_t count);
  template <typename Sample>
  void ApplyBoost(Sample* samples, std::size_t count);

  ChannelControlSettings settings_;
  PcmFormat layout_;
  bool hasLfe_ = false;
  bool ac3Source_ = false;
  Applicability applies_;
  ChannelPositions positions_;
  GroupGains gains_;
  std::array<bool, kBalancePositions> balanceFlags_{};
  int balanceFactor_ = 100;
  BoostTable boostTable_;
  // The plain-gain boost of 16-bit samples as a table (one lookup beats the
  // arithmetic there), rebuilt when the level changes.
  SampleMap16 plainGainMap_;
  int plainGainMapLevel_ = 0;
  // The per-sample loops: the fast set, or the reference set for comparison.
  const ChannelControlKernels* kernels_ = &FastChannelKernels();

  // Per-sample-slot gain and balance factor for one block of frames, so the
  // inner loops run over flat arrays without a modulo per sample.
  std::vector<double> gainRow_;
  std::vector<double> balanceRow_;
  // A block of a buffer that is not aligned for its sample type is copied
  // here, processed and copied back.
  std::vector<std::int16_t> scratch16_;
  std::vector<std::int32_t> scratch32_;
  std::size_t blockFrames_ = 1;

  template <typename Sample>
  std::vector<Sample>& Scratch();
};

}  // namespace zmsp
