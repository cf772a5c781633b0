#pragma once
// Captions with end times (SubRip, WebVTT, ASS files and a movie's own text
// tracks) become a table of entries the way SAMI files give them: an entry
// wherever what is shown changes, and a blank entry wherever a caption ends
// before the next begins. Cues shown at the same time are drawn together.
#include <cstdint>
#include <vector>

#include "player/captions/CaptionEntry.h"

namespace orves {

struct TCaptionCue {
  int64_t start = 0;    // milliseconds
  int64_t end = 0;      // milliseconds; an end before the start lasts until the next cue
  TCaptionEntry shown;  // text and looks; its start is set when the table is built
};

// An open cue with no later cue to end it lasts this long.
inline constexpr int64_t kLastOpenCueMilliseconds = 24LL * 3600 * 1000;

// At most this many lines of overlapping cues are drawn together.
inline constexpr int kMaxMergedLines = 100;

// The entries for `cues` (in any order): ascending starts, the texts of the
// cues shown at once joined in order of their starts, blank entries where
// nothing is shown. A cue that lasts no time is never shown.
std::vector<TCaptionEntry> BuildCaptionTable(const std::vector<TCaptionCue>& cues);

// The other way: the cues an entry table shows, each lasting until the next
// entry (the last one, which the lookup never shows, for `lastSeconds`);
// blank entries give no cue.
std::vector<TCaptionCue> CuesOfTable(const std::vector<TCaptionEntry>& table, double lastSeconds);

}  // namespace orves
