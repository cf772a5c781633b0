// A dropped folder stands for its movies in natural order.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/window/DroppedFolder.h"

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

// Paths use backslashes, as on Windows; the disk behind them is a temporary folder.
struct DiskFiles final : IFileSystem {
  fs::path root;
  bool FileExists(const std::string& p) const override { return fs::exists(ToFsPath(p)); }
  std::vector<std::string> ListFolder(const std::string& folder) const override {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(ToFsPath(folder)))
      names.push_back(e.path().filename().string());
    return names;
  }
  int CompareNoCase(const std::string& a, const std::string& b) const override { return a.compare(b); }
  fs::path ToFsPath(const std::string& path) const override {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return root / p;
  }
  std::string ToUtf8(const std::string& ansi) const override { return ansi; }
};

TEST(DroppedFolderTest, AFolderStandsForItsMoviesAndAFileForItself) {
  DiskFiles files;
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
