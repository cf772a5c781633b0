#include "player/core/CaptionNames.h"

#include <algorithm>

#include "player/core/Paths.h"

namespace orves {
namespace {

template <size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view lower) {
  return std::find(list.begin(), list.end(), lower) != list.end();
}

}  // namespace

bool IsAnyCaptionExtension(std::string_view extension) {
  return Contains(kCaptionExtensions, LowerAscii(extension));
}

bool IsTimedCaptionExtension(std::string_view extension) {
  return IsAnyCaptionExtension(extension) && !IsCaptionExtension(extension);
}

std::optional<TCaptionLanguage> LanguageOfSuffix(std::string_view nameWithoutExtension) {
  const size_t dot = nameWithoutExtension.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return LanguageOfTag(nameWithoutExtension.substr(dot + 1));
}

std::optional<TCaptionLanguage> LanguageOfTag(std::string_view tag) {
  const std::string lower = LowerAscii(tag);
  if (Contains(kKoreanSuffixes, lower)) return TCaptionLanguage::Korean;
  if (Contains(kEnglishSuffixes, lower)) return TCaptionLanguage::English;
  return std::nullopt;
}

}  // namespace orves
