// RIFF/WAVE reading and writing for zmsp-process: 16- and 32-bit integer
// PCM, plain (tag 1) or WAVE_FORMAT_EXTENSIBLE with the PCM sub-format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
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

// The samples of a parsed file where they lie in the file's bytes.
struct AudioView {
  Format format;
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

// Where the samples of a file lie.
struct Layout {
  Format format;
  std::uint64_t dataOffset = 0;
  std::uint64_t dataSize = 0;
};
enum class LayoutResult { kFound, kInvalid, kNeedMoreBytes };

// Walks the chunks of a file of `fileSize` bytes of which `bytes` holds the
// first `size`, as Parse does; kNeedMoreBytes when a chunk header or the fmt
// chunk lies beyond them.
LayoutResult ParseLayout(const std::uint8_t* bytes, std::size_t size, std::uint64_t fileSize, Layout& layout,
                         std::string& error);

// Parses a whole file without copying its samples (see Parse).
bool ParseView(const std::uint8_t* bytes, std::size_t size, AudioView& audio, std::string& error);

// Parses a whole file. False with a one-line reason for anything that is not
// a WAVE file of 16- or 32-bit integer PCM. A data chunk that claims more
// bytes than the file holds is cut to what is there, in whole frames.
bool Parse(const std::uint8_t* bytes, std::size_t size, Audio& audio, std::string& error);

// A complete file: a 16-byte fmt chunk for plain PCM, 40 bytes for extensible.
std::vector<std::uint8_t> Build(const Audio& audio);

// The most sample bytes a file can hold (its sizes are 32-bit).
inline constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - 68;

// The header Build writes before `dataBytes` of samples.
std::vector<std::uint8_t> Header(const Format& format, std::uint32_t dataBytes);

// Reads the samples of a file in pieces, after the layout of its first bytes.
class FileReader {
 public:
  FileReader() = default;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader();

  // False with a one-line reason when the file cannot be read or parsed.
  bool Open(const std::string& path, std::string& error);
  const Format& GetFormat() const { return layout_.format; }
  // Reads up to `size` bytes of samples into `into`; fewer only at the end.
  // False on a read error.
  bool Read(std::uint8_t* into, std::size_t size, std::size_t& got);

 private:
  std::FILE* file_ = nullptr;
  Layout layout_;
  std::uint64_t left_ = 0;
};

// Writes a file while its samples arrive: a header for the expected format,
// the samples as they come, and at the end the header of the final format
// and size (the file is rewritten in the rare case that the header's length
// changes with the format).
class StreamWriter {
 public:
  StreamWriter() = default;
  StreamWriter(const StreamWriter&) = delete;
  StreamWriter& operator=(const StreamWriter&) = delete;
  ~StreamWriter();

  bool Open(const std::string& path, const Format& expected);
  // False once a write failed or the file would outgrow kMaxDataBytes.
  bool Append(const std::uint8_t* data, std::size_t size);
  bool Finish(const Format& final);
  // Closes the file as it is, without a final header.
  void Close();

 private:
  bool RewriteWithHeader(const Format& final);

  std::string path_;
  std::FILE* file_ = nullptr;
  std::size_t headerBytes_ = 0;
  std::uint64_t dataBytes_ = 0;
  bool failed_ = false;
};

}  // namespace zmsp::wav
