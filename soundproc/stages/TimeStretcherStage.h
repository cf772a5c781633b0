#pragma once
// The time stretcher's place in the chain. Tempo change through the outside
// time-stretch object is not hosted yet: the stage keeps the format it sees
// and passes every sample on unchanged.

#include <cstdint>

#include "soundproc/stages/StageSupport.h"

namespace zmsp {

class TimeStretcherStage final : public ProcessingStage {
 public:
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override;

  // Speed last handed to the stretcher, in thousandths (1000: normal speed).
  std::uint32_t speed = 1000;
  InputFormatSummary format;
  SampleSizes lastSample;
};

}  // namespace zmsp
