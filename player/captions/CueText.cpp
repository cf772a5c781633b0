#include "player/captions/CueText.h"

#include <algorithm>

namespace orves {
namespace {

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlankByte(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankByte(text.back())) text.remove_suffix(1);
  return text;
}

// Letters: characters other than blanks, counted by their first byte.
bool StartsLetter(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b > 32 && (b & 0xC0) != 0x80;
}

}  // namespace

void TCueTextBuilder::Append(std::string_view utf8, const TTextLook& look) {
  int letters = 0;
  for (const char c : utf8) {
    if (c == '\n') {
      Count(lines_.back(), letters, look);
      letters = 0;
      BreakLine();
      continue;
    }
    if (c == '\t') {
      lines_.back().text += ' ';
      continue;
    }
    if (static_cast<unsigned char>(c) < 32) continue;
    lines_.back().text += c;
    if (StartsLetter(c)) ++letters;
  }
  Count(lines_.back(), letters, look);
}

void TCueTextBuilder::Count(Line& line, int letters, const TTextLook& look) {
  if (letters == 0) return;
  line.letters += letters;
  if (look.bold) line.bold += letters;
  if (look.italic) line.italic += letters;
  const auto same = [&](const Tally& t) { return t.colour == look.colour; };
  auto tally = std::find_if(line.colours.begin(), line.colours.end(), same);
  if (tally == line.colours.end()) tally = line.colours.insert(line.colours.end(), Tally{look.colour, 0});
  tally->letters += letters;
}

void TCueTextBuilder::BreakLine() { lines_.emplace_back(); }

TCaptionEntry TCueTextBuilder::Finish() const {
  TCaptionEntry entry;
  int kept = 0;
  for (const Line& line : lines_) {
    const std::string_view text = Trimmed(line.text);
    if (text.empty()) continue;
    if (kept > 0) entry.text += '\n';
    entry.text += text;
    if (kept < kStyledLines) {
      entry.bold[kept] = line.bold * 2 > line.letters;
      entry.italic[kept] = line.italic * 2 > line.letters;
      // The colour of the most letters; the first seen wins a tie.
      const auto most =
          std::max_element(line.colours.begin(), line.colours.end(),
                           [](const Tally& a, const Tally& b) { return a.letters < b.letters; });
      if (most != line.colours.end() && most->colour) {
        entry.hasColour[kept] = true;
        entry.colour[kept] = *most->colour;
      }
    }
    ++kept;
  }
  return entry;
}

}  // namespace orves
