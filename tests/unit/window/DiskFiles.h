#pragma once
// IFileSystem over a real folder for the window area's tests: paths are joined
// with backslashes, as on Windows, below `root`.
#include <strings.h>

#include <filesystem>
#include <string>
#include <vector>

#include "player/window/FileSystem.h"

namespace orves::testing {

struct DiskFiles final : IFileSystem {
  std::filesystem::path root;
  bool FileExists(const std::string& p) const override { return std::filesystem::exists(ToFsPath(p)); }
  std::vector<std::string> ListFolder(const std::string& folder) const override {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(ToFsPath(folder)))
      names.push_back(e.path().filename().string());
    return names;
  }
  int CompareNoCase(const std::string& a, const std::string& b) const override {
    return strcasecmp(a.c_str(), b.c_str());
  }
  std::filesystem::path ToFsPath(const std::string& path) const override {
    std::string p = path;
    for (char& c : p) c = c == '\\' ? '/' : c;
    return root / p;
  }
};

}  // namespace orves::testing
