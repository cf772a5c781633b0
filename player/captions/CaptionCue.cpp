#include "player/captions/CaptionCue.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "player/captions/SamiMarkup.h"

namespace orves {
namespace {

struct Span {
  int64_t start;
  int64_t end;
  size_t cue;
};

// The cues in order of their starts (file order among equal starts), each
// open end replaced by the next later start.
std::vector<Span> SpansOf(const std::vector<TCaptionCue>& cues) {
  std::vector<Span> spans;
  spans.reserve(cues.size());
  for (size_t i = 0; i < cues.size(); ++i) spans.push_back({cues[i].start, cues[i].end, i});
  std::stable_sort(spans.begin(), spans.end(),
                   [](const Span& a, const Span& b) { return a.start < b.start; });
  for (size_t i = 0; i < spans.size(); ++i) {
    if (spans[i].end >= spans[i].start) continue;
    size_t next = i + 1;
    while (next < spans.size() && spans[next].start == spans[i].start) ++next;
    spans[i].end = next < spans.size() ? spans[next].start : spans[i].start + kLastOpenCueMilliseconds;
  }
  return spans;
}

// The entry shown while `active` (in order of their starts) are shown.
TCaptionEntry Merge(const std::vector<TCaptionCue>& cues, const std::vector<Span>& active) {
  if (active.size() == 1) {
    TCaptionEntry entry = cues[active.front().cue].shown;
    entry.top = entry.top && !entry.text.empty();
    return entry;
  }
  TCaptionEntry entry;
  entry.top = true;
  int lines = 0;
  for (const Span& span : active) {
    const TCaptionEntry& shown = cues[span.cue].shown;
    if (shown.text.empty()) continue;
    entry.top = entry.top && shown.top;
    int line = 0;
    for (size_t at = 0; at <= shown.text.size() && lines < kMaxMergedLines; ++line, ++lines) {
      const size_t feed = std::min(shown.text.find('\n', at), shown.text.size());
      if (!entry.text.empty()) entry.text += '\n';
      entry.text.append(shown.text, at, feed - at);
      if (lines < kStyledLines && line < kStyledLines) {
        entry.hasColour[lines] = shown.hasColour[line];
        entry.colour[lines] = shown.colour[line];
        entry.bold[lines] = shown.bold[line];
        entry.italic[lines] = shown.italic[line];
      }
      at = feed + 1;
    }
  }
  if (entry.text.empty()) entry.top = false;
  return entry;
}

}  // namespace

std::vector<TCaptionEntry> BuildCaptionTable(const std::vector<TCaptionCue>& cues) {
  const std::vector<Span> spans = SpansOf(cues);
  std::vector<int64_t> times;
  times.reserve(spans.size() * 2);
  for (const Span& span : spans) {
    if (span.end <= span.start) continue;
    times.push_back(span.start);
    times.push_back(span.end);
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());

  std::vector<TCaptionEntry> table;
  table.reserve(times.size());
  std::vector<Span> active;
  size_t next = 0;
  bool changed = false;
  for (const int64_t t : times) {
    const auto ended = [t](const Span& s) { return s.end <= t; };
    if (std::any_of(active.begin(), active.end(), ended)) {
      active.erase(std::remove_if(active.begin(), active.end(), ended), active.end());
      changed = true;
    }
    for (; next < spans.size() && spans[next].start <= t; ++next) {
      if (spans[next].end > spans[next].start) {
        active.push_back(spans[next]);
        changed = true;
      }
    }
    if (!changed) continue;
    changed = false;
    TCaptionEntry entry = Merge(cues, active);
    // Nothing shown before and after: no entry needed.
    if (entry.text.empty() && (table.empty() || table.back().text.empty())) continue;
    entry.start = static_cast<double>(t) * 0.001;
    table.push_back(std::move(entry));
  }
  return table;
}

std::vector<TCaptionCue> CuesOfTable(const std::vector<TCaptionEntry>& table, double lastSeconds) {
  std::vector<TCaptionCue> cues;
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].text.empty()) continue;
    TCaptionCue cue;
    cue.shown = table[i];
    const double end = i + 1 < table.size() ? table[i + 1].start : table[i].start + lastSeconds;
    cue.start = std::llround(table[i].start * 1000);
    cue.end = std::max(cue.start, static_cast<int64_t>(std::llround(end * 1000)));
    cues.push_back(std::move(cue));
  }
  return cues;
}

}  // namespace orves
