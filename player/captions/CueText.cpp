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
  size_t plain = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (static_cast<unsigned char>(c) >= 32) {
      if (StartsLetter(c)) ++letters;
      continue;
    }
    text_.append(utf8, plain, i - plain);
    plain = i + 1;
    // LF, CR LF and a CR alone break the line.
    const bool crBeforeLf = c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n';
    if (c == '\n' || (c == '\r' && !crBeforeLf)) {
      Count(lines_.back(), letters, look);
      letters = 0;
      BreakLine();
    } else if (c == '\t') {
      text_ += ' ';
    }
  }
  text_.append(utf8, plain, utf8.size() - plain);
  Count(lines_.back(), letters, look);
}

void TCueTextBuilder::Count(Line& line, int letters, const TTextLook& look) {
  if (letters == 0) return;
  line.letters += letters;
  if (look.bold) line.bold += letters;
  if (look.italic) line.italic += letters;
  const auto end = line.colours.begin() + static_cast<std::ptrdiff_t>(line.colourCount);
  auto tally =
      std::find_if(line.colours.begin(), end, [&](const Tally& t) { return t.colour == look.colour; });
  if (tally == end) {
    if (line.colourCount == kColoursCounted) return;
    *tally = Tally{look.colour, 0};
    ++line.colourCount;
  }
  tally->letters += letters;
}

void TCueTextBuilder::BreakLine() {
  text_ += '\n';
  lines_.emplace_back().begin = text_.size();
}

TCaptionEntry TCueTextBuilder::Finish() {
  TCaptionEntry entry;
  // Most cues need no trimming: their text is taken as it is.
  bool clean = true;
  for (size_t k = 0; k < lines_.size() && clean; ++k) {
    const size_t end = k + 1 < lines_.size() ? lines_[k + 1].begin - 1 : text_.size();
    const std::string_view line = std::string_view(text_).substr(lines_[k].begin, end - lines_[k].begin);
    clean = !line.empty() && Trimmed(line).size() == line.size();
  }
  if (clean) entry.text = std::move(text_);
  int kept = 0;
  for (size_t k = 0; k < lines_.size(); ++k) {
    const Line& line = lines_[k];
    if (!clean) {
      const size_t end = k + 1 < lines_.size() ? lines_[k + 1].begin - 1 : text_.size();
      const std::string_view text = Trimmed(std::string_view(text_).substr(line.begin, end - line.begin));
      if (text.empty()) continue;
      if (kept > 0) entry.text += '\n';
      entry.text += text;
    }
    if (kept < kStyledLines) {
      entry.bold[kept] = line.bold * 2 > line.letters;
      entry.italic[kept] = line.italic * 2 > line.letters;
      // The colour of the most letters; the first seen wins a tie.
      const auto end = line.colours.begin() + static_cast<std::ptrdiff_t>(line.colourCount);
      const auto most = std::max_element(
          line.colours.begin(), end, [](const Tally& a, const Tally& b) { return a.letters < b.letters; });
      if (most != end && most->colour) {
        entry.hasColour[kept] = true;
        entry.colour[kept] = *most->colour;
      }
    }
    ++kept;
  }
  return entry;
}

}  // namespace orves
