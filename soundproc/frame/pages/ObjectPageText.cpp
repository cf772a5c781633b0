#include "soundproc/frame/pages/ObjectPageText.h"

#include <cstdio>

namespace zmsp::pages {

namespace {

constexpr std::uint32_t kMinSpeed = 563;
constexpr std::uint32_t kMaxSpeed = 10000;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

std::string SpeedEditText(std::uint32_t thousandths) {
  char text[32];
  std::snprintf(text, sizeof(text), "%u.%03u", static_cast<unsigned>(thousandths / 1000),
                static_cast<unsigned>(thousandths % 1000));
  return text;
}

std::optional<std::uint32_t> ParseSpeedEditText(std::string_view text) {
  text = Trimmed(text);
  std::uint64_t whole = 0;
  std::size_t at = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    whole = whole * 10 + static_cast<std::uint64_t>(text[at] - '0');
    if (whole > kMaxSpeed) return std::nullopt;  // no overflow on long inputs
  }
  const bool hasWhole = at > 0;
  std::uint32_t fraction = 0;
  int fractionDigits = 0;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && IsDigit(text[at]); ++at, ++fractionDigits) {
      if (fractionDigits < 3) fraction = fraction * 10 + static_cast<std::uint32_t>(text[at] - '0');
    }
  }
  if (at != text.size() || (!hasWhole && fractionDigits == 0)) return std::nullopt;
  for (int digits = fractionDigits; digits < 3; ++digits) fraction *= 10;
  const std::uint64_t thousandths = whole * 1000 + fraction;
  if (thousandths < kMinSpeed || thousandths > kMaxSpeed) return std::nullopt;
  return static_cast<std::uint32_t>(thousandths);
}

}  // namespace zmsp::pages
