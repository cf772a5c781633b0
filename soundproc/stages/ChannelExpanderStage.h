#pragma once
// The channel expander: turns 2-, 4- or 6-channel 16-bit PCM into 4, 6, 7 or
// 8 channels through an expansion DMO. The stage decides when expansion
// applies, builds the extensible output type, hands the upmix parameters to
// the DMO through its persisted state and streams samples through it.
//
// The DMO is the outside expansion component when it is registered, else our
// own upmixer from the factory in `sources` (see DmoCreation.h).

#include <cstdint>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/Settings.h"
#include "soundproc/stages/DmoCreation.h"
#include "soundproc/stages/DmoStreamer.h"
#include "soundproc/stages/MatrixUpmixer.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

class ChannelExpanderStage final : public ProcessingStage {
 public:
  // The outside expansion DMO's class.
  static constexpr CLSID kOutsideDmo = {
      0x10E9D898, 0xAEB2, 0x4367, {0xA2, 0x3E, 0xED, 0xF3, 0x62, 0x37, 0x4D, 0x42}};

  // Reads "Enable", "OutputChannels", "MinFrequency" and "AC3Only".
  explicit ChannelExpanderStage(SettingsStore& store = CurrentSettingsStore(),
                                const DmoSources& sources = {});

  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override;

  // Whether this stage expands `type`: enabled (and the source AC3 when
  // "AC3Only"), 16-bit PCM between the minimum frequency and 48,000 Hz (never
  // at 0 Hz), 2 channels, or 4/6 channels that the configured output count
  // exceeds, with the standard mask when extensible.
  [[nodiscard]] bool AppliesTo(const AM_MEDIA_TYPE& type) const;
  // The media type this stage produces for `input`: the 40-byte extensible
  // format with the configured channel count when AppliesTo(input), else a
  // deep copy of it. The caller frees `output` with FreeMediaType.
  HRESULT OutputType(const AM_MEDIA_TYPE& input, AM_MEDIA_TYPE* output) const;

  // The DMO in use (not referenced for the caller), null before the first
  // qualifying type.
  [[nodiscard]] IMediaObject* Dmo() const { return dmo_.Get(); }

  // Set by the filter when the input connects.
  bool ac3Source = false;
  std::int32_t fileType = 0;  // 0 other, 1 ".mp3", 2 ".ogg", 3 ".wma"
  // Refreshed by the filter for every sample.
  std::uint32_t outputChannels = 6;
  std::uint32_t minFrequency = 22050;
  bool ac3Only = false;

  // Shown on the page.
  std::uint32_t algorithm = UpmixParams::kAlgorithmProLogic2;  // last handed to the DMO
  std::uint32_t proLogic2Mode = UpmixParams::kModeMovie;       // last handed to the DMO
  std::uint32_t pl2AutoMode = 0;
  bool typesAccepted = false;
  InputFormatSummary format;
  SampleSizes lastSample;
  DmoStreamTotals totals;  // output of the last input sample

 private:
  // The parameters the settings and the played file's type call for.
  [[nodiscard]] UpmixParams WantedParams(const Settings& settings) const;
  void Remember(const UpmixParams& params, const Settings& settings);
  HRESULT HandOverAtCreation();
  HRESULT HandOverPerSample();
  bool CreateDmo();
  void NegotiateTypes(const AM_MEDIA_TYPE& type);
  HRESULT StreamSample(IMediaSample* sample);

  SettingsStore& store_;
  DmoSources sources_;
  ComPtr<IMediaObject> dmo_;
  StageMessages messages_;
};

}  // namespace zmsp
