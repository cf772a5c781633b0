#include "player/window/CaptionSearch.h"

#include <algorithm>

#include "player/core/Paths.h"

namespace orves {
namespace {

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// The movie path with everything from its last "." removed.
std::string BaseOf(const std::string& moviePath) {
  const size_t dot = moviePath.rfind('.');
  return dot == std::string::npos ? moviePath : moviePath.substr(0, dot);
}

}  // namespace

// A candidate that does not exist is tried again with "_" written as "-",
// then with "-" written as "_", in its file name only.
std::string TCaptionSearch::TryCaption(const std::string& candidate) const {
  if (files_.FileExists(candidate)) {
    return candidate;
  }
  const std::string folder = FolderOf(candidate);
  const std::string name = FileNameOf(candidate);
  const std::string prefix = candidate.find('\\') == std::string::npos ? std::string() : folder + "\\";
  for (const std::string& variant : {prefix + Replaced(name, '_', '-'), prefix + Replaced(name, '-', '_')}) {
    if (files_.FileExists(variant)) {
      return variant;
    }
  }
  return candidate;
}

// base + suffix + "." + each caption extension in turn, SAMI first.
std::optional<std::string> TCaptionSearch::FirstExisting(const std::string& base,
                                                         std::string_view suffix) const {
  for (const std::string_view extension : kCaptionExtensions) {
    const std::string found = TryCaption(base + std::string(suffix) + "." + std::string(extension));
    if (files_.FileExists(found)) {
      return found;
    }
  }
  return std::nullopt;
}

// The SAMI endings are tried as they always were (.smi, then "l" appended,
// then the last ending replaced by .sami), the other formats after them.
std::optional<std::string> TCaptionSearch::OwnName(const std::string& moviePath,
                                                   const TCaptionSearchOptions& options,
                                                   std::string& lastTried) const {
  if (options.useCaptionFolder) {
    if (auto found = FirstExisting(options.captionFolder + "\\" + BaseName(moviePath), "")) {
      return found;
    }
  }
  const std::string base = BaseOf(moviePath);
  std::string candidate = TryCaption(base + ".smi");
  if (!files_.FileExists(candidate)) {
    candidate = TryCaption(candidate + "l");
  }
  if (!files_.FileExists(candidate)) {
    candidate = TryCaption(candidate.substr(0, candidate.rfind('.')) + ".sami");
  }
  lastTried = candidate;
  if (files_.FileExists(candidate)) {
    return candidate;
  }
  for (const std::string_view extension : kCaptionExtensions) {
    if (!IsTimedCaptionExtension(extension)) continue;
    const std::string found = TryCaption(base + "." + std::string(extension));
    if (files_.FileExists(found)) {
      return found;
    }
  }
  return std::nullopt;
}

std::optional<std::string> TCaptionSearch::Suffixed(const std::string& moviePath,
                                                    const TCaptionSearchOptions& options,
                                                    TCaptionLanguage language) const {
  std::vector<std::string> bases;
  if (options.useCaptionFolder) {
    bases.push_back(options.captionFolder + "\\" + BaseName(moviePath));
  }
  bases.push_back(BaseOf(moviePath));
  const auto tryAll = [&](const auto& suffixes) -> std::optional<std::string> {
    for (const std::string& base : bases) {
      for (const std::string_view suffix : suffixes) {
        if (auto found = FirstExisting(base, "." + std::string(suffix))) {
          return found;
        }
      }
    }
    return std::nullopt;
  };
  return language == TCaptionLanguage::Korean ? tryAll(kKoreanSuffixes) : tryAll(kEnglishSuffixes);
}

std::string TCaptionSearch::FindCaption(const std::string& moviePath,
                                        const TCaptionSearchOptions& options) const {
  std::string lastTried;
  if (auto found = OwnName(moviePath, options, lastTried)) {
    return *found;
  }
  if (options.smartCaptionFinding) {
    const std::string paired = PairedCaption(moviePath);
    if (!paired.empty()) {
      return paired;
    }
  }
  return lastTried;
}

std::vector<std::string> TCaptionSearch::FindCaptions(const std::string& moviePath,
                                                      const TCaptionSearchOptions& options) const {
  std::vector<std::string> found;
  std::string lastTried;
  if (auto own = OwnName(moviePath, options, lastTried)) {
    found.push_back(*own);
  }
  for (const TCaptionLanguage language : {TCaptionLanguage::Korean, TCaptionLanguage::English}) {
    if (auto suffixed = Suffixed(moviePath, options, language)) {
      if (std::find(found.begin(), found.end(), *suffixed) == found.end()) {
        found.push_back(*suffixed);
      }
    }
  }
  if (found.empty()) {
    found.push_back(FindCaption(moviePath, options));
  }
  return found;
}

// The k-th movie of a folder gets the k-th caption file, when the folder
// holds as many of each: SAMI files first, then the files of the other
// caption formats; "" when that does not decide it.
std::string TCaptionSearch::PairedCaption(const std::string& moviePath) const {
  const std::string folder = FolderOf(moviePath);
  std::vector<std::string> samiFiles;
  std::vector<std::string> timedFiles;
  std::vector<std::string> movies;
  for (const std::string& name : files_.ListFolder(folder)) {
    const std::string extension = ExtensionOf(name);
    if (IsCaptionExtension(extension)) {
      samiFiles.push_back(name);
    } else if (IsTimedCaptionExtension(extension)) {
      timedFiles.push_back(name);
    } else if (IsMovieExtension(extension)) {
      movies.push_back(name);
    }
  }
  const auto byName = [this](const std::string& a, const std::string& b) {
    return files_.CompareNoCase(a, b) < 0;
  };
  std::sort(movies.begin(), movies.end(), byName);
  for (std::vector<std::string>* captions : {&samiFiles, &timedFiles}) {
    if (captions->size() != movies.size()) {
      continue;
    }
    std::sort(captions->begin(), captions->end(), byName);
    for (size_t k = 0; k < movies.size(); ++k) {
      if (folder + "\\" + movies[k] == moviePath) {
        return folder + "\\" + (*captions)[k];
      }
    }
  }
  return {};
}

}  // namespace orves
