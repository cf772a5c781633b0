#include "player/captions/AssMarkup.h"

#include <charconv>
#include <optional>

#include "player/captions/CueText.h"

namespace orves {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::optional<long> LeadingNumber(std::string_view text) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end == text.data()) return std::nullopt;
  return value;
}

// "&HBBGGRR&" (the "&H" and the closing "&" optional, fewer digits allowed):
// ASS writes colours blue first, the layout TColour keeps.
std::optional<TColour> AssColour(std::string_view value) {
  while (!value.empty() && (value.front() == '&' || value.front() == 'H' || value.front() == 'h')) {
    value.remove_prefix(1);
  }
  TColour colour = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), colour, 16);
  if (ec != std::errc() || end == value.data()) return std::nullopt;
  return colour & 0xFFFFFF;
}

class AssTextReader {
 public:
  AssTextReader(const TAssStyle& style, bool softBreaksBreak)
      : style_(style), softBreaksBreak_(softBreaksBreak), top_(style.top) {
    Reset();
  }

  TCaptionEntry Read(std::string_view text) {
    size_t plain = 0;  // start of the text not yet handed to the builder
    for (size_t i = text.find_first_of("{\\"); i < text.size(); i = text.find_first_of("{\\", i + 1)) {
      if (text[i] == '{') {
        const size_t close = text.find('}', i);
        if (close == std::string_view::npos) break;
        Text(text.substr(plain, i - plain));
        Overrides(text.substr(i + 1, close - i - 1));
        i = close;
        plain = close + 1;
        continue;
      }
      if (i + 1 >= text.size()) break;
      const char next = text[i + 1];
      const bool lineBreak = next == 'N' || (next == 'n' && softBreaksBreak_);
      if (lineBreak || next == 'n' || next == 'h') {
        Text(text.substr(plain, i - plain));
        Text(lineBreak ? "\n" : " ");
        ++i;
        plain = i + 1;
      }
    }
    Text(text.substr(plain));
    TCaptionEntry entry = builder_.Finish();
    entry.top = top_;
    return entry;
  }

 private:
  void Reset() {
    look_ = TTextLook{};
    look_.italic = style_.italic;
  }

  void Text(std::string_view text) {
    if (drawing_ == 0 && !text.empty()) builder_.Append(text, look_);
  }

  // The tags of one override block, each after a backslash. A tag's value
  // may hold backslashes of its own inside parentheses (\t(\c&HFF&)), which
  // animate and are not applied.
  void Overrides(std::string_view block) {
    size_t i = block.find('\\');
    while (i != std::string_view::npos) {
      size_t end = i + 1;
      int depth = 0;
      while (end < block.size() && (depth > 0 || block[end] != '\\')) {
        if (block[end] == '(') ++depth;
        if (block[end] == ')' && depth > 0) --depth;
        ++end;
      }
      Tag(block.substr(i + 1, end - i - 1));
      i = end < block.size() ? end : std::string_view::npos;
    }
  }

  void Tag(std::string_view tag) {
    size_t nameEnd = 0;
    if (nameEnd < tag.size() && IsDigit(tag[nameEnd])) ++nameEnd;  // \1c, \2c ...
    while (nameEnd < tag.size() && IsAsciiLetter(tag[nameEnd])) ++nameEnd;
    const std::string_view name = tag.substr(0, nameEnd);
    const std::string_view value = tag.substr(nameEnd);
    const std::optional<long> number = LeadingNumber(value);
    if (name == "b") {
      // \b1 or a weight: 1 and weights from 600 are bold.
      if (number) look_.bold = *number == 1 || *number >= 600;
    } else if (name == "i") {
      if (number) look_.italic = *number != 0;
    } else if (name == "c" || name == "1c") {
      look_.colour = value.empty() ? std::nullopt : AssColour(value);
    } else if (name == "an") {
      if (number) top_ = IsTopNumpadAlignment(static_cast<int>(*number));
    } else if (name == "a") {
      if (number) top_ = IsTopLegacyAlignment(static_cast<int>(*number));
    } else if (name == "r") {
      Reset();
    } else if (name == "p") {
      if (number) drawing_ = *number;
    }
  }

  TAssStyle style_;
  bool softBreaksBreak_;
  bool top_;
  TTextLook look_;
  long drawing_ = 0;
  TCueTextBuilder builder_;
};

}  // namespace

bool IsTopNumpadAlignment(int alignment) { return alignment >= 7 && alignment <= 9; }

bool IsTopLegacyAlignment(int alignment) { return alignment >= 5 && alignment <= 7; }

TCaptionEntry ParseAssText(std::string_view utf8, const TAssStyle& style, bool softBreaksBreak) {
  return AssTextReader(style, softBreaksBreak).Read(utf8);
}

}  // namespace orves
