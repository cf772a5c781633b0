#pragma once
// Channel control in the filter's chain: runs after the expander and the time
// stretcher, so it sees the final channel layout, and before the sound meter.
// The arithmetic is ChannelControl's; this class follows the stage contract
// (settings, format changes carried on samples, the copy of upstream samples).

#include "soundproc/stages/ChannelControl.h"
#include "soundproc/contract/Settings.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

// Every value of the "Channel Control" key, through the getters' defaults and ranges.
[[nodiscard]] ChannelControlSettings ReadChannelControlSettings(const Settings& settings);

class ChannelControlStage final : public ProcessingStage {
 public:
  static constexpr const char* kInsufficientMemory = "ZmSoundProcessor.ax: Insufficient memory.";

  // Reads every "Channel Control" setting from `store`.
  explicit ChannelControlStage(SettingsStore& store = CurrentSettingsStore());

  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override;

  // Set by the filter: before every sample (its input is extensible with an
  // LFE speaker) and when the input connects (the source is AC3).
  bool hasLfe = false;
  bool ac3Source = false;

  // Shown on the property page.
  bool mustCopy = false;
  PcmFormat format;
  SampleSizes lastSample;
  [[nodiscard]] const ChannelControl& Control() const { return control_; }
  [[nodiscard]] const ChannelControlSettings& CurrentSettings() const { return control_.Settings(); }

 private:
  HRESULT ProcessInPlace(IMediaSample* sample);

  Settings settings_;
  ChannelControl control_;
};

}  // namespace zmsp
