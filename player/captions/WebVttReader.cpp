// WebVTT: a "WEBVTT" header block, then blocks separated by blank lines:
// cues (an optional identifier line, a time line "00:01.000 --> 00:02.000"
// with optional settings, the payload up to the next blank line), and NOTE,
// STYLE and REGION blocks, which are skipped. A "line:" setting in the upper
// part of the picture (a line number from 0 to kTopLineNumbers - 1 or a
// percentage below 50) puts the cue at the top.
#include <charconv>

#include "player/captions/CaptionClock.h"
#include "player/captions/TagMarkup.h"
#include "player/captions/TimedCaptionFile.h"

namespace orves {
namespace {

constexpr std::string_view kArrow = "-->";

// Line numbers count lines of cue text from the top; the picture holds about
// eighteen, so those below nine lie in its upper half.
constexpr long kTopLineNumbers = 9;

bool StartsWord(std::string_view line, std::string_view word) {
  return line.substr(0, word.size()) == word &&
         (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The "line:" value of a cue's settings ("0", "-1", "10%", "3,end").
bool LineSettingIsTop(std::string_view settings) {
  size_t at = 0;
  while ((at = settings.find("line:", at)) != std::string_view::npos) {
    if (at == 0 || settings[at - 1] == ' ' || settings[at - 1] == '\t') break;
    at += 5;
  }
  if (at == std::string_view::npos) return false;
  const std::string_view value = settings.substr(at + 5);
  double number = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec != std::errc()) return false;
  if (end < value.data() + value.size() && *end == '%') return number < 50;
  return number >= 0 && number < kTopLineNumbers;
}

class WebVttReader {
 public:
  explicit WebVttReader(std::string utf8)
      : file_(TTimedCaptionFile::Empty(TCaptionFormat::WebVtt, std::move(utf8))) {}

  TTimedCaptionFile Read() {
    const std::string_view text = file_.text;
    lines_ = SplitLines(text);
    size_t i = 0;
    // The header block, when there is one.
    if (!lines_.empty() && Line(0).substr(0, 6) == "WEBVTT") {
      while (i < lines_.size() && !IsBlank(Line(i))) ++i;
    }
    while (i < lines_.size()) {
      if (IsBlank(Line(i))) {
        ++i;
        continue;
      }
      i = Block(i);
    }
    return std::move(file_);
  }

 private:
  std::string_view Line(size_t i) const {
    return std::string_view(file_.text).substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
  }

  // The block starting at line `first`; returns the line after it.
  size_t Block(size_t first) {
    const std::string_view line = Line(first);
    if (StartsWord(line, "NOTE") || StartsWord(line, "STYLE") || StartsWord(line, "REGION")) {
      return SkipBlock(first);
    }
    size_t timeLine = first;
    if (line.find(kArrow) == std::string_view::npos) {
      timeLine = first + 1;
      if (timeLine >= lines_.size() || Line(timeLine).find(kArrow) == std::string_view::npos) {
        return SkipBlock(first);
      }
    }
    // The payload ends at a blank line or at a line that starts another cue.
    size_t end = timeLine + 1;
    while (end < lines_.size() && !IsBlank(Line(end)) && Line(end).find(kArrow) == std::string_view::npos)
      ++end;
    Cue(first, timeLine, end);
    return end;
  }

  size_t SkipBlock(size_t first) {
    while (first < lines_.size() && !IsBlank(Line(first))) ++first;
    return first;
  }

  void Cue(size_t first, size_t timeLine, size_t end) {
    const std::string_view line = Line(timeLine);
    const size_t arrow = line.find(kArrow);
    size_t startLength = 0, endLength = 0;
    const auto start = ReadClock(line.substr(0, arrow), startLength);
    const std::string_view rest = line.substr(arrow + kArrow.size());
    const auto stop = ReadClock(rest, endLength);
    if (!start || !stop ||
        line.substr(startLength, arrow - startLength).find_first_not_of(" \t") != std::string_view::npos) {
      return;
    }
    TCueTiming timing;
    timing.blockBegin = lines_[first].begin;
    size_t after = end;  // the blank lines after the cue go with it
    while (after < lines_.size() && IsBlank(Line(after))) ++after;
    timing.blockEnd = after < lines_.size() ? lines_[after].begin : file_.text.size();
    timing.startAt = lines_[timeLine].begin + line.find_first_not_of(" \t");
    timing.startLength = lines_[timeLine].begin + startLength - timing.startAt;
    const size_t restAt = lines_[timeLine].begin + arrow + kArrow.size();
    timing.endAt = restAt + rest.find_first_not_of(" \t");
    timing.endLength = restAt + endLength - timing.endAt;
    timing.start = *start;
    timing.end = *stop;
    file_.timings.push_back(timing);

    std::string payload;
    for (size_t k = timeLine + 1; k < end; ++k) {
      if (!payload.empty()) payload += '\n';
      payload += Line(k);
    }
    TCaptionEntry shown = ParseTagMarkup(payload, TTagDialect::WebVtt);
    shown.top = LineSettingIsTop(rest.substr(endLength));
    file_.cues.push_back({*start, *stop, std::move(shown)});
  }

  TTimedCaptionFile file_;
  std::vector<TTextLine> lines_;
};

}  // namespace

TTimedCaptionFile ReadWebVtt(std::string utf8) { return WebVttReader(std::move(utf8)).Read(); }

}  // namespace orves
