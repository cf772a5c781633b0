// RIFF/WAVE reading and writing for zmsp-process: 16- and 32-bit integer
// PCM, plain (tag 1) or WAVE_FORMAT_EXTENSIBLE with the PCM sub-format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zmsp::wav {

struct Format {
  std::uint16_t formatTag = 1;  // 1 or 0xFFFE
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t validBitsPerSample = 0;  // extensible only
  std::uint32_t channelMask = 0;         // extensible only

  bool Extensible() const { return formatTag == 0xFFFE; }
  std::uint32_t FrameBytes() const { return static_cast<std::uint32_t>(channels) * bitsPerSample / 8; }
};

struct Audio {
  Format format;
  std::vector<std::uint8_t> data;  // interleaved samples, little-endian
};

// Parses a whole file. False with a one-line reason for anything that is not
// a WAVE file of 16- or 32-bit integer PCM. A data chunk that claims more
// bytes than the file holds is cut to what is there, in whole frames.
bool Parse(const std::uint8_t* bytes, std::size_t size, Audio& audio, std::string& error);

// A complete file: a 16-byte fmt chunk for plain PCM, 40 bytes for extensible.
std::vector<std::uint8_t> Build(const Audio& audio);

}  // namespace zmsp::wav
