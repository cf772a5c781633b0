#pragma once
// TCaptionEntry: one caption as the tables hold it and the renderer draws it,
// whatever file format it came from.
#include <array>
#include <cstdint>
#include <string>

namespace orves {

// A colour as 0x00BBGGRR (red in the low byte).
using TColour = uint32_t;

// Only the first lines of an entry carry a look of their own (colour, bold,
// italic); later lines are drawn in the caption settings' look.
inline constexpr int kStyledLines = 3;

struct TCaptionEntry {
  std::array<bool, kStyledLines> hasColour{};  // the line carries a colour of its own
  std::array<TColour, kStyledLines> colour{};  // 0x00BBGGRR
  std::array<bool, kStyledLines> bold{};       // drawn bold even with bold captions off
  std::array<bool, kStyledLines> italic{};     // drawn in italics
  bool top = false;                            // drawn at the top of the picture
  double start = 0;                            // seconds
  std::string text;                            // UTF-8, lines separated by one line feed
};

}  // namespace orves
