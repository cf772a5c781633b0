#pragma once
// The last link of the chain: measures every output channel for the property
// page and makes sure that what leaves the filter comes from the filter's own
// output allocator (an upstream sample that no stage copied is copied here).

#include <array>
#include <atomic>
#include <cstdint>

#include "soundproc/stages/SoundMeter.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

class SoundMeterStage final : public ProcessingStage {
 public:
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override;

  // Set by the property page while it is active; levels only move then.
  std::atomic<bool> measuring{false};

  // The level of frame position `channel` (0..7) from the last measured
  // buffer: the mean absolute sample value at the sample's own scale. Safe to
  // read from the page's thread.
  [[nodiscard]] std::int32_t Level(std::size_t channel) const {
    return channel < kMeterChannels ? levels_[channel].load(std::memory_order_relaxed) : 0;
  }
  // The level as the page shows it (see LevelToDisplay).
  [[nodiscard]] MeterDisplay Display(std::size_t channel) const {
    return LevelToDisplay(Level(channel), format.bitsPerSample);
  }

  // Shown on the property page (this is the filter's output format).
  bool formatSupported = false;
  PcmFormat format;
  SampleSizes lastSample;

 private:
  void Measure(IMediaSample* sample);

  std::array<std::atomic<std::int32_t>, kMeterChannels> levels_{};
};

}  // namespace zmsp
