// Where a demuxer reads its bytes from: a file opened by its wide or UTF-8
// path (so Korean file names work on Windows whatever the code page), or a
// block of memory (fuzzing, tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace orves::codecs {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `size` bytes into `buffer`: the count read, 0 at the end, -1 on a
  // read error.
  virtual std::int64_t Read(std::uint8_t* buffer, std::size_t size) = 0;
  virtual bool Seek(std::int64_t position) = 0;
  virtual std::int64_t Position() const = 0;
  // -1 when unknown.
  virtual std::int64_t Size() const = 0;
};

// Null when the file cannot be opened for reading.
std::unique_ptr<ByteSource> OpenFileSource(const std::filesystem::path& file);

// Reads `bytes` in place: they must outlive the source.
std::unique_ptr<ByteSource> MemorySource(std::span<const std::uint8_t> bytes);

}  // namespace orves::codecs
