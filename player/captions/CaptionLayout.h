#pragma once
// The portable arithmetic of caption drawing: the caption block's line slots,
// their heights, glyph widths and places in the caption panel, the breaking
// of a long single line, the slot of a single line by caption position, the
// outline and shadow sizes, and the skip of unchanged redraws. Lengths are
// byte counts of the CP949 form of the text, the unit every size rule of the
// caption settings was made for, although texts are kept as UTF-8.
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

// One line slot as it is drawn.
struct CaptionLine {
  std::string text;    // UTF-8, trimmed of bytes up to 32
  int bytes = 0;       // length of its CP949 form
  int glyphWidth = 1;  // GW, narrowed so the line fits the panel
  int y = 0;           // top of its bitmap in the caption panel
  TColour colour = 0;  // 0x00BBGGRR
};

struct CaptionPlan {
  CaptionMetrics metrics;
  int outline = 1;
  int shadow = 0;
  std::vector<CaptionLine> lines;  // min(L, kMaxCaptionLines) slots
};

// The panel the caption is drawn into and the movie panel it is sized by.
struct CaptionArea {
  int movieWidth = 0;
  int movieHeight = 0;
  int panelWidth = 0;
};

// Lays out a non-empty entry. A line moved to another slot (the second half
// of a broken line, a single line put in the lower slot) keeps the colour of
// the source line it came from.
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
