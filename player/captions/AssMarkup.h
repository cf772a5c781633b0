#pragma once
// The text field of an ASS/SSA event: override blocks in braces ({\b1},
// {\i1}, {\c&HBBGGRR&} or {\1c...} for bold, italic and colour; {\an7-9} or
// the older {\a5-7} for top placement; {\r} back to the style; drawings
// between {\p1} and {\p0} left out; every other tag removed) and the escapes
// \N (line break), \n (a line break only with WrapStyle 2, else a space) and
// \h (a space).
#include <string_view>

#include "player/captions/CaptionEntry.h"

namespace orves {

// What an event's style contributes to its look.
struct TAssStyle {
  bool italic = false;
  bool top = false;
};

// The entry shown for an event's text; its start is 0.
TCaptionEntry ParseAssText(std::string_view utf8, const TAssStyle& style, bool softBreaksBreak);

// Alignments that place a caption at the top: numpad style 7-9 (\an,
// V4+ styles) and the older 5-7 (\a, V4 styles).
bool IsTopNumpadAlignment(int alignment);
bool IsTopLegacyAlignment(int alignment);

}  // namespace orves
