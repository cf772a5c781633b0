// A dropped folder stands for its movies in natural order.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/window/DroppedFolder.h"
#include "tests/unit/window/DiskFiles.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

TEST(NaturalOrderTest, NumbersCompareByValue) {
  std::vector<std::string> names = {"10.avi", "2.avi", "Movie 10.avi", "movie 9.avi", "b.avi",
                                    "A.avi",  "1.avi", "ep01.avi",     "ep1b.avi",    "ep001.avi"};
  std::sort(names.begin(), names.end(), NaturalLess);
  EXPECT_EQ(names, (std::vector<std::string>{"1.avi", "2.avi", "10.avi", "A.avi", "b.avi", "ep001.avi",
                                             "ep01.avi", "ep1b.avi", "movie 9.avi", "Movie 10.avi"}));
}

TEST(DroppedFolderTest, AFolderStandsForItsMoviesAndAFileForItself) {
  testing::DiskFiles files;
  files.root = fs::temp_directory_path() / ("orves-drop-" + std::to_string(getpid()));
  fs::remove_all(files.root);
  fs::create_directories(files.root / "Show" / "Extras.avi");  // a folder, not a movie
  for (const char* name : {"10.avi", "2.AVI", "1.mpg", "notes.txt", "1.smi", "old.list"}) {
    std::ofstream(files.root / "Show" / name) << "x";
  }
  EXPECT_EQ(ExpandDroppedPath(files, "Show"),
            (std::vector<std::string>{"Show\\1.mpg", "Show\\2.AVI", "Show\\10.avi"}));
  EXPECT_EQ(ExpandDroppedPath(files, "Show\\10.avi"), (std::vector<std::string>{"Show\\10.avi"}));
  EXPECT_EQ(ExpandDroppedPath(files, "Missing"), (std::vector<std::string>{"Missing"}));
  fs::remove_all(files.root);
}

}  // namespace
}  // namespace orves
