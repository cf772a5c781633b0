#include "soundproc/stages/TimeStretcherStage.h"

namespace zmsp {

HRESULT TimeStretcherStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
  if (sample == nullptr) {
    return E_POINTER;
  }
  lastSample.Record(sample);
  RefillFormatFromSample(sample, format);
  return PassOn(sample, isUpstreamSample);
}

}  // namespace zmsp
