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
  explicit SubRipReader(std::string utf8)
      : file_(TTimedCaptionFile::Empty(TCaptionFormat::SubRip, std::move(utf8))) {}

  TTimedCaptionFile Read() {
    const std::string_view text = file_.text;
    TTextLine previous;
    for (size_t at = 0; at < text.size();) {
      const TTextLine current = LineAt(text, at);
      at = current.next;
      const std::string_view line = text.substr(current.begin, current.end - current.begin);
      if (line.find(kArrow) == std::string_view::npos) {
        if (inCue_) AddTextLine(current);
        previous = current;
        continue;
      }
      // The number line just before a time line belongs to the new cue.
      size_t blockBegin = current.begin;
      if (current.begin > 0 && IsNumberLine(text.substr(previous.begin, previous.end - previous.begin))) {
        blockBegin = previous.begin;
        if (inCue_ && textEnd_ == previous.end) textEnd_ = textEndBefore_;
      }
      previous = current;
      EndCue(blockBegin);
      if (const auto times = ReadTimeLine(line)) {
        TCueTiming timing;
        timing.blockBegin = blockBegin;
        timing.startAt = current.begin + times->startAt;
        timing.startLength = times->startLength;
        timing.endAt = current.begin + times->endAt;
        timing.endLength = times->endLength;
        timing.start = times->start;
        timing.end = times->end;
        file_.timings.push_back(timing);
        inCue_ = true;
        textBegin_ = textEnd_ = textEndBefore_ = current.next;
      }
    }
    EndCue(text.size());
    return std::move(file_);
  }

 private:
  // The cue's text runs from the first line after its time line to the end
  // of its last text line so far; the reader drops the line breaks' CRs and
  // the blank lines inside.
  void AddTextLine(const TTextLine& line) {
    textEndBefore_ = textEnd_;
    textEnd_ = line.end;
  }

  void EndCue(size_t blockEnd) {
    if (!inCue_) return;
    inCue_ = false;
    TCueTiming& timing = file_.timings.back();
    timing.blockEnd = blockEnd;
    const std::string_view cueText =
        std::string_view(file_.text).substr(textBegin_, textEnd_ > textBegin_ ? textEnd_ - textBegin_ : 0);
    file_.cues.push_back({timing.start, timing.end, ParseTagMarkup(cueText, TTagDialect::SubRip)});
  }

  TTimedCaptionFile file_;
  bool inCue_ = false;
  size_t textBegin_ = 0;
  size_t textEnd_ = 0;
  size_t textEndBefore_ = 0;  // before the last text line: without a number line that turns out to be one
};

}  // namespace

TTimedCaptionFile ReadSubRip(std::string utf8) { return SubRipReader(std::move(utf8)).Read(); }

}  // namespace orves
