#pragma once
// Clock times of the formats with end times, in whole milliseconds:
// SubRip "01:02:03,456", WebVTT "01:02:03.456" or "02:03.456", ASS
// "1:02:03.45". Reading is lenient (any number of hour digits, "," or ".",
// one to three fraction digits read as a fraction); writing gives each
// format's own form.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orves {

// Times are kept below this (about 31 years), so every sum stays exact.
inline constexpr int64_t kMaxCaptionMilliseconds = 1'000'000'000'000;

// Reads a clock time at the start of `text` (after any blanks): two or three
// fields of digits separated by ":", then an optional fraction after "," or
// ".". Sets `length` to the characters read (blanks included).
std::optional<int64_t> ReadClock(std::string_view text, size_t& length);

std::string SubRipClock(int64_t milliseconds);  // HH:MM:SS,mmm
std::string WebVttClock(int64_t milliseconds);  // HH:MM:SS.mmm
std::string AssClock(int64_t milliseconds);     // H:MM:SS.cc, rounded to centiseconds

// A sync offset in seconds as whole milliseconds (rounded, so 0.1 s steps
// add up exactly), held to the time range.
int64_t OffsetMilliseconds(double seconds);

}  // namespace orves
