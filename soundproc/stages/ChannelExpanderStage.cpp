#include "soundproc/stages/ChannelExpanderStage.h"

namespace zmsp {

ChannelExpanderStage::ChannelExpanderStage(SettingsStore& store) {
  const Settings settings(store);
  enabled = settings.ChannelExpanderEnable();
  outputChannels = settings.OutputChannels();
  minFrequency = settings.MinFrequency();
  ac3Only = settings.AC3Only();
}

HRESULT ChannelExpanderStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
  if (sample == nullptr) {
    return E_POINTER;
  }
  lastSample.Record(sample);
  RefillFormatFromSample(sample, format);
  return PassOn(sample, isUpstreamSample);
}

bool ChannelExpanderStage::AppliesTo(const AM_MEDIA_TYPE& /*type*/) const { return false; }

HRESULT ChannelExpanderStage::OutputType(const AM_MEDIA_TYPE& input, AM_MEDIA_TYPE* output) const {
  if (output == nullptr) {
    return E_POINTER;
  }
  return CopyMediaType(output, &input);
}

}  // namespace zmsp
