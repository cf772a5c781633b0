#include "player/core/TimeText.h"

#include <cmath>
#include <cstdio>

namespace orves {

std::string TimeText(long long seconds) {
  if (seconds < 0) seconds = 0;
  const long long hh = (seconds / 3600) % 99;
  const long long mm = (seconds / 60) % 60;
  const long long ss = seconds % 60;
  char text[16];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", hh, mm, ss);
  return text;
}

std::string PositionText(double seconds) {
  // Beyond this a double no longer fits a long long; such a "position" is
  // garbage from a broken file, shown as 0 like NaN.
  constexpr double kLimit = 9.0e18;
  if (!std::isfinite(seconds) || std::fabs(seconds) >= kLimit) return TimeText(0LL);
  return TimeText(static_cast<long long>(std::trunc(seconds)));
}

}  // namespace orves
