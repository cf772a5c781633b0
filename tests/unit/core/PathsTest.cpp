#include "player/core/Paths.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/MediaFileTypes.h"

namespace orves {
namespace {

FolderExistsFn FoldersAre(std::set<std::string> folders) {
  return [folders = std::move(folders)](const std::string& path) { return folders.count(path) > 0; };
}

TEST(NearestExistingFolder, KeepsAnExistingFolderAndCutsAtBackslashesOtherwise) {
  const auto exists = FoldersAre({"C:\\Movies", "C:\\Movies\\Drama", "D:"});
  EXPECT_EQ(NearestExistingFolder("C:\\Movies\\Drama", exists), "C:\\Movies\\Drama");
  EXPECT_EQ(NearestExistingFolder("C:\\Movies\\Gone\\Deeper\\x.avi", exists), "C:\\Movies");
  EXPECT_EQ(NearestExistingFolder("D:\\a\\b", exists), "D:");
}

TEST(NearestExistingFolder, FallsBackToDriveCWhenNothingExists) {
  const auto none = FoldersAre({});
  EXPECT_EQ(NearestExistingFolder("E:\\gone\\away", none), "c:\\");
  EXPECT_EQ(NearestExistingFolder("", none), "c:\\");
  EXPECT_EQ(NearestExistingFolder("\\\\", none), "c:\\");
  EXPECT_EQ(NearestExistingFolder("relative", none), "c:\\");
}

TEST(BaseName, TakesTheFileNameUpToItsLastDot) {
  EXPECT_EQ(BaseName("C:\\Movies\\Film.part1.avi"), "Film.part1");
  EXPECT_EQ(BaseName("C:\\Movies\\NoExtension"), "NoExtension");
  EXPECT_EQ(BaseName("C:\\My.Folder\\NoExtension"), "NoExtension");
  EXPECT_EQ(BaseName("plain.smi"), "plain");
  EXPECT_EQ(BaseName("C:\\Movies\\"), "");
  EXPECT_EQ(BaseName(""), "");
}

TEST(PathParts, SplitAtTheLastBackslashAndDot) {
  EXPECT_EQ(FileNameOf("C:\\a\\b.avi"), "b.avi");
  EXPECT_EQ(FolderOf("C:\\a\\b.avi"), "C:\\a");
  EXPECT_EQ(FolderOf("b.avi"), "");
  EXPECT_EQ(ExtensionOf("C:\\a.b\\c.AVI"), "AVI");
  EXPECT_EQ(ExtensionOf("C:\\a\\c"), "");
}

TEST(ExtensionTests, CompareAfterLowerCasing) {
  for (const char* ext : {"smi", "SMI", "Sami", "smil"}) {
    EXPECT_TRUE(IsCaptionExtension(ext)) << ext;
  }
  for (const char* ext : {"sm", "srt", "smis", "", "ssa"}) {
    EXPECT_FALSE(IsCaptionExtension(ext)) << ext;
  }
  for (const char* ext : {"avi",  "AVI",  "asx",  "asf", "wm",   "wmv", "wmx", "mpeg", "mpg", "mpe",
                          "mpa",  "dat",  "divx", "vob", "list", "ogm", "M2V", "m1v",  "mkv", "MP4",
                          "webm", "m2ts", "3gp",  "ogv", "flv",  "mov", "m4v", "ts",   "ivf"}) {
    EXPECT_TRUE(IsMovieExtension(ext)) << ext;
  }
  for (const char* ext : {"mp3", "flac", "wav", "smi", "", "av", "avi "}) {
    EXPECT_FALSE(IsMovieExtension(ext)) << ext;
  }
}

// The open dialog's filter is description|patterns pairs: movies (and
// playlists) on the first line, the audio files on a line of their own.
TEST(ExtensionTests, OpenDialogFilterPairsMoviesAudioAndEveryFile) {
  std::vector<std::string> parts;
  std::string filter = OpenDialogFilter();
  for (size_t at = 0;;) {
    const size_t bar = filter.find('|', at);
    parts.push_back(filter.substr(at, bar - at));
    if (bar == std::string::npos) break;
    at = bar + 1;
  }
  ASSERT_EQ(parts.size() % 2, 0u);
  const std::string& movies = parts[1];
  for (const char* pattern : {"*.avi;", "*.mkv;", "*.webm;", "*.m2ts;", "*.3gp;", "*.list;"}) {
    EXPECT_NE(movies.find(pattern), std::string::npos) << pattern;
  }
  EXPECT_EQ(movies.find("*.mp3"), std::string::npos);
  const auto audio = std::find(parts.begin(), parts.end(), "*.mp3;*.flac;*.m4a;*.opus;*.ogg;*.wav");
  EXPECT_NE(audio, parts.end());
  EXPECT_EQ(parts.back(), "*.*");
}

TEST(ProgramFolder, NeverEndsInABackslash) {
  EXPECT_EQ(ProgramFolderOf("C:\\Program Files\\Orve\\OrvesMP.exe"), "C:\\Program Files\\Orve");
  EXPECT_EQ(ProgramFolderOf("Z:\\OrvesMP.exe"), "Z:");
  EXPECT_EQ(BesideProgram("Z:\\bin", "OrvesMP20.ini"), "Z:\\bin\\OrvesMP20.ini");
}

}  // namespace
}  // namespace orves
