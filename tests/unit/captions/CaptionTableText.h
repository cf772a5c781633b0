#pragma once
// A caption table as one line of text, so reader cases read as a table of
// input and expected output: entries "START: LINE / LINE" joined by " | ",
// each line prefixed with its look ("*" bold, "_" italic, "#RRGGBB "
// colour) and a top-placed entry with "^".
#include <cstdio>
#include <string>
#include <vector>

#include "player/captions/CaptionEntry.h"

namespace orves::test {

inline std::string DescribeTable(const std::vector<TCaptionEntry>& table) {
  std::string out;
  for (const TCaptionEntry& entry : table) {
    if (!out.empty()) out += " | ";
    char start[32];
    std::snprintf(start, sizeof start, "%.10g: ", entry.start);
    out += start;
    if (entry.top) out += "^";
    int line = 0;
    for (size_t at = 0; at < entry.text.size(); ++line) {
      const size_t feed = std::min(entry.text.find('\n', at), entry.text.size());
      if (line > 0) out += " / ";
      if (line < kStyledLines) {
        if (entry.bold[line]) out += "*";
        if (entry.italic[line]) out += "_";
        if (entry.hasColour[line]) {
          char colour[16];
          std::snprintf(colour, sizeof colour, "#%02X%02X%02X ", entry.colour[line] & 0xFF,
                        (entry.colour[line] >> 8) & 0xFF, (entry.colour[line] >> 16) & 0xFF);
          out += colour;
        }
      }
      out += entry.text.substr(at, feed - at);
      at = feed + 1;
    }
  }
  return out;
}

}  // namespace orves::test
