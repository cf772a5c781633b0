#pragma once
// The file-system questions of the window area's portable rules (the
// playlist, the skin folder), answered by the platform: the Windows layer
// implements them with Win32 (FileSystem_win32.h), tests with fakes. Paths
// are UTF-8, so a name in any script survives.
#include <filesystem>
#include <string>
#include <vector>

namespace orves {

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  // Names (no folder) of the entries of `folder`, hidden and system ones left out.
  virtual std::vector<std::string> ListFolder(const std::string& folder) const = 0;
  // Case-insensitive comparison in the system's string order (<0, 0, >0).
  virtual int CompareNoCase(const std::string& a, const std::string& b) const = 0;
  // The same path as the file functions take it.
  virtual std::filesystem::path ToFsPath(const std::string& path) const = 0;
};

}  // namespace orves
