#include "soundproc/dmo/TimeStretcherDmo.h"

#include <cstring>

#include "soundproc/dmo/DmoGuids.h"

namespace zmsp::dmo {

TimeStretcherDmo::TimeStretcherDmo()
    : AudioMediaObject(kTimeStretcherDmo, kTimeStretcherPage, SpeedParameterBlock::kBytes) {
  block_.SetSpeed(1000);
  stretcher_.SetSpeedThousandths(1000);
}

bool TimeStretcherDmo::AcceptsInput(const PcmFormat& in) const {
  return WsolaStretcher::SupportsChannels(in.channels);
}

bool TimeStretcherDmo::AcceptsOutput(const PcmFormat& in, const PcmFormat& out) const {
  return out.channels == in.channels && out.samplesPerSec == in.samplesPerSec &&
         out.extensible == in.extensible && out.channelMask == in.channelMask;
}

bool TimeStretcherDmo::OutputChoice(const PcmFormat& in, DWORD index, PcmFormat& out) const {
  if (index != 0) return false;
  out = in;
  return true;
}

bool TimeStretcherDmo::Configure(const PcmFormat& in, const PcmFormat&) {
  return stretcher_.Configure(in.channels, static_cast<int>(in.samplesPerSec));
}

std::size_t TimeStretcherDmo::Convert(const std::int16_t* in, std::size_t frames, std::size_t& consumed,
                                      std::int16_t* out, std::size_t capacity) {
  // The stretcher keeps what it is given; output is pulled as room allows.
  consumed = in != nullptr ? stretcher_.Push(in, frames) : 0;
  return stretcher_.Pull(out, capacity);
}

void TimeStretcherDmo::SaveBlock(BYTE* block) const {
  std::memcpy(block, block_.bytes.data(), block_.bytes.size());
}

bool TimeStretcherDmo::LoadBlock(const BYTE* block) {
  SpeedParameterBlock loaded;
  std::memcpy(loaded.bytes.data(), block, loaded.bytes.size());
  if (!loaded.SpeedInRange()) return false;
  block_ = loaded;
  stretcher_.SetSpeedThousandths(static_cast<int>(block_.Speed()));
  return true;
}

}  // namespace zmsp::dmo
