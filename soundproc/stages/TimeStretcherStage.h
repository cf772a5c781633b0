#pragma once
// The time stretcher: changes the playback speed of 16-bit PCM (mono, stereo,
// 4 or 6 channels) through a time-stretch DMO, driven like the expander's
// (DmoStreamer). Mono goes through the DMO as stereo with equal channels and
// is folded back; the speed travels in the DMO's persisted state.
//
// The DMO is the outside time-stretch component when it is registered, else
// our own stretcher from the factory in `sources` (see DmoCreation.h).

#include <cstdint>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/Settings.h"
#include "soundproc/stages/DmoCreation.h"
#include "soundproc/stages/DmoStreamer.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

class TimeStretcherStage final : public ProcessingStage {
 public:
  // The outside time-stretch DMO's class.
  static constexpr CLSID kOutsideDmo = {
      0x73FCEEB8, 0x953F, 0x41A1, {0x87, 0xF7, 0x93, 0x60, 0x2A, 0x0B, 0xE7, 0xBB}};

  // Starts disabled; the filter switches it per sample.
  explicit TimeStretcherStage(SettingsStore& store = CurrentSettingsStore(), const DmoSources& sources = {});

  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override;

  // 16-bit, 1, 2, 4 or 6 channels, a sample rate above 0, not AC3 over S/PDIF.
  [[nodiscard]] static bool Qualifies(const InputFormatSummary& format);

  // The DMO in use (not referenced for the caller), null before the first
  // qualifying type.
  [[nodiscard]] IMediaObject* Dmo() const { return dmo_.Get(); }

  // Shown on the page.
  std::uint32_t speed = 1000;  // last handed to the DMO, in thousandths
  bool typesAccepted = false;
  InputFormatSummary format;
  SampleSizes lastSample;
  DmoStreamTotals totals;  // output of the last input sample

 private:
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
