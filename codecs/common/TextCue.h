// Cues of embedded text subtitle tracks (SubRip, ASS/SSA, WebVTT, MP4 timed
// text) and the rule that takes a cue's text out of a track's packet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orves::codecs {

struct TextCue {
  std::int64_t start = 0;  // REFERENCE_TIME
  std::int64_t stop = 0;
  std::string text;  // UTF-8; ASS override tags ({\i1}) and SubRip tags (<i>) as written
  friend bool operator==(const TextCue&, const TextCue&) = default;
};

// The text one packet of a track of codec `codecId` carries: the dialogue
// text of an ASS/SSA event (after its eight leading fields), the string of a
// timed-text sample (after its 16-bit length, UTF-16 turned into UTF-8), the
// whole payload otherwise. Trailing line breaks and NULs are dropped and
// invalid UTF-8 becomes U+FFFD, so the result is always valid UTF-8.
std::string CueText(int codecId, const std::uint8_t* data, std::size_t size);

}  // namespace orves::codecs
