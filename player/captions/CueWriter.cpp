#include "player/captions/CueWriter.h"

#include <algorithm>

#include "player/captions/CaptionClock.h"
#include "player/captions/SamiWriter.h"

namespace orves {
namespace {

enum class Dialect { SubRip, WebVtt };

// The cues in order of their starts with open ends closed, shifted, those
// before the movie's start left out.
std::vector<TCaptionCue> Timeline(const std::vector<TCaptionCue>& cues, int64_t offset) {
  std::vector<TCaptionCue> sorted = cues;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const TCaptionCue& a, const TCaptionCue& b) { return a.start < b.start; });
  std::vector<TCaptionCue> out;
  for (size_t i = 0; i < sorted.size(); ++i) {
    TCaptionCue cue = sorted[i];
    if (cue.shown.text.empty()) continue;
    if (cue.end < cue.start) {
      size_t next = i + 1;
      while (next < sorted.size() && sorted[next].start == cue.start) ++next;
      cue.end = next < sorted.size() ? sorted[next].start : cue.start + kLastOpenCueMilliseconds;
    }
    cue.start += offset;
    cue.end += offset;
    if (cue.end <= 0) continue;
    cue.start = std::max<int64_t>(cue.start, 0);
    out.push_back(std::move(cue));
  }
  return out;
}

struct Palette {
  TColour colour;
  const char* name;
};
constexpr Palette kPalette[] = {{0xFFFFFF, "white"}, {0x00FF00, "lime"},   {0xFFFF00, "cyan"},
                                {0x0000FF, "red"},   {0x00FFFF, "yellow"}, {0xFF00FF, "magenta"},
                                {0xFF0000, "blue"},  {0x000000, "black"}};

std::string EscapeWebVtt(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
  return out;
}

// SubRip has no escapes: an arrow in a text would read as a time line.
std::string EscapeSubRip(std::string_view text) {
  std::string out(text);
  for (size_t at; (at = out.find("-->")) != std::string::npos;) out.replace(at, 3, "- ->");
  return out;
}

std::string StyledLine(std::string_view text, const TCaptionEntry& entry, int line, Dialect dialect) {
  std::string out = dialect == Dialect::WebVtt ? EscapeWebVtt(text) : EscapeSubRip(text);
  if (line >= kStyledLines) return out;
  if (entry.hasColour[line]) {
    if (dialect == Dialect::SubRip) {
      out = "<font color=\"" + ColourToHtml(entry.colour[line]) + "\">" + out + "</font>";
    } else {
      for (const Palette& p : kPalette) {
        if (p.colour == entry.colour[line]) out = std::string("<c.") + p.name + ">" + out + "</c>";
      }
    }
  }
  if (entry.italic[line]) out = "<i>" + out + "</i>";
  if (entry.bold[line]) out = "<b>" + out + "</b>";
  return out;
}

std::string CueText(const TCaptionEntry& entry, Dialect dialect) {
  std::string out;
  const std::string_view text = entry.text;
  int line = 0;
  for (size_t at = 0; at <= text.size(); ++line) {
    const size_t feed = std::min(text.find('\n', at), text.size());
    out += StyledLine(text.substr(at, feed - at), entry, line, dialect);
    out += "\r\n";
    at = feed + 1;
  }
  return out;
}

}  // namespace

std::string BuildSubRipFile(const std::vector<TCaptionCue>& cues, int64_t offsetMilliseconds) {
  std::string out;
  int number = 0;
  for (const TCaptionCue& cue : Timeline(cues, offsetMilliseconds)) {
    if (number > 0) out += "\r\n";
    out += std::to_string(++number) + "\r\n";
    out += SubRipClock(cue.start) + " --> " + SubRipClock(cue.end) + "\r\n";
    if (cue.shown.top) out += "{\\an8}";
    out += CueText(cue.shown, Dialect::SubRip);
  }
  return out;
}

std::string BuildWebVttFile(const std::vector<TCaptionCue>& cues, int64_t offsetMilliseconds) {
  std::string out = "WEBVTT\r\n";
  for (const TCaptionCue& cue : Timeline(cues, offsetMilliseconds)) {
    out += "\r\n" + WebVttClock(cue.start) + " --> " + WebVttClock(cue.end);
    out += cue.shown.top ? " line:0\r\n" : "\r\n";
    out += CueText(cue.shown, Dialect::WebVtt);
  }
  return out;
}

}  // namespace orves
