// The filter's four stages as the per-sample driver sees them: the chain
// links, the connection facts handed to the stages, the expander's type
// decisions and the per-sample settings refresh. StandardStages.cpp binds
// the real stage classes; the unit tests bind stages of their own.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/ProcessingStage.h"
#include "soundproc/contract/Settings.h"
#include "soundproc/frame/pages/PageStatus.h"

namespace zmsp {

class StageSet {
 public:
  virtual ~StageSet() = default;

  virtual ProcessingStage& ChannelControl() = 0;
  virtual ProcessingStage& ChannelExpander() = 0;
  virtual ProcessingStage& TimeStretcher() = 0;
  virtual ProcessingStage& SoundMeter() = 0;

  // The four stages in the order they process a sample for `outputChannels`.
  // Seven or eight channels are made from at most six, so the time stretcher
  // then runs before the expander. The sound meter is always last.
  std::array<ProcessingStage*, 4> Chain(std::uint32_t outputChannels) {
    const bool stretchFirst = outputChannels == 7 || outputChannels == 8;
    ProcessingStage& expander = ChannelExpander();
    ProcessingStage& stretcher = TimeStretcher();
    return {stretchFirst ? &stretcher : &expander, stretchFirst ? &expander : &stretcher, &ChannelControl(),
            &SoundMeter()};
  }

  // Connection facts: the source is AC3 (expander and channel control) and
  // the played file's type, 0 none/other, 1 ".mp3", 2 ".ogg", 3 ".wma" (expander).
  virtual void SetAc3Source(bool ac3Source) = 0;
  virtual void SetFileType(int fileType) = 0;
  // Set before every sample: the filter's input has an LFE channel.
  virtual void SetHasLfe(bool hasLfe) = 0;

  // Re-reads the expander's "Enable", "OutputChannels", "MinFrequency" and
  // "AC3Only" into the expander stage.
  virtual void RefreshExpanderSettings(const Settings& settings) = 0;
  // The expander's decision for `type` and the output type it produces.
  virtual bool ExpanderAppliesTo(const AM_MEDIA_TYPE& type) = 0;
  virtual HRESULT ExpanderOutputType(const AM_MEDIA_TYPE& input, MediaType& output) = 0;

  // The sound meter: measuring switch and the last levels (8 positions).
  virtual void SetMeasuring(bool measuring) = 0;
  virtual std::array<std::int32_t, 8> MeterLevels() = 0;

  // What the status page shows of the stages (everything but the filter's
  // input format), read on the page's thread without a lock.
  virtual void DescribeForPage(pages::PageStatus& status) { (void)status; }
  // The upmix and time-stretch objects once the stages created them, for
  // their own property pages; null before.
  virtual ComPtr<IUnknown> ExpanderObject() { return nullptr; }
  virtual ComPtr<IUnknown> StretcherObject() { return nullptr; }
};

// The product's stages, constructed as the filter's creation rule says.
std::unique_ptr<StageSet> CreateStandardStages(SettingsStore& store);

}  // namespace zmsp
