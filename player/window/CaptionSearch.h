#pragma once
// TCaptionSearch: the caption files that belong to a movie. A file of the
// movie's own name comes first (in the caption folder when that is used,
// then beside the movie; .smi, .smil, .sami, then .srt, .ass, .ssa, .vtt),
// then a Korean and an English one named with a language suffix
// ("movie.ko.srt", "movie.eng.smi"). A name that does not exist is tried
// again with "_" written as "-" and with "-" written as "_". When no such file
// exists, the folder's movies and captions may be paired by order.
// Paths are UTF-8 text with backslashes, as the playlist holds them.
#include <optional>
#include <string>
#include <vector>

#include "player/core/CaptionNames.h"
#include "player/window/FileSystem.h"

namespace orves {

struct TCaptionSearchOptions {
  bool useCaptionFolder = false;  // look in captionFolder first
  std::string captionFolder;
  bool smartCaptionFinding = true;  // pair a folder's movies and captions by order
};

class TCaptionSearch {
 public:
  explicit TCaptionSearch(const IFileSystem& files) : files_(files) {}

  // The one caption file for a movie: the first file of the movie's own
  // name, else the one paired by order, else the last name tried (which
  // does not exist).
  std::string FindCaption(const std::string& moviePath, const TCaptionSearchOptions& options) const;

  // Every caption file to load with a movie, best first: the file of its own
  // name, then the Korean- and the English-suffixed ones; when none of these
  // exists, the one FindCaption names.
  std::vector<std::string> FindCaptions(const std::string& moviePath,
                                        const TCaptionSearchOptions& options) const;

 private:
  std::optional<std::string> OwnName(const std::string& moviePath, const TCaptionSearchOptions& options,
                                     std::string& lastTried) const;
  std::optional<std::string> Suffixed(const std::string& moviePath, const TCaptionSearchOptions& options,
                                      TCaptionLanguage language) const;
  std::string TryCaption(const std::string& candidate) const;
  std::optional<std::string> FirstExisting(const std::string& base, std::string_view suffix) const;
  std::string PairedCaption(const std::string& moviePath) const;

  const IFileSystem& files_;
};

}  // namespace orves
