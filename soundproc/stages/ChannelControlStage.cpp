#include "soundproc/stages/ChannelControlStage.h"

namespace zmsp {

ChannelControlSettings ReadChannelControlSettings(const Settings& settings) {
  ChannelControlSettings s;
  s.enable = settings.ChannelControlEnable();
  s.realtimeApply = settings.ChannelControlRealtimeApply();
  s.volAdjust = settings.EnableVolAdjust();
  s.centerLevelDb = settings.VolAdjustCenterLevel();
  s.lfeLevelDb = settings.VolAdjustLFELevel();
  s.frontLevelDb = settings.VolAdjustFrontLevel();
  s.rearLevelDb = settings.VolAdjustRearLevel();
  s.frBalance = settings.EnableFRBalance();
  s.frBalanceLevel = settings.FRBalanceLevel();
  s.lfeMixer = settings.EnableLFEMixer();
  s.lfeMixerLevel = static_cast<int>(settings.LFEMixerLevel());
  s.lfeCorrectSignalLevel = settings.LFEMixerCorrectSignalLevel();
  s.lfeOverflowProtection = settings.LFEMixerOverflowProtection();
  s.volBoost = settings.EnableVolBoost();
  s.volBoostLevelDb = static_cast<int>(settings.VolBoostLevel());
  s.volBoostAlgorithm = static_cast<BoostAlgorithm>(settings.VolBoostAlgorithm());
  s.volBoostApplyTo = static_cast<BoostApplyTo>(settings.VolBoostApplyTo());
  return s;
}

ChannelControlStage::ChannelControlStage(SettingsStore& store) : settings_(store) {
  control_.SetSettings(ReadChannelControlSettings(settings_));
  enabled = control_.Settings().enable;
}

HRESULT ChannelControlStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
  if (sample == nullptr) {
    return E_POINTER;
  }
  lastSample.Record(sample);
  if (enabled && control_.Settings().realtimeApply) {
    control_.SetSettings(ReadChannelControlSettings(settings_));
  }
  control_.SetHasLfe(hasLfe);
  control_.SetAc3Source(ac3Source);
  if (RefillFormatFromSample(sample, format)) {
    control_.Configure(format);
  }
  control_.Refresh();
  mustCopy = isUpstreamSample;

  if (!enabled || !control_.HasWork()) {
    return PassOn(sample, isUpstreamSample);
  }
  if (!isUpstreamSample) {
    // The sample is ours (from the output allocator): work on it in place. It
    // is passed on even when its buffer could not be reached.
    static_cast<void>(ProcessInPlace(sample));
    return PassOn(sample, false);
  }
  // The upstream filter's sample must stay untouched: work on a copy.
  IMediaSample* copy = nullptr;
  const HRESULT hr = CopyToOutputSample(filter, sample, &copy);
  if (FAILED(hr)) {
    return hr;
  }
  // A copy that could not be processed still holds the original data; it
  // travels on marked as upstream so that the meter copies it once more.
  const bool processed = SUCCEEDED(ProcessInPlace(copy));
  const HRESULT passed = PassOn(copy, !processed);
  copy->Release();
  return passed;
}

HRESULT ChannelControlStage::ProcessInPlace(IMediaSample* sample) {
  SampleBytes bytes;
  if (!GetSampleBytes(sample, bytes)) {
    return E_FAIL;
  }
  const ChannelControl::Outcome outcome = control_.Process({bytes.data, bytes.capacity}, bytes.length);
  if (outcome.boostSkippedNoMemory) {
    ShowStageMessage(kInsufficientMemory);
  }
  return S_OK;
}

}  // namespace zmsp
