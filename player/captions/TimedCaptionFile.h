#pragma once
// A caption file with end times (SubRip, WebVTT, ASS/SSA) as its reader
// found it: the whole text, where each cue's times stand in it, and the cues
// it shows. Saving with a sync offset rewrites only the times, so numbers,
// identifiers, settings, headers, styles, comments and every other field stay
// exactly as they were read.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "player/captions/CaptionCue.h"
#include "player/captions/CaptionFormat.h"

namespace orves {

// One timed cue (or ASS comment) in the file's text, by byte offsets.
struct TCueTiming {
  size_t blockBegin = 0;  // the cue's lines, left out when it is shifted
  size_t blockEnd = 0;    // before the start of the movie
  size_t startAt = 0;     // the start time's characters
  size_t startLength = 0;
  size_t endAt = 0;  // the end time's characters
  size_t endLength = 0;
  int64_t start = 0;  // milliseconds as read
  int64_t end = 0;
};

struct TTimedCaptionFile {
  // What a reader starts from: the file's format and text, with room for
  // its cues at a guess of one per kBytesPerCue bytes.
  static constexpr size_t kBytesPerCue = 64;
  static TTimedCaptionFile Empty(TCaptionFormat format, std::string utf8) {
    TTimedCaptionFile file;
    file.format = format;
    file.text = std::move(utf8);
    file.timings.reserve(file.text.size() / kBytesPerCue);
    file.cues.reserve(file.text.size() / kBytesPerCue);
    return file;
  }

  TCaptionFormat format = TCaptionFormat::SubRip;
  std::string text;                 // the whole file, UTF-8
  std::vector<TCueTiming> timings;  // in file order; cues whose times cannot be read have none
  std::vector<TCaptionCue> cues;    // the cues shown, in file order
};

// The file's text with every time moved by `offsetMilliseconds`. A cue that
// ends before the start of the movie (an open one: that starts before it) is
// left out; one that straddles it starts at 0.
std::string ShiftTimedCaptionFile(const TTimedCaptionFile& file, int64_t offsetMilliseconds);

// One line of a text: [begin, end) without its line ending, `next` the start
// of the line after it. CR LF, LF and CR all end lines.
struct TTextLine {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};
std::vector<TTextLine> SplitLines(std::string_view text);
// The line starting at `begin` (before the end of `text`).
TTextLine LineAt(std::string_view text, size_t begin);

// The reader of each format; `utf8` is the file's text without byte-order mark.
TTimedCaptionFile ReadSubRip(std::string utf8);
TTimedCaptionFile ReadWebVtt(std::string utf8);
TTimedCaptionFile ReadAss(std::string utf8);
TTimedCaptionFile ReadTimedCaptionFile(TCaptionFormat format, std::string utf8);

}  // namespace orves
