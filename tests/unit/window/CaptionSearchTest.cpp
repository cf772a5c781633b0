#include "player/window/CaptionSearch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "player/core/Paths.h"

namespace orves {
namespace {

class FolderOfNames : public IFileSystem {
 public:
  std::set<std::string> existing;
  bool FileExists(const std::string& path) const override { return existing.count(path) > 0; }
  std::vector<std::string> ListFolder(const std::string& folder) const override {
    std::vector<std::string> names;
    for (const std::string& path : existing) {
      if (FolderOf(path) == folder) names.push_back(FileNameOf(path));
    }
    return names;
  }
  int CompareNoCase(const std::string& a, const std::string& b) const override {
    return LowerAscii(a).compare(LowerAscii(b));
  }
  std::filesystem::path ToFsPath(const std::string& path) const override { return path; }
};

TEST(CaptionSearch, FindsTheMoviesOwnFileThenOnePerLanguage) {
  struct Case {
    std::set<std::string> files;
    std::vector<std::string> found;
    const char* movie = "C:\\m\\Film.avi";
  };
  const Case cases[] = {
      // SAMI first when both exist, then the other formats in their order.
      {{"C:\\m\\Film.srt", "C:\\m\\Film.smi"}, {"C:\\m\\Film.smi"}},
      {{"C:\\m\\Film.vtt", "C:\\m\\Film.ass"}, {"C:\\m\\Film.ass"}},
      {{"C:\\m\\Film.ssa"}, {"C:\\m\\Film.ssa"}},
      // A Korean and an English file, each by any of its suffixes.
      {{"C:\\m\\Film.en.srt", "C:\\m\\Film.ko.srt"}, {"C:\\m\\Film.ko.srt", "C:\\m\\Film.en.srt"}},
      {{"C:\\m\\Film.korean.vtt", "C:\\m\\Film.eng.smi"}, {"C:\\m\\Film.korean.vtt", "C:\\m\\Film.eng.smi"}},
      {{"C:\\m\\Film.kr.srt", "C:\\m\\Film.kor.srt"}, {"C:\\m\\Film.kor.srt"}},
      {{"C:\\m\\Film.english.ass"}, {"C:\\m\\Film.english.ass"}},
      // The file of the movie's own name comes first; the dash variants hold.
      {{"C:\\m\\Film.srt", "C:\\m\\Film.en.srt"}, {"C:\\m\\Film.srt", "C:\\m\\Film.en.srt"}},
      {{"C:\\m\\My-Film.en.srt"}, {"C:\\m\\My-Film.en.srt"}, "C:\\m\\My_Film.avi"},
      // Names in any script (UTF-8).
      {{"C:\\영화\\한글 영화.ko.srt"}, {"C:\\영화\\한글 영화.ko.srt"}, "C:\\영화\\한글 영화.mp4"},
      // Not a language suffix; nothing found: the last SAMI name tried.
      {{"C:\\m\\Film.de.srt"}, {"C:\\m\\Film.sami"}},
  };
  FolderOfNames files;
  TCaptionSearch search(files);
  const TCaptionSearchOptions options{false, "", false};
  for (const Case& c : cases) {
    files.existing = c.files;
    EXPECT_EQ(search.FindCaptions(c.movie, options), c.found) << *c.files.begin();
  }
}

TEST(CaptionSearch, CaptionFolderFirstAndPairingByOrderInEveryFormat) {
  FolderOfNames files;
  TCaptionSearch search(files);
  files.existing = {"C:\\subs\\Film.srt", "C:\\subs\\Film.en.srt", "C:\\m\\Film.smi", "C:\\m\\Film.ko.srt"};
  EXPECT_EQ(search.FindCaptions("C:\\m\\Film.avi", {true, "C:\\subs", false}),
            (std::vector<std::string>{"C:\\subs\\Film.srt", "C:\\m\\Film.ko.srt", "C:\\subs\\Film.en.srt"}));
  // Two movies, two SubRip files: the second movie gets the second file.
  files.existing = {"C:\\m\\a.avi", "C:\\m\\b.avi", "C:\\m\\x.srt", "C:\\m\\y.srt", "C:\\m\\z.smi"};
  EXPECT_EQ(search.FindCaption("C:\\m\\b.avi", {false, "", true}), "C:\\m\\y.srt");
  EXPECT_EQ(search.FindCaptions("C:\\m\\b.avi", {false, "", true}), std::vector<std::string>{"C:\\m\\y.srt"});
}

}  // namespace
}  // namespace orves
