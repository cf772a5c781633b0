#include "codecs/source/ByteSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace orves::codecs {

namespace {

// Large-file positions on both runtimes; Windows opens by the UTF-16 path.
#ifdef _WIN32
std::FILE* OpenForReading(const std::filesystem::path& file) { return _wfopen(file.c_str(), L"rb"); }
int SeekTo(std::FILE* f, std::int64_t position) { return _fseeki64(f, position, SEEK_SET); }
int SeekToEnd(std::FILE* f) { return _fseeki64(f, 0, SEEK_END); }
std::int64_t Tell(std::FILE* f) { return _ftelli64(f); }
#else
std::FILE* OpenForReading(const std::filesystem::path& file) { return std::fopen(file.c_str(), "rb"); }
int SeekTo(std::FILE* f, std::int64_t position) { return fseeko(f, static_cast<off_t>(position), SEEK_SET); }
int SeekToEnd(std::FILE* f) { return fseeko(f, 0, SEEK_END); }
std::int64_t Tell(std::FILE* f) { return ftello(f); }
#endif

class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {
    if (SeekToEnd(file_) == 0) size_ = Tell(file_);
    SeekTo(file_, 0);
  }
  ~FileSource() override { std::fclose(file_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::int64_t Read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t read = std::fread(buffer, 1, size, file_);
    if (read == 0 && std::ferror(file_)) return -1;
    position_ += static_cast<std::int64_t>(read);
    return static_cast<std::int64_t>(read);
  }
  bool Seek(std::int64_t position) override {
    if (position < 0 || SeekTo(file_, position) != 0) return false;
    position_ = position;
    return true;
  }
  std::int64_t Position() const override { return position_; }
  std::int64_t Size() const override { return size_; }

 private:
  std::FILE* file_;
  std::int64_t size_ = -1;
  std::int64_t position_ = 0;
};

class BytesSource final : public ByteSource {
 public:
  explicit BytesSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::int64_t Read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, bytes_.size() - position_);
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return static_cast<std::int64_t>(count);
  }
  bool Seek(std::int64_t position) override {
    if (position < 0 || static_cast<std::uint64_t>(position) > bytes_.size()) return false;
    position_ = static_cast<std::size_t>(position);
    return true;
  }
  std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::filesystem::path& file) {
  std::FILE* f = OpenForReading(file);
  if (f == nullptr) return nullptr;
  return std::make_unique<FileSource>(f);
}

std::unique_ptr<ByteSource> MemorySource(std::span<const std::uint8_t> bytes) {
  return std::make_unique<BytesSource>(bytes);
}

}  // namespace orves::codecs
