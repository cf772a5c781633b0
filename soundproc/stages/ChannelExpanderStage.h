#pragma once
// The channel expander's place in the chain. Upmixing through the outside
// expansion object is not hosted yet: the stage keeps its settings and the
// format it sees, and passes every sample on unchanged, so it never claims to
// change the output type.

#include <cstdint>

#include "soundproc/contract/Settings.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

class ChannelExpanderStage final : public ProcessingStage {
 public:
  // Reads "Enable", "OutputChannels", "MinFrequency" and "AC3Only".
  explicit ChannelExpanderStage(SettingsStore& store = CurrentSettingsStore());

  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override;

  // Whether this stage expands `type`. Always false while samples pass
  // through unchanged; the filter's output type then equals its input type.
  [[nodiscard]] bool AppliesTo(const AM_MEDIA_TYPE& type) const;
  // The media type this stage produces for `input`: a deep copy of it while
  // nothing is expanded. The caller frees `output` with FreeMediaType.
  HRESULT OutputType(const AM_MEDIA_TYPE& input, AM_MEDIA_TYPE* output) const;

  // Set by the filter when the input connects.
  bool ac3Source = false;
  std::int32_t fileType = 0;  // 0 other, 1 ".mp3", 2 ".ogg", 3 ".wma"
  // Refreshed by the filter for every sample.
  std::uint32_t outputChannels = 6;
  std::uint32_t minFrequency = 22050;
  bool ac3Only = false;

  InputFormatSummary format;
  SampleSizes lastSample;
};

}  // namespace zmsp
