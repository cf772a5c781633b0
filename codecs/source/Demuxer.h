// A file's streams and packets through libavformat. Times are REFERENCE_TIME
// counted from the container's start time, so every file starts at 0 whatever
// its first time stamp (MPEG transport streams often start at 1.4 s or
// hours in).
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codecs/common/MediaPacket.h"
#include "codecs/common/StreamFormat.h"
#include "codecs/source/ByteSource.h"

namespace orves::codecs {

enum class ReadStatus { Packet, End };

class Demuxer {
 public:
  // Null (and `error` set) when the bytes are no container libavformat knows
  // or hold no stream. `nameHint` (UTF-8 file name) helps probing by its
  // extension. A set `cancel` makes a running open or read give up.
  static std::unique_ptr<Demuxer> Open(std::unique_ptr<ByteSource> source, const std::string& nameHint,
                                       std::string* error = nullptr,
                                       const std::atomic<bool>* cancel = nullptr);
  static std::unique_ptr<Demuxer> OpenFile(const std::filesystem::path& file, std::string* error = nullptr,
                                           const std::atomic<bool>* cancel = nullptr);
  ~Demuxer();
  Demuxer(const Demuxer&) = delete;
  Demuxer& operator=(const Demuxer&) = delete;

  const std::vector<StreamInfo>& Streams() const;
  // The whole file's length, kNoTime when unknown.
  std::int64_t Duration() const;
  // libavformat's short name of the container ("matroska,webm", "mpegts").
  std::string ContainerName() const;

  // The next packet in file order. A damaged stretch is skipped; End at the
  // end of the file, after a run of read errors, or when cancelled.
  ReadStatus Read(MediaPacket& packet);

  // Positions reading at the key frame at or before `time`; false when the
  // file cannot seek there (reading then goes on where it was).
  bool Seek(std::int64_t time);

  // A discarded stream's packets are not read at all.
  void SetDiscard(int stream, bool discard);

 private:
  struct Impl;
  explicit Demuxer(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace orves::codecs
