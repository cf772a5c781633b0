#pragma once
// What a caption file's name says: whether it is a caption file at all, its
// format by extension, and the language a suffix before the extension names
// ("movie.ko.srt", "movie.english.ass"). Shared by the caption search of the
// playlist and the caption document, which puts a file's entries in the table
// of its language.
#include <array>
#include <optional>
#include <string_view>

namespace orves {

// The two caption tables.
enum class TCaptionLanguage { Korean, English };

// Caption file extensions in the order the caption search tries them: the
// SAMI ones first (.smi, .smil, .sami, the order the search has always
// used), then SubRip, ASS, SSA and WebVTT.
inline constexpr std::array<std::string_view, 7> kCaptionExtensions = {"smi", "smil", "sami", "srt",
                                                                       "ass", "ssa",  "vtt"};

// Any of kCaptionExtensions, compared after lower-casing.
bool IsAnyCaptionExtension(std::string_view extension);
// The extensions of the formats with end times (SubRip, ASS/SSA, WebVTT).
bool IsTimedCaptionExtension(std::string_view extension);

// The suffixes that name a language, without their dot, in the order the
// caption search tries them.
inline constexpr std::array<std::string_view, 4> kKoreanSuffixes = {"ko", "kor", "korean", "kr"};
inline constexpr std::array<std::string_view, 3> kEnglishSuffixes = {"en", "eng", "english"};

// The language named by the suffix of a file name without its extension (the
// text after its last dot, any case): "movie.KO" is Korean, "movie" none.
std::optional<TCaptionLanguage> LanguageOfSuffix(std::string_view nameWithoutExtension);
// The language a movie's track tag names, by the same words ("kor", "en",
// any case); none for other languages and untagged tracks.
std::optional<TCaptionLanguage> LanguageOfTag(std::string_view tag);

}  // namespace orves
