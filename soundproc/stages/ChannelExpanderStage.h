#pragma once
// The channel expander: turns 2-, 4- or 6-channel 16-bit PCM into 4, 6, 7 or
// 8 channels through an expansion DMO (DmoStage). The stage decides when
// expansion applies, builds the extensible output type and hands the upmix
// parameters to the DMO through its persisted state. Its DMO is the outside
// expansion component when it is registered, else our own upmixer.

#include <cstdint>

#include "soundproc/stages/DmoStage.h"
#include "soundproc/stages/MatrixUpmixer.h"

namespace zmsp {

class ChannelExpanderStage final : public DmoStage {
 public:
  // The outside expansion DMO's class.
  static constexpr CLSID kOutsideDmo = {
      0x10E9D898, 0xAEB2, 0x4367, {0xA2, 0x3E, 0xED, 0xF3, 0x62, 0x37, 0x4D, 0x42}};

  // Reads "Enable", "OutputChannels", "MinFrequency" and "AC3Only".
  explicit ChannelExpanderStage(SettingsStore& store = CurrentSettingsStore(),
                                const DmoSources& sources = {});

  // Whether this stage expands `type`: enabled (and the source AC3 when
  // "AC3Only"), 16-bit PCM between the minimum frequency and 48,000 Hz (never
  // at 0 Hz), 2 channels, or 4/6 channels that the configured output count
  // exceeds, with the standard mask when extensible.
  [[nodiscard]] bool AppliesTo(const AM_MEDIA_TYPE& type) const;
  // The media type this stage produces for `input`: the 40-byte extensible
  // format with the configured channel count when AppliesTo(input), else a
  // deep copy of it.
  HRESULT OutputType(const AM_MEDIA_TYPE& input, MediaType& output) const;

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

 private:
  HRESULT DmoTypesFor(const AM_MEDIA_TYPE& type, MediaType& input, MediaType& output) override;
  HRESULT HandOver(bool atCreation) override;
  [[nodiscard]] bool RealtimeApply(const Settings& settings) const override;
  [[nodiscard]] DmoStreamShape StreamShape() override;

  // The parameters the settings and the played file's type call for.
  [[nodiscard]] UpmixParams WantedParams(const Settings& settings) const;
  void Remember(const UpmixParams& params, const Settings& settings);
};

}  // namespace zmsp
