#include "player/captions/TagMarkup.h"

#include <algorithm>
#include <array>
#include <vector>

#include "player/captions/CueText.h"
#include "player/captions/SamiMarkup.h"
#include "player/core/Paths.h"
#include "player/core/UnicodeText.h"

namespace orves {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

struct PaletteColour {
  std::string_view name;
  TColour colour;
};
// The colour classes of WebVTT's default style sheet.
constexpr std::array<PaletteColour, 8> kPalette = {{{"white", 0xFFFFFF},
                                                    {"lime", 0x00FF00},
                                                    {"cyan", 0xFFFF00},
                                                    {"red", 0x0000FF},
                                                    {"yellow", 0x00FFFF},
                                                    {"magenta", 0xFF00FF},
                                                    {"blue", 0xFF0000},
                                                    {"black", 0x000000}}};

std::optional<TColour> PaletteClassColour(std::string_view classes) {
  std::optional<TColour> colour;
  while (!classes.empty()) {
    const size_t dot = classes.find('.');
    const std::string name = LowerAscii(classes.substr(0, dot));
    for (const PaletteColour& entry : kPalette) {
      if (entry.name == name) colour = entry.colour;
    }
    classes = dot == std::string_view::npos ? std::string_view() : classes.substr(dot + 1);
  }
  return colour;
}

struct Reference {
  std::string_view name;
  std::string_view text;
};
constexpr std::array<Reference, 8> kReferences = {{{"amp", "&"},
                                                   {"lt", "<"},
                                                   {"gt", ">"},
                                                   {"nbsp", " "},
                                                   {"quot", "\""},
                                                   {"apos", "'"},
                                                   {"lrm", ""},
                                                   {"rlm", ""}}};

// Decodes the named references WebVTT texts use and numeric ones; anything
// else stays as written.
std::string DecodeReferences(std::string_view text) {
  std::string named;
  named.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      const size_t semicolon = text.find(';', i);
      if (semicolon != std::string_view::npos && semicolon - i <= 5) {
        const std::string_view name = text.substr(i + 1, semicolon - i - 1);
        const auto known = std::find_if(kReferences.begin(), kReferences.end(),
                                        [&](const Reference& r) { return r.name == name; });
        if (known != kReferences.end()) {
          named += known->text;
          i = semicolon;
          continue;
        }
      }
    }
    named += text[i];
  }
  return named.find("&#") == std::string::npos ? named : DecodeNumericReferences(named);
}

// Walks a cue text, keeping a stack of open styles.
class TagReader {
 public:
  explicit TagReader(TTagDialect dialect) : dialect_(dialect) {}

  TCaptionEntry Read(std::string_view text) {
    size_t plain = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      size_t end = std::string_view::npos;
      if (c == '<' && StartsTag(text, i)) {
        end = text.find('>', i);
      } else if (c == '{' && dialect_ == TTagDialect::SubRip && i + 1 < text.size() && text[i + 1] == '\\') {
        end = text.find('}', i);
      }
      if (end == std::string_view::npos) continue;
      Text(text.substr(plain, i - plain));
      if (c == '<') {
        Tag(text.substr(i + 1, end - i - 1));
      } else {
        Override(text.substr(i + 1, end - i - 1));
      }
      i = end;
      plain = end + 1;
    }
    Text(text.substr(plain));
    TCaptionEntry entry = builder_.Finish();
    entry.top = top_;
    return entry;
  }

 private:
  // A tag starts with a letter, a "/" or (a WebVTT timestamp) a digit.
  static bool StartsTag(std::string_view text, size_t at) {
    if (at + 1 >= text.size()) return false;
    const char next = text[at + 1];
    return IsAsciiLetter(next) || next == '/' || IsDigit(next);
  }

  void Text(std::string_view text) {
    if (text.empty()) return;
    TTextLook look;
    look.bold = bold_ > 0;
    look.italic = italic_ > 0;
    look.colour = colours_.empty() ? std::nullopt : colours_.back();
    if (dialect_ == TTagDialect::WebVtt && text.find('&') != std::string_view::npos) {
      builder_.Append(DecodeReferences(text), look);
    } else {
      builder_.Append(text, look);
    }
  }

  void Tag(std::string_view tag) {
    const bool closing = !tag.empty() && tag.front() == '/';
    if (closing) tag.remove_prefix(1);
    size_t nameEnd = 0;
    while (nameEnd < tag.size() && (IsAsciiLetter(tag[nameEnd]) || IsDigit(tag[nameEnd]))) ++nameEnd;
    const std::string name = LowerAscii(tag.substr(0, nameEnd));
    if (name == "b") {
      Count(bold_, closing);
    } else if (name == "i") {
      Count(italic_, closing);
    } else if (name == "font" && dialect_ == TTagDialect::SubRip) {
      Colour(closing, FontTagColour(tag));
    } else if (name == "c" && dialect_ == TTagDialect::WebVtt) {
      const std::string_view rest = tag.substr(nameEnd);
      const std::string_view classes = !rest.empty() && rest.front() == '.'
                                           ? rest.substr(1, rest.find_first_of(" \t") - 1)
                                           : std::string_view();
      Colour(closing, PaletteClassColour(classes));
    }
    // <u>, <v Speaker>, <lang>, <ruby>, timestamps and unknown tags: removed.
  }

  // An ASS override block in a SubRip text: only the top alignments count.
  void Override(std::string_view block) {
    for (const std::string_view top : {"\\an7", "\\an8", "\\an9"}) {
      if (block.find(top) != std::string_view::npos) top_ = true;
    }
  }

  static void Count(int& depth, bool closing) { depth = closing ? std::max(depth - 1, 0) : depth + 1; }

  // Every colour tag opens a level, with or without a colour that is
  // understood, so its closing tag ends the right one.
  void Colour(bool closing, std::optional<TColour> colour) {
    if (closing) {
      if (!colours_.empty()) colours_.pop_back();
    } else {
      colours_.push_back(colour ? colour : (colours_.empty() ? std::nullopt : colours_.back()));
    }
  }

  TTagDialect dialect_;
  TCueTextBuilder builder_;
  int bold_ = 0;
  int italic_ = 0;
  std::vector<std::optional<TColour>> colours_;
  bool top_ = false;
};

}  // namespace

std::optional<TColour> FontTagColour(std::string_view tag) {
  const size_t key = FindNoCase(tag, "color");
  if (key == std::string_view::npos) return std::nullopt;
  size_t i = key + 5;
  while (i < tag.size() && (tag[i] == ' ' || tag[i] == '=')) ++i;
  char quote = 0;
  if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) quote = tag[i++];
  std::string value;
  for (; i < tag.size() && tag[i] != quote && tag[i] != ' ' && tag[i] != '>'; ++i) {
    if (tag[i] != '#') value += tag[i];
  }
  if (std::all_of(value.begin(), value.end(), IsHexDigit)) {
    if (value.size() == 3) value = {value[0], value[0], value[1], value[1], value[2], value[2]};
    if (value.size() == 6) return HexToColour(value);
  }
  TColour colour;
  if (!value.empty() && LookupColourName(value, colour)) return colour;
  return std::nullopt;
}

TCaptionEntry ParseTagMarkup(std::string_view utf8, TTagDialect dialect) {
  return TagReader(dialect).Read(utf8);
}

}  // namespace orves
