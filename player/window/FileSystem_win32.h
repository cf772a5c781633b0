#pragma once
// The file-system questions of the portable code, answered by Win32: whether
// a file or folder exists, a folder's entries, the system's case-insensitive
// string order, and where the running program lives. Paths are UTF-8 here
// and UTF-16 in the wide calls.
#include <string>

#include "player/window/FileSystem.h"

namespace orves {

class Win32FileSystem final : public IFileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  std::vector<std::string> ListFolder(const std::string& folder) const override;
  int CompareNoCase(const std::string& a, const std::string& b) const override;
  std::filesystem::path ToFsPath(const std::string& path) const override;

  static bool FolderExists(const std::string& path);
};

// The full path of the running executable, wide.
std::wstring ExecutablePath();

}  // namespace orves
