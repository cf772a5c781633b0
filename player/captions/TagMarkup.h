#pragma once
// The markup of SubRip and WebVTT cue texts: HTML-like tags for bold,
// italic, underline and colour, everything else removed.
//   SubRip: <b> <i> <u> <font color="red|#RRGGBB">; an ASS-style {\an8}
//           (and {\an7}, {\an9}) puts the cue at the top, other {\...} blocks
//           are removed.
//   WebVTT: <b> <i> <u> <c.yellow> (the colour classes of the default
//           palette), <v Speaker> and every other tag removed, character
//           references (&amp; &lt; &gt; &nbsp; &#NN;) decoded.
// A "<" that does not start a tag ("a < b") stays text.
#include <optional>
#include <string_view>

#include "player/captions/CaptionEntry.h"

namespace orves {

enum class TTagDialect { SubRip, WebVtt };

// The entry shown for a cue's text (lines separated by line feeds); its
// start is 0.
TCaptionEntry ParseTagMarkup(std::string_view utf8, TTagDialect dialect);

// The colour of a font tag's color attribute ("#RRGGBB", "RRGGBB", "#RGB",
// a colour name, quoted or not), or nothing.
std::optional<TColour> FontTagColour(std::string_view tag);

}  // namespace orves
