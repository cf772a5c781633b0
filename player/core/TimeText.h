#pragma once
// The time format of every on-screen time: "%02d:%02d:%02d" from a whole
// number of seconds, hours taken modulo 99 (not 100), so 100 hours show as
// 01:00:00.
#include <string>

namespace orves {

// Whole seconds. Negative values (a position a hair before 0) show as
// 00:00:00.
std::string TimeText(long long seconds);

// A position or duration in seconds, truncated toward zero to whole seconds
// first; NaN and infinities show as 00:00:00.
std::string PositionText(double seconds);

}  // namespace orves
