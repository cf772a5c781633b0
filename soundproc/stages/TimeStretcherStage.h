#pragma once
// The time stretcher: changes the playback speed of 16-bit PCM (mono, stereo,
// 4 or 6 channels) through a time-stretch DMO (DmoStage). Mono goes through
// the DMO as stereo with equal channels and is folded back; the speed travels
// in the DMO's persisted state. Its DMO is the outside time-stretch component
// when it is registered, else our own stretcher.

#include <cstdint>

#include "soundproc/stages/DmoStage.h"

namespace zmsp {

class TimeStretcherStage final : public DmoStage {
 public:
  // The outside time-stretch DMO's class.
  static constexpr CLSID kOutsideDmo = {
      0x73FCEEB8, 0x953F, 0x41A1, {0x87, 0xF7, 0x93, 0x60, 0x2A, 0x0B, 0xE7, 0xBB}};

  // Starts disabled; the filter switches it per sample.
  explicit TimeStretcherStage(SettingsStore& store = CurrentSettingsStore(), const DmoSources& sources = {});

  // 16-bit, 1, 2, 4 or 6 channels, a sample rate above 0, not AC3 over S/PDIF.
  [[nodiscard]] static bool Qualifies(const PcmFormat& format);

  // Shown on the page.
  std::uint32_t speed = 1000;  // last handed to the DMO, in thousandths

 private:
  HRESULT DmoTypesFor(const AM_MEDIA_TYPE& type, MediaType& input, MediaType& output) override;
  HRESULT HandOver(bool atCreation) override;
  [[nodiscard]] bool RealtimeApply(const Settings& settings) const override;
  [[nodiscard]] DmoStreamShape StreamShape() override;
};

}  // namespace zmsp
