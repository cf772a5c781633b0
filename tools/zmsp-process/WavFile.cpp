#include "tools/zmsp-process/WavFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

LayoutResult ParseLayout(const std::uint8_t* bytes, std::size_t size, std::uint64_t fileSize, Layout& layout,
                         std::string& error) {
  const auto invalid = [&error](const char* reason) {
    error = reason;
    return LayoutResult::kInvalid;
  };
  if (size < 12 && fileSize > size) return LayoutResult::kNeedMoreBytes;
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    return invalid("not a RIFF WAVE file");
  }
  bool haveFormat = false;
  std::uint64_t pos = 12;
  while (pos + 8 <= fileSize) {
    if (pos + 8 > size) return LayoutResult::kNeedMoreBytes;
    const std::uint8_t* header = bytes + pos;
    const std::uint64_t declared = Le32(header + 4);
    const std::uint64_t available = fileSize - pos - 8;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (declared <= available && pos + 8 + declared > size) return LayoutResult::kNeedMoreBytes;
      if (declared > available) return invalid("the fmt chunk runs past the end of the file");
      if (!ParseFormat(header + 8, declared, layout.format, error)) return LayoutResult::kInvalid;
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (!haveFormat) return invalid("the data chunk comes before the fmt chunk");
      std::uint64_t length = declared < available ? declared : available;
      if (length < declared) length -= length % layout.format.FrameBytes();
      layout.dataOffset = pos + 8;
      layout.dataSize = length;
      return LayoutResult::kFound;
    }
    if (declared > available) break;
    pos += 8 + declared + (declared & 1);
  }
  return invalid(haveFormat ? "no data chunk" : "no fmt chunk");
}

bool ParseView(const std::uint8_t* bytes, std::size_t size, AudioView& audio, std::string& error) {
  Layout layout;
  if (ParseLayout(bytes, size, size, layout, error) != LayoutResult::kFound) return false;
  audio.format = layout.format;
  audio.data = bytes + layout.dataOffset;
  audio.size = static_cast<std::size_t>(layout.dataSize);
  return true;
}

bool Parse(const std::uint8_t* bytes, std::size_t size, Audio& audio, std::string& error) {
  AudioView view;
  if (!ParseView(bytes, size, view, error)) return false;
  audio.format = view.format;
  audio.data.assign(view.data, view.data + view.size);
  return true;
}

std::vector<std::uint8_t> Header(const Format& f, std::uint32_t dataSize) {
  const bool extensible = f.Extensible();
  const std::uint32_t fmtSize = extensible ? 40 : 16;
  std::vector<std::uint8_t> out;
  out.reserve(68);
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
  return out;
}

std::vector<std::uint8_t> Build(const Audio& audio) {
  const auto dataSize = static_cast<std::uint32_t>(audio.data.size());
  std::vector<std::uint8_t> out = Header(audio.format, dataSize);
  out.insert(out.end(), audio.data.begin(), audio.data.end());
  if (dataSize & 1) out.push_back(0);
  return out;
}

// ---------------------------------------------------------------- FileReader

namespace {

bool SeekTo(std::FILE* file, std::uint64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<long long>(offset), origin) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::uint64_t Position(std::FILE* file) {
#ifdef _WIN32
  return static_cast<std::uint64_t>(_ftelli64(file));
#else
  return static_cast<std::uint64_t>(ftello(file));
#endif
}

}  // namespace

FileReader::~FileReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileReader::Open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr || !SeekTo(file_, 0, SEEK_END)) {
    error = "cannot read the file";
    return false;
  }
  const std::uint64_t fileSize = Position(file_);
  // The chunks before the samples are usually small: read a first piece and
  // more only when the layout lies beyond it.
  std::vector<std::uint8_t> head;
  std::size_t want = 1 << 16;
  for (;;) {
    head.resize(static_cast<std::size_t>(std::min<std::uint64_t>(want, fileSize)));
    if (!SeekTo(file_, 0, SEEK_SET) || std::fread(head.data(), 1, head.size(), file_) != head.size()) {
      error = "cannot read the file";
      return false;
    }
    const LayoutResult found = ParseLayout(head.data(), head.size(), fileSize, layout_, error);
    if (found == LayoutResult::kInvalid) return false;
    if (found == LayoutResult::kFound) break;
    want *= 4;
  }
  left_ = layout_.dataSize;
  if (!SeekTo(file_, layout_.dataOffset, SEEK_SET)) {
    error = "cannot read the file";
    return false;
  }
  return true;
}

bool FileReader::Read(std::uint8_t* into, std::size_t size, std::size_t& got) {
  const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, left_));
  got = file_ != nullptr ? std::fread(into, 1, wanted, file_) : 0;
  left_ -= got;
  return got == wanted;
}

// -------------------------------------------------------------- StreamWriter

StreamWriter::~StreamWriter() { Close(); }

void StreamWriter::Close() {
  if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
}

bool StreamWriter::Open(const std::string& path, const Format& expected) {
  path_ = path;
  file_ = std::fopen(path.c_str(), "w+b");  // read back if the header's length changes
  if (file_ == nullptr) return false;
  // Large writes: the samples pass through in few system calls.
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  const std::vector<std::uint8_t> header = Header(expected, 0);
  headerBytes_ = header.size();
  failed_ = std::fwrite(header.data(), 1, header.size(), file_) != header.size();
  return !failed_;
}

bool StreamWriter::Append(const std::uint8_t* data, std::size_t size) {
  if (failed_ || file_ == nullptr) return false;
  if (dataBytes_ + size > kMaxDataBytes || std::fwrite(data, 1, size, file_) != size) {
    failed_ = true;
    return false;
  }
  dataBytes_ += size;
  return true;
}

bool StreamWriter::Finish(const Format& final) {
  if (failed_ || file_ == nullptr) return false;
  const auto dataSize = static_cast<std::uint32_t>(dataBytes_);
  const std::vector<std::uint8_t> header = Header(final, dataSize);
  if (header.size() != headerBytes_) return RewriteWithHeader(final);
  const std::uint8_t pad = 0;
  bool ok = (dataSize & 1) == 0 || std::fwrite(&pad, 1, 1, file_) == 1;
  ok = ok && std::fseek(file_, 0, SEEK_SET) == 0 &&
       std::fwrite(header.data(), 1, header.size(), file_) == header.size();
  ok = std::fclose(std::exchange(file_, nullptr)) == 0 && ok;
  return ok;
}

bool StreamWriter::RewriteWithHeader(const Format& final) {
  Audio audio;
  audio.format = final;
  audio.data.resize(dataBytes_);
  bool ok = std::fseek(file_, static_cast<long>(headerBytes_), SEEK_SET) == 0 &&
            std::fread(audio.data.data(), 1, audio.data.size(), file_) == audio.data.size();
  ok = std::fclose(std::exchange(file_, nullptr)) == 0 && ok;
  if (!ok) return false;
  file_ = std::fopen(path_.c_str(), "wb");
  if (file_ == nullptr) return false;
  const std::vector<std::uint8_t> bytes = Build(audio);
  ok = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  return std::fclose(std::exchange(file_, nullptr)) == 0 && ok;
}

}  // namespace zmsp::wav
