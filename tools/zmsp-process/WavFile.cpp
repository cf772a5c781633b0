#include "tools/zmsp-process/WavFile.h"

#include <cstring>

namespace zmsp::wav {

namespace {

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// KSDATAFORMAT_SUBTYPE_PCM as it is stored in a file.
constexpr std::uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                            0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool ParseFormat(const std::uint8_t* chunk, std::size_t size, Format& format, std::string& error) {
  if (size < 16) {
    error = "the fmt chunk is too short";
    return false;
  }
  format = Format{};  // a second fmt chunk replaces the first one entirely
  format.formatTag = Le16(chunk);
  format.channels = Le16(chunk + 2);
  format.sampleRate = Le32(chunk + 4);
  const std::uint16_t blockAlign = Le16(chunk + 12);
  format.bitsPerSample = Le16(chunk + 14);
  if (format.formatTag == 0xFFFE) {
    if (size < 40 || Le16(chunk + 16) < 22) {
      error = "the extensible fmt chunk is too short";
      return false;
    }
    format.validBitsPerSample = Le16(chunk + 18);
    format.channelMask = Le32(chunk + 20);
    if (std::memcmp(chunk + 24, kPcmSubFormat, 16) != 0) {
      error = "only integer PCM is supported";
      return false;
    }
  } else if (format.formatTag != 1) {
    error = "only integer PCM is supported (format tag " + std::to_string(format.formatTag) + ")";
    return false;
  }
  if (format.bitsPerSample != 16 && format.bitsPerSample != 32) {
    error = "only 16- and 32-bit samples are supported";
    return false;
  }
  if (format.channels == 0 || format.sampleRate == 0 || blockAlign != format.FrameBytes()) {
    error = "inconsistent channel count, sample rate or block alignment";
    return false;
  }
  return true;
}

}  // namespace

bool Parse(const std::uint8_t* bytes, std::size_t size, Audio& audio, std::string& error) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    error = "not a RIFF WAVE file";
    return false;
  }
  bool haveFormat = false;
  std::size_t pos = 12;
  while (pos + 8 <= size) {
    const std::uint8_t* header = bytes + pos;
    const std::size_t declared = Le32(header + 4);
    const std::size_t available = size - pos - 8;
    const bool isData = std::memcmp(header, "data", 4) == 0;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (declared > available || !ParseFormat(header + 8, declared, audio.format, error)) {
        if (error.empty()) error = "the fmt chunk runs past the end of the file";
        return false;
      }
      haveFormat = true;
    } else if (isData) {
      if (!haveFormat) {
        error = "the data chunk comes before the fmt chunk";
        return false;
      }
      std::size_t length = declared < available ? declared : available;
      if (length < declared) length -= length % audio.format.FrameBytes();
      audio.data.assign(header + 8, header + 8 + length);
      return true;
    }
    if (declared > available) break;
    pos += 8 + declared + (declared & 1);
  }
  error = haveFormat ? "no data chunk" : "no fmt chunk";
  return false;
}

std::vector<std::uint8_t> Build(const Audio& audio) {
  const Format& f = audio.format;
  const bool extensible = f.Extensible();
  const std::uint32_t fmtSize = extensible ? 40 : 16;
  const auto dataSize = static_cast<std::uint32_t>(audio.data.size());
  std::vector<std::uint8_t> out;
  out.reserve(audio.data.size() + 68);
  PutTag(out, "RIFF");
  Put32(out, 4 + 8 + fmtSize + 8 + dataSize + (dataSize & 1));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, fmtSize);
  Put16(out, f.formatTag);
  Put16(out, f.channels);
  Put32(out, f.sampleRate);
  Put32(out, f.sampleRate * f.FrameBytes());
  Put16(out, f.FrameBytes());
  Put16(out, f.bitsPerSample);
  if (extensible) {
    Put16(out, 22);
    Put16(out, f.validBitsPerSample != 0 ? f.validBitsPerSample : f.bitsPerSample);
    Put32(out, f.channelMask);
    for (std::uint8_t byte : kPcmSubFormat) out.push_back(byte);
  }
  PutTag(out, "data");
  Put32(out, dataSize);
  out.insert(out.end(), audio.data.begin(), audio.data.end());
  if (dataSize & 1) out.push_back(0);
  return out;
}

}  // namespace zmsp::wav
