#include "player/captions/CaptionClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orves {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// At most this many digits per field: enough for any real time, few enough
// that no field overflows.
constexpr size_t kMaxFieldDigits = 12;

std::optional<int64_t> ReadDigits(std::string_view text, size_t& i) {
  const size_t begin = i;
  int64_t value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (i - begin == kMaxFieldDigits) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i == begin) return std::nullopt;
  return value;
}

std::string Clock(int64_t ms, char separator) {
  if (ms < 0) ms = 0;
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", static_cast<long long>(ms / 3'600'000),
                static_cast<long long>(ms / 60'000 % 60), static_cast<long long>(ms / 1000 % 60), separator,
                static_cast<long long>(ms % 1000));
  return text;
}

}  // namespace

std::optional<int64_t> ReadClock(std::string_view text, size_t& length) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  int64_t fields[3];
  int count = 0;
  while (true) {
    const auto field = ReadDigits(text, i);
    if (!field) return std::nullopt;
    fields[count++] = *field;
    if (count == 3 || i >= text.size() || text[i] != ':') break;
    ++i;
  }
  if (count < 2) return std::nullopt;
  int64_t ms = 0;
  for (int k = 0; k < count; ++k) ms = ms * 60 + fields[k];
  if (ms > kMaxCaptionMilliseconds / 1000) return std::nullopt;
  ms *= 1000;
  if (i + 1 < text.size() && (text[i] == ',' || text[i] == '.') && IsDigit(text[i + 1])) {
    ++i;
    int64_t scale = 100;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      ms += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  length = i;
  return ms;
}

std::string SubRipClock(int64_t milliseconds) { return Clock(milliseconds, ','); }

std::string WebVttClock(int64_t milliseconds) { return Clock(milliseconds, '.'); }

std::string AssClock(int64_t milliseconds) {
  const int64_t cs = (std::max<int64_t>(milliseconds, 0) + 5) / 10;
  char text[48];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", static_cast<long long>(cs / 360'000),
                static_cast<long long>(cs / 6000 % 60), static_cast<long long>(cs / 100 % 60),
                static_cast<long long>(cs % 100));
  return text;
}

int64_t OffsetMilliseconds(double seconds) {
  if (!std::isfinite(seconds)) return 0;
  const double ms =
      std::clamp(seconds * 1000, -double(kMaxCaptionMilliseconds), double(kMaxCaptionMilliseconds));
  return std::llround(ms);
}

}  // namespace orves
