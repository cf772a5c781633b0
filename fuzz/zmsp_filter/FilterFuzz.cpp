// The whole sound processor filter on arbitrary audio: the input's bytes but
// the last are a WAV file, run through the filter as zmsp-process runs it,
// with the stages, output channels and speed the last byte chooses. Nothing
// may read or write out of bounds or hang, and what the filter delivers is
// whole frames of the format it announces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "soundproc/contract/Settings.h"
#include "tools/zmsp-process/ProcessRunner.h"

namespace {

using namespace zmsp;

class BytesInput final : public process::Input {
 public:
  explicit BytesInput(const wav::AudioView& audio) : audio_(audio) {}
  wav::Format Format() const override { return audio_.format; }
  bool Read(std::uint8_t* into, std::size_t size, std::size_t& got) override {
    got = std::min(size, audio_.size - read_);
    std::memcpy(into, audio_.data + read_, got);
    read_ += got;
    return true;
  }

 private:
  const wav::AudioView& audio_;
  std::size_t read_ = 0;
};

class FrameCheckingOutput final : public process::Output {
 public:
  bool Begin(const wav::Format& format) override {
    frameBytes_ = format.FrameBytes();
    return frameBytes_ != 0;
  }
  bool Write(const std::uint8_t*, std::size_t size) override {
    if (size % frameBytes_ != 0) std::abort();
    return true;
  }

 private:
  std::uint32_t frameBytes_ = 0;
};

// Bit 0 channel control (with every operation), bit 1 the expander, bit 2 the
// time stretcher; bits 3-4 the output channels (bit 3 also the boost curve),
// bits 5-7 the speed.
void Configure(std::uint8_t choice, MemorySettingsStore& store) {
  store.SetDword(keys::kChannelControl, "Enable", choice & 1);
  for (const char* name : {"EnableVolAdjust", "EnableFRBalance", "EnableLFEMixer", "EnableVolBoost"}) {
    store.SetDword(keys::kChannelControl, name, 1);
  }
  store.SetDword(keys::kChannelControl, "VolAdjustCenterLevel", 6);
  store.SetDword(keys::kChannelControl, "FRBalanceLevel", 40);
  store.SetDword(keys::kChannelControl, "VolBoostAlgorithm", (choice >> 3) & 1);
  store.SetDword(keys::kChannelExpander, "Enable", (choice >> 1) & 1);
  static constexpr std::uint32_t kChannels[] = {4, 6, 7, 8};
  store.SetDword(keys::kChannelExpander, "OutputChannels", kChannels[(choice >> 3) & 3]);
  store.SetDword(keys::kTimeStretcher, "Enable", (choice >> 2) & 1);
  static constexpr std::uint32_t kSpeeds[] = {563, 800, 1000, 1250, 1500, 2000, 4000, 10000};
  store.SetDword(keys::kTimeStretcher, "Speed", kSpeeds[choice >> 5]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Long inputs only repeat what short ones find, slower.
  if (size < 1 || size > 256 * 1024) return 0;
  wav::AudioView audio;
  std::string error;
  if (!wav::ParseView(data, size - 1, audio, error)) return 0;
  MemorySettingsStore store;
  Configure(data[size - 1], store);
  BytesInput input(audio);
  FrameCheckingOutput output;
  process::Run(input, store, process::Options{}, output);
  return 0;
}
