#include "player/window/FileSystem_win32.h"

#include <windows.h>

#include "player/core/TextConvert_win32.h"

namespace orves {

bool Win32FileSystem::FileExists(const std::string& path) const {
  if (path.empty()) {
    return false;
  }
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Win32FileSystem::ListFolder(const std::string& folder) const {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Utf8ToWide(folder + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
      names.push_back(WideToUtf8(found.cFileName));
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

int Win32FileSystem::CompareNoCase(const std::string& a, const std::string& b) const {
  const std::wstring wa = Utf8ToWide(a);
  const std::wstring wb = Utf8ToWide(b);
  const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                                    static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
  return result == 0 ? a.compare(b) : result - CSTR_EQUAL;
}

std::filesystem::path Win32FileSystem::ToFsPath(const std::string& path) const {
  return std::filesystem::path(Utf8ToWide(path));
}

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace orves
