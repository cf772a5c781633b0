#include "soundproc/stages/SoundMeterStage.h"

namespace zmsp {

HRESULT SoundMeterStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
  if (sample == nullptr) {
    return E_POINTER;
  }
  lastSample.Record(sample);
  if (RefillFormatFromSample(sample, format)) {
    formatSupported = MeterSupports(format);
  }
  if (!isUpstreamSample) {
    Measure(sample);
    return PassOn(sample, false);
  }
  IMediaSample* copy = nullptr;
  const HRESULT hr = CopyToOutputSample(filter, sample, &copy);
  if (FAILED(hr)) {
    return hr;
  }
  Measure(copy);
  const HRESULT passed = PassOn(copy, false);
  copy->Release();
  return passed;
}

void SoundMeterStage::Measure(IMediaSample* sample) {
  if (!enabled || !formatSupported || !measuring.load(std::memory_order_relaxed)) {
    return;
  }
  // A buffer that cannot be reached is not measured; the sample still goes on.
  SampleBytes bytes;
  if (!GetSampleBytes(sample, bytes)) {
    return;
  }
  MeterLevels levels;
  for (std::size_t c = 0; c < kMeterChannels; ++c) {
    levels[c] = levels_[c].load(std::memory_order_relaxed);
  }
  if (MeasureLevels({bytes.data, bytes.length}, format, levels) == 0) {
    return;
  }
  for (std::size_t c = 0; c < kMeterChannels; ++c) {
    levels_[c].store(levels[c], std::memory_order_relaxed);
  }
}

}  // namespace zmsp
