#include "player/core/Paths.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

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
  for (const char* ext : {"avi", "AVI", "asx", "asf", "wm", "wmv", "wmx", "mpeg", "mpg", "mpe", "mpa", "dat",
                          "divx", "vob", "list", "ogm", "M2V", "m1v"}) {
    EXPECT_TRUE(IsMovieExtension(ext)) << ext;
  }
  for (const char* ext : {"mkv", "mp4", "smi", "", "av", "avi "}) {
    EXPECT_FALSE(IsMovieExtension(ext)) << ext;
  }
}

TEST(ProgramFolder, NeverEndsInABackslash) {
  EXPECT_EQ(ProgramFolderOf("C:\\Program Files\\Orve\\OrvesMP.exe"), "C:\\Program Files\\Orve");
  EXPECT_EQ(ProgramFolderOf("Z:\\OrvesMP.exe"), "Z:");
  EXPECT_EQ(BesideProgram("Z:\\bin", "OrvesMP20.ini"), "Z:\\bin\\OrvesMP20.ini");
}

}  // namespace
}  // namespace orves
