#pragma once
// Turns the styled runs a caption format's markup yields into an entry's
// display text and line looks. The renderer draws each line in one look, so
// a line takes the look most of its letters have: "<i>whole line</i>" is
// italic, "one <i>stressed</i> word" is not.
#include <array>
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
  TCueTextBuilder() {
    lines_.reserve(4);
    lines_.emplace_back();
  }
  // Appends UTF-8 text in `look`; a line break in it (LF, CR LF or CR)
  // breaks the line, tabs become spaces and other control characters are
  // dropped.
  void Append(std::string_view utf8, const TTextLook& look);
  void BreakLine();
  // The entry's text (lines trimmed of blanks at their ends, empty lines
  // left out, joined by line feeds) and the looks of its first lines. Its
  // start is 0 and it is not top-placed. Ends the builder's use.
  TCaptionEntry Finish();

 private:
  struct Tally {
    std::optional<TColour> colour;
    int letters = 0;
  };
  // Colours counted per line; a line with more colours than this counts only
  // its first ones, which is plenty to find the colour of most of its letters.
  static constexpr size_t kColoursCounted = 4;
  struct Line {
    size_t begin = 0;  // in text_
    int letters = 0;
    int bold = 0;
    int italic = 0;
    std::array<Tally, kColoursCounted> colours{};  // in order of first appearance
    size_t colourCount = 0;
  };
  void Count(Line& line, int letters, const TTextLook& look);

  std::string text_;  // every line, each but the last ended by a line feed
  std::vector<Line> lines_;
};

}  // namespace orves
