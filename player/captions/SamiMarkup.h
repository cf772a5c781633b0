#pragma once
// The byte-level rules of the SAMI reader: where sync blocks start, a block's
// start time and language class, its display text and its line colours.
// Every function works on the raw bytes of the file (CP949 or UTF-8), with
// plain substring searches; "case-insensitive" means ASCII letters only, so
// the trail bytes of double-byte characters are never changed.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "player/captions/CaptionEntry.h"

namespace orves {

struct TLineColours {
  std::array<bool, 3> hasColour{};
  std::array<TColour, 3> colour{};
};

// Start times are kept below this many milliseconds (about 31 years), so that
// any run of joined digits stays an exact whole number of milliseconds.
inline constexpr double kMaxStartMilliseconds = 1e12;

// Index of the first "<sync" (any case) at or after `from`, or npos.
size_t FindNextSync(std::string_view text, size_t from);

// Start time in seconds: all digits between "start=" and the first ">" joined
// (so "Start=1000 End=2000" reads as 10002000 ms), times 0.001.
double ParseSyncStart(std::string_view block);

// A block that mentions EGCC or ENCC anywhere (exact case) is English.
bool IsEnglishBlock(std::string_view block);

// Display text: file line breaks become spaces, runs of spaces one space,
// "<br>" a line feed, "&nbsp;"/"&nbsp" a space, "&quot;" a double quote; tags
// removed; ends trimmed of bytes up to 32.
std::string CleanCaptionText(std::string_view block);

// Colours of the block's first three lines (split at "<br>"), a colour still
// open across a "<br>" carried to the next line.
TLineColours ParseLineColours(std::string_view block);

// The colour of the first color= attribute in `line`: six hex digits or a
// colour name, double quotes and '#' allowed around and inside.
std::optional<TColour> ParseColourAttribute(std::string_view line);

// RRGGBB (six hex digits, checked by the caller) to 0x00BBGGRR.
TColour HexToColour(std::string_view rrggbb);

// One of the 141 colour names, compared after lower-casing.
bool LookupColourName(std::string_view name, TColour& colour);

// Line feeds plus one.
int CountLines(std::string_view text);

// Case-insensitive (ASCII) search for a lower-case needle.
size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, size_t from = 0);

}  // namespace orves
