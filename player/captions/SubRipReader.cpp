// SubRip: cues of an optional number line, a time line
// "00:01:02,345 --> 00:01:04,000" (anything after the second time, such as
// coordinates, is ignored) and text lines. Numbers are optional, "," or "."
// may stand before the milliseconds and hours may have any number of digits.
// A blank line does not end a cue: its text runs until the next time line (and
// the number line just before it), the way common players read files with
// blank lines inside cues. A cue whose time line cannot be read is skipped.
#include <algorithm>

#include "player/captions/CaptionClock.h"
#include "player/captions/TagMarkup.h"
#include "player/captions/TimedCaptionFile.h"

namespace orves {
namespace {

constexpr std::string_view kArrow = "-->";

bool IsNumberLine(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  const size_t last = line.find_last_not_of(" \t");
  return std::all_of(line.begin() + first, line.begin() + last + 1,
                     [](char c) { return c >= '0' && c <= '9'; });
}

// The two times of a time line and where they stand in it.
struct TimeLine {
  int64_t start = 0, end = 0;
  size_t startAt = 0, startLength = 0, endAt = 0, endLength = 0;
};

std::optional<TimeLine> ReadTimeLine(std::string_view line) {
  const size_t arrow = line.find(kArrow);
  TimeLine times;
  size_t length = 0;
  const auto start = ReadClock(line.substr(0, arrow), length);
  if (!start || line.substr(length, arrow - length).find_first_not_of(" \t") != std::string_view::npos) {
    return std::nullopt;
  }
  times.start = *start;
  times.startAt = line.find_first_not_of(" \t");
  times.startLength = length - times.startAt;
  const size_t afterArrow = arrow + kArrow.size();
  const auto end = ReadClock(line.substr(afterArrow), length);
  if (!end) return std::nullopt;
  times.end = *end;
  times.endAt = line.find_first_not_of(" \t", afterArrow);
  times.endLength = afterArrow + length - times.endAt;
  return times;
}

class SubRipReader {
 public:
  explicit SubRipReader(std::string utf8) {
    file_.format = TCaptionFormat::SubRip, file_.text = std::move(utf8);
  }

  TTimedCaptionFile Read() {
    const std::string_view text = file_.text;
    const std::vector<TTextLine> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
      if (line.find(kArrow) == std::string_view::npos) {
        if (inCue_) textLines_.push_back(line);
        continue;
      }
      // The number line just before a time line belongs to the new cue.
      size_t blockBegin = lines[i].begin;
      if (i > 0 && IsNumberLine(text.substr(lines[i - 1].begin, lines[i - 1].end - lines[i - 1].begin))) {
        blockBegin = lines[i - 1].begin;
        if (inCue_ && !textLines_.empty()) textLines_.pop_back();
      }
      EndCue(blockBegin);
      if (const auto times = ReadTimeLine(line)) {
        TCueTiming timing;
        timing.blockBegin = blockBegin;
        timing.startAt = lines[i].begin + times->startAt;
        timing.startLength = times->startLength;
        timing.endAt = lines[i].begin + times->endAt;
        timing.endLength = times->endLength;
        timing.start = times->start;
        timing.end = times->end;
        file_.timings.push_back(timing);
        inCue_ = true;
      }
    }
    EndCue(text.size());
    return std::move(file_);
  }

 private:
  void EndCue(size_t blockEnd) {
    if (!inCue_) return;
    inCue_ = false;
    TCueTiming& timing = file_.timings.back();
    timing.blockEnd = blockEnd;
    std::string joined;
    for (const std::string_view line : textLines_) {
      if (!joined.empty()) joined += '\n';
      joined += line;
    }
    textLines_.clear();
    file_.cues.push_back({timing.start, timing.end, ParseTagMarkup(joined, TTagDialect::SubRip)});
  }

  TTimedCaptionFile file_;
  bool inCue_ = false;
  std::vector<std::string_view> textLines_;
};

}  // namespace

TTimedCaptionFile ReadSubRip(std::string utf8) { return SubRipReader(std::move(utf8)).Read(); }

}  // namespace orves
