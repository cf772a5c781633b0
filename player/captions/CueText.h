#pragma once
// Turns the styled runs a caption format's markup yields into an entry's
// display text and line looks. The renderer draws each line in one look, so
// a line takes the look most of its letters have: "<i>whole line</i>" is
// italic, "one <i>stressed</i> word" is not.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "player/captions/CaptionEntry.h"

namespace orves {

// The look of a run of caption text.
struct TTextLook {
  bool bold = false;
  bool italic = false;
  std::optional<TColour> colour;
};

class TCueTextBuilder {
 public:
  // Appends UTF-8 text in `look`; a line feed in it breaks the line, tabs
  // become spaces and other control characters are dropped.
  void Append(std::string_view utf8, const TTextLook& look);
  void BreakLine();
  // The entry's text (lines trimmed of blanks at their ends, empty lines
  // left out, joined by line feeds) and the looks of its first lines. Its
  // start is 0 and it is not top-placed.
  TCaptionEntry Finish() const;

 private:
  struct Tally {
    std::optional<TColour> colour;
    int letters = 0;
  };
  struct Line {
    std::string text;
    int letters = 0;
    int bold = 0;
    int italic = 0;
    std::vector<Tally> colours;  // in order of first appearance
  };
  void Count(Line& line, int letters, const TTextLook& look);

  std::vector<Line> lines_{1};
};

}  // namespace orves
