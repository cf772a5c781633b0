#include "player/captions/SamiMarkup.h"

#include <algorithm>

namespace orves {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return LowerAscii(c) - 'a' + 10;
}

// Replaces every case-insensitive occurrence of `lowerNeedle`, left to right.
// The replacements used by the reader (a space or a line feed) can never form
// a new occurrence, so this single pass gives the same text as replacing the
// first occurrence again and again, without the quadratic cost.
std::string ReplaceAllNoCase(std::string_view text, std::string_view lowerNeedle, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  for (size_t hit; (hit = FindNoCase(text, lowerNeedle, i)) != std::string_view::npos;) {
    out.append(text.substr(i, hit - i));
    out.append(with);
    i = hit + lowerNeedle.size();
  }
  out.append(text.substr(i));
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view needle, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  for (size_t hit; (hit = text.find(needle, i)) != std::string_view::npos;) {
    out.append(text.substr(i, hit - i));
    out.append(with);
    i = hit + needle.size();
  }
  out.append(text.substr(i));
  return out;
}

// File line breaks to spaces, then runs of spaces to one space (what
// replacing the first double space until none is left amounts to).
std::string JoinFileLines(std::string_view block) {
  std::string out(block.size(), '\0');
  char* write = out.data();
  for (size_t i = 0; i < block.size(); ++i) {
    char c = block[i];
    if (c == '\r' && i + 1 < block.size() && block[i + 1] == '\n') {
      ++i;
      c = ' ';
    } else if (c == '\n') {
      c = ' ';
    }
    if (c == ' ' && write != out.data() && write[-1] == ' ') continue;
    *write++ = c;
  }
  out.resize(write - out.data());
  return out;
}

// Deletes "<...>" runs from the front while the first "<" comes before the
// first ">"; a stray ">" ahead of every "<" ends the removal.
std::string RemoveTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    const size_t open = text.find('<', pos);
    const size_t close = text.find('>', pos);
    if (open == std::string_view::npos || close == std::string_view::npos || open > close) break;
    out.append(text.substr(pos, open - pos));
    pos = close + 1;
  }
  out.append(text.substr(pos));
  return out;
}

std::string_view TrimControls(std::string_view text) {
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, size_t from) {
  if (lowerNeedle.empty() || text.size() < lowerNeedle.size()) return std::string_view::npos;
  // Every needle the reader uses holds a byte that is not a letter ('<', '&',
  // '='); candidates are found by a fast search for that byte, then checked.
  const size_t anchor = lowerNeedle.find_first_not_of("abcdefghijklmnopqrstuvwxyz");
  const size_t last = text.size() - lowerNeedle.size();
  const auto matchesAt = [&](size_t i) {
    for (size_t k = 0; k < lowerNeedle.size(); ++k) {
      if (LowerAscii(text[i + k]) != lowerNeedle[k]) return false;
    }
    return true;
  };
  if (anchor == std::string_view::npos) {
    for (size_t i = from; i <= last; ++i) {
      if (matchesAt(i)) return i;
    }
    return std::string_view::npos;
  }
  for (size_t i = from; i <= last; ++i) {
    const size_t hit = text.find(lowerNeedle[anchor], i + anchor);
    if (hit == std::string_view::npos || hit - anchor > last) break;
    i = hit - anchor;
    if (matchesAt(i)) return i;
  }
  return std::string_view::npos;
}

size_t FindNextSync(std::string_view text, size_t from) { return FindNoCase(text, "<sync", from); }

double ParseSyncStart(std::string_view block) {
  const size_t key = FindNoCase(block, "start=");
  const size_t from = key == std::string_view::npos ? 5 : key + 6;  // 0-based
  const size_t close = block.find('>');
  double ms = 0;
  if (close != std::string_view::npos && close > from) {
    for (const char c : block.substr(from, close - from)) {
      if (c >= '0' && c <= '9') ms = std::min(ms * 10 + (c - '0'), kMaxStartMilliseconds);
    }
  }
  return ms * 0.001;
}

bool IsEnglishBlock(std::string_view block) {
  return block.find("EGCC") != std::string_view::npos || block.find("ENCC") != std::string_view::npos;
}

std::string CleanCaptionText(std::string_view block) {
  std::string text = JoinFileLines(block);
  text = ReplaceAllNoCase(text, "<br>", "\n");
  text = ReplaceAllNoCase(text, "&nbsp;", " ");
  text = ReplaceAllNoCase(text, "&nbsp", " ");
  text = ReplaceAll(text, "&quot;", "\"");
  text = RemoveTags(text);
  return std::string(TrimControls(text));
}

TLineColours ParseLineColours(std::string_view block) {
  TLineColours lines;
  std::string_view rest = block;
  for (size_t k = 0; k < 3; ++k) {
    const std::string_view remaining = rest;
    const size_t br = FindNoCase(remaining, "<br>");
    const std::string_view head = br == std::string_view::npos ? remaining : remaining.substr(0, br);
    rest = br == std::string_view::npos ? std::string_view() : remaining.substr(br + 4);
    if (const auto colour = ParseColourAttribute(head)) {
      lines.hasColour[k] = true;
      lines.colour[k] = *colour;
    } else if (k > 0 && lines.hasColour[k - 1] &&
               FindNoCase(remaining, "</font>") != std::string_view::npos) {
      lines.hasColour[k] = true;
      lines.colour[k] = lines.colour[k - 1];
    }
  }
  return lines;
}

std::optional<TColour> ParseColourAttribute(std::string_view line) {
  const size_t key = FindNoCase(line, "color=");
  if (key == std::string_view::npos) return std::nullopt;
  size_t i = key + 6;
  if (i < line.size() && line[i] == '"') ++i;
  std::string value;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' || c == ' ' || c == '>') break;
    if (c != '#') value += c;
  }
  if (value.empty()) return std::nullopt;
  if (value.size() == 6 && std::all_of(value.begin(), value.end(), IsHexDigit)) return HexToColour(value);
  TColour colour;
  if (LookupColourName(value, colour)) return colour;
  return std::nullopt;
}

TColour HexToColour(std::string_view rrggbb) {
  const auto pair = [&](size_t at) {
    return static_cast<TColour>(HexValue(rrggbb[at]) * 16 + HexValue(rrggbb[at + 1]));
  };
  return pair(0) | pair(2) << 8 | pair(4) << 16;
}

int CountLines(std::string_view text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

}  // namespace orves
