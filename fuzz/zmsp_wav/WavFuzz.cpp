// zmsp-process's WAV reader on arbitrary bytes: never reads out of bounds,
// and whatever it accepts survives a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tools/zmsp-process/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zmsp::wav::Audio audio;
  std::string error;
  if (!zmsp::wav::Parse(data, size, audio, error)) return 0;
  const std::vector<std::uint8_t> written = zmsp::wav::Build(audio);
  zmsp::wav::Audio again;
  if (!zmsp::wav::Parse(written.data(), written.size(), again, error)) std::abort();
  if (again.data != audio.data || again.format.channels != audio.format.channels ||
      again.format.channelMask != audio.format.channelMask ||
      again.format.sampleRate != audio.format.sampleRate) {
    std::abort();
  }
  return 0;
}
