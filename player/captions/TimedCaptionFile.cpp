#include "player/captions/TimedCaptionFile.h"

#include <algorithm>

#include "player/captions/CaptionClock.h"

namespace orves {
namespace {

std::string FormatClock(TCaptionFormat format, int64_t ms) {
  switch (format) {
    case TCaptionFormat::WebVtt:
      return WebVttClock(ms);
    case TCaptionFormat::Ass:
      return AssClock(ms);
    default:
      return SubRipClock(ms);
  }
}

}  // namespace

TTextLine LineAt(std::string_view text, size_t begin) {
  size_t end = begin;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
  size_t next = end;
  if (next < text.size())
    next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
  return {begin, end, next};
}

std::vector<TTextLine> SplitLines(std::string_view text) {
  std::vector<TTextLine> lines;
  lines.reserve(text.size() / 24 + 1);
  for (size_t begin = 0; begin < text.size(); begin = lines.back().next) lines.push_back(LineAt(text, begin));
  return lines;
}

std::string ShiftTimedCaptionFile(const TTimedCaptionFile& file, int64_t offsetMilliseconds) {
  const std::string& text = file.text;
  // Unshifted, the file is written exactly as it was read.
  if (offsetMilliseconds == 0) return text;
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  size_t copied = 0;
  for (const TCueTiming& timing : file.timings) {
    out.append(text, copied, timing.blockBegin - copied);
    copied = timing.blockBegin;
    const bool open = timing.end < timing.start;
    const int64_t start = timing.start + offsetMilliseconds;
    const int64_t end = timing.end + offsetMilliseconds;
    if (open ? start < 0 : end <= 0) {
      copied = timing.blockEnd;
      continue;
    }
    out.append(text, copied, timing.startAt - copied);
    out += FormatClock(file.format, std::max<int64_t>(start, 0));
    out.append(text, timing.startAt + timing.startLength, timing.endAt - timing.startAt - timing.startLength);
    out += FormatClock(file.format, std::max<int64_t>(end, 0));
    copied = timing.endAt + timing.endLength;
  }
  out.append(text, copied, std::string::npos);
  return out;
}

TTimedCaptionFile ReadTimedCaptionFile(TCaptionFormat format, std::string utf8) {
  switch (format) {
    case TCaptionFormat::WebVtt:
      return ReadWebVtt(std::move(utf8));
    case TCaptionFormat::Ass:
      return ReadAss(std::move(utf8));
    default:
      return ReadSubRip(std::move(utf8));
  }
}

}  // namespace orves
