#pragma once
// The portable arithmetic of caption drawing: the caption block's line slots,
// their heights, glyph widths and places in the caption panel, the breaking
// of a long single line, the slot of a single line by caption position, the
// wrapping of lines still wider than the panel, the outline and shadow sizes,
// and the skip of unchanged redraws. Lengths are byte counts of the CP949
// form of the text, the unit every size rule of the caption settings was made
// for, although texts are kept as UTF-8.
#include <optional>
#include <string>
#include <vector>

#include "player/captions/CaptionSettings.h"
#include "player/captions/SamiDocument.h"
#include "player/core/TextCodec.h"

namespace orves {

// At most this many line slots are drawn.
inline constexpr int kMaxCaptionLines = 100;

// Sizes of the caption block for a movie panel and a number of line slots.
struct CaptionMetrics {
  int lines = 2;       // L: line slots, at least 2
  int block = 0;       // B: block height
  int gap = 0;         // G: gap per line slot
  int lineHeight = 1;  // LH: glyph cell height, at least 1
  int glyphWidth = 1;  // GW: average glyph width, at least 1
};

// The line height is clamped to 1 before the glyph width is taken from it, so
// a large gap share never yields a zero or negative glyph width.
CaptionMetrics CaptionMetricsFor(int movieWidth, int movieHeight, int lines,
                                 const TCaptionSettings& settings);

// Outline radius: percent of the line height, rounded, at least 1 pixel.
int CaptionOutline(int outLineRate, int lineHeight);
// Shadow offset: percent of the line height, rounded; 0 means no shadow.
int CaptionShadow(int shadowRate, int lineHeight);

// Replaces the first space in the second half of `text` (from byte
// (n + 1) / 2 on) with a line feed; a text without one stays whole.
void BreakLongLine(std::string& text);

// Splits a line (CP949 bytes, or UTF-8 when `utf8`) into pieces of at most
// `capacity` bytes: at spaces (dropped at the breaks), and between any two
// characters inside a run without spaces that is longer than a piece. Pieces
// are made as even as their number allows; a character longer than the
// capacity still makes a piece of its own.
std::vector<std::string> WrapLine(std::string_view line, int capacity, bool utf8);

// One line slot as it is drawn.
struct CaptionLine {
  std::string text;    // UTF-8, trimmed of bytes up to 32
  int bytes = 0;       // length of its CP949 form
  int glyphWidth = 1;  // GW, narrowed so the line fits the panel
  int y = 0;           // top of its bitmap in the caption panel
  TColour colour = 0;  // 0x00BBGGRR
  bool bold = false;   // bold on its own (the settings' bold applies to all)
  bool italic = false;
};

struct CaptionPlan {
  CaptionMetrics metrics;
  int outline = 1;
  int shadow = 0;
  std::vector<CaptionLine> lines;  // min(L, kMaxCaptionLines) slots, more when wrapped
  // Some line lies outside the caption block: above it (wrapped lines) or
  // at the top of the picture.
  bool beyondBlock = false;
};

// The panel the caption is drawn into and the movie panel it is sized by.
struct CaptionArea {
  int movieWidth = 0;
  int movieHeight = 0;
  int panelWidth = 0;
  // Top of the caption block in the panel: the room above it, over the
  // picture, that wrapped lines and a top-placed caption may take.
  int blockTop = 0;
};

// Lays out a non-empty entry. A line moved to another slot (the second half
// of a broken line, a single line put in the lower slot) keeps the colour of
// the source line it came from.
//
// A line still wider than the panel after the long-line break (its length
// times the glyph width above the panel width) is wrapped into more lines at
// the same line height: the lowest line stays in its slot and the block grows
// upward into the room above it (a top-placed caption starts at the top of
// the panel and grows downward). Only when the lines cannot fit there is the
// block divided into more, smaller slots, one at a time, until they do.
CaptionPlan PlanCaption(const TCaptionEntry& entry, const TCaptionSettings& settings, const CaptionArea& area,
                        ITextCodec& codec);

// Left edge of a line `textWidth` pixels wide, centred; negative when wider
// than the panel.
inline int CaptionLineX(int panelWidth, int textWidth) { return (panelWidth - textWidth) / 2; }

// Decides whether a caption must be drawn again: only when its text or the
// panel width changed since the last drawing, or after Forget.
class CaptionRedrawCache {
 public:
  // True when (text, width) differs from the last drawing; remembers it.
  bool Changed(const std::string& text, int width);
  // The caption was hidden: any text after it is drawn again.
  void Hidden() { text_ = std::string(); }
  // The look changed: the next caption is drawn even when unchanged.
  void Forget() { width_.reset(); }

 private:
  std::optional<std::string> text_;  // nothing before the first drawing
  std::optional<int> width_;
};

}  // namespace orves
