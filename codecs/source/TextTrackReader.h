// Embedded text subtitle tracks (SubRip, ASS/SSA, WebVTT, MP4 timed text):
// which streams they are, and their cues read in one pass over the file by a
// second demuxer on a worker thread, so playback is not held up.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "codecs/common/StreamFormat.h"
#include "codecs/common/TextCue.h"

namespace orves::codecs {

struct TextTrack {
  int stream = -1;
  int codecId = 0;
  std::string language;
  std::string title;
  // An ASS/SSA track's script header ([Script Info], styles); empty for others.
  std::string header;
  // By start time, cues without text left out. A cue the file gives no end
  // lasts until the next one starts, the last one kLastCueLength.
  std::vector<TextCue> cues;
};

inline constexpr std::int64_t kLastCueLength = 5 * kUnitsPerSecond;

// The streams of `streams` that are text subtitle tracks, in file order.
std::vector<int> TextStreams(const std::vector<StreamInfo>& streams);

class TextTrackReader {
 public:
  // Starts reading `file` at once.
  explicit TextTrackReader(std::filesystem::path file);
  // Cancels a read still running and waits for the thread.
  ~TextTrackReader();
  TextTrackReader(const TextTrackReader&) = delete;
  TextTrackReader& operator=(const TextTrackReader&) = delete;

  bool Ready() const;
  void Wait() const;
  // Every text track of the file with its cues; valid once Ready. Empty when
  // the file cannot be read or has no text track.
  const std::vector<TextTrack>& Tracks() const;

 private:
  void Read(const std::filesystem::path& file);

  std::atomic<bool> cancel_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable done_;
  bool ready_ = false;
  std::vector<TextTrack> tracks_;
  std::thread thread_;
};

}  // namespace orves::codecs
