#include "soundproc/dmo/UpmixerDmo.h"

#include <algorithm>
#include <cstring>

#include "soundproc/dmo/DmoGuids.h"

namespace zmsp::dmo {

namespace {

constexpr int kOutputCounts[] = {4, 6, 7, 8};

// A layout the upmixer knows: its own mask, or a plain stereo type.
bool StandardLayout(const PcmFormat& format) {
  if (!format.extensible) return format.channels == 2;
  return format.channelMask == MatrixUpmixer::ChannelMask(format.channels);
}

}  // namespace

UpmixerDmo::UpmixerDmo() : AudioMediaObject(kUpmixerDmo, kUpmixerPage, UpmixParameterBlock::kBytes) {
  block_.SetCreationWords();
  block_.SetParams(UpmixParams{});
  upmixer_.SetParams(block_.Params());
}

bool UpmixerDmo::AcceptsInput(const PcmFormat& in) const {
  return StandardLayout(in) && std::any_of(std::begin(kOutputCounts), std::end(kOutputCounts), [&](int out) {
           return MatrixUpmixer::Supports(in.channels, out);
         });
}

bool UpmixerDmo::AcceptsOutput(const PcmFormat& in, const PcmFormat& out) const {
  return out.samplesPerSec == in.samplesPerSec && MatrixUpmixer::Supports(in.channels, out.channels) &&
         out.extensible && out.channelMask == MatrixUpmixer::ChannelMask(out.channels);
}

bool UpmixerDmo::OutputChoice(const PcmFormat& in, DWORD index, PcmFormat& out) const {
  DWORD found = 0;
  for (int channels : kOutputCounts) {
    if (!MatrixUpmixer::Supports(in.channels, channels)) continue;
    if (found++ == index) {
      out.channels = static_cast<std::uint16_t>(channels);
      out.samplesPerSec = in.samplesPerSec;
      out.extensible = true;
      out.channelMask = MatrixUpmixer::ChannelMask(channels);
      return true;
    }
  }
  return false;
}

bool UpmixerDmo::Configure(const PcmFormat& in, const PcmFormat& out) {
  return upmixer_.Configure(in.channels, out.channels, static_cast<int>(in.samplesPerSec));
}

std::size_t UpmixerDmo::Convert(const std::int16_t* in, std::size_t frames, std::size_t& consumed,
                                std::int16_t* out, std::size_t capacity) {
  consumed = in != nullptr ? upmixer_.Process(in, frames, out, capacity) : 0;
  return consumed;
}

void UpmixerDmo::SaveBlock(BYTE* block) const {
  std::memcpy(block, block_.bytes.data(), block_.bytes.size());
}

bool UpmixerDmo::LoadBlock(const BYTE* block) {
  UpmixParameterBlock loaded;
  std::memcpy(loaded.bytes.data(), block, loaded.bytes.size());
  if (!loaded.ParamsInRange()) return false;
  block_ = loaded;
  upmixer_.SetParams(block_.Params());
  return true;
}

}  // namespace zmsp::dmo
