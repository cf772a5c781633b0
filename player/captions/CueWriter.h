#pragma once
// Writes cues as a clean SubRip or WebVTT file (UTF-8, CR LF): numbered or
// plain cues in order of their starts, open ends closed at the next cue,
// line looks as tags (<b>, <i>, SubRip <font color>, WebVTT colour classes)
// and top placement as SubRip's {\an8} or WebVTT's "line:0".
#include <cstdint>
#include <string>
#include <vector>

#include "player/captions/CaptionCue.h"

namespace orves {

// Cues moved by `offsetMilliseconds`; a cue that then ends before the start
// of the movie is left out, one that straddles it starts at 0.
std::string BuildSubRipFile(const std::vector<TCaptionCue>& cues, int64_t offsetMilliseconds);
std::string BuildWebVttFile(const std::vector<TCaptionCue>& cues, int64_t offsetMilliseconds);

}  // namespace orves
