#include "player/core/SettingsFolder_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace orves {

namespace {

class Handle {
 public:
  Handle() = default;
  ~Handle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE* Out() { return &handle_; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

bool OnReadOnlyVolume(const std::wstring& folder) {
  wchar_t root[MAX_PATH] = {};
  DWORD flags = 0;
  return GetVolumePathNameW(folder.c_str(), root, MAX_PATH) &&
         GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
         (flags & FILE_READ_ONLY_VOLUME) != 0;
}

bool SecurityAllows(const std::wstring& folder, DWORD access) {
  const SECURITY_INFORMATION parts =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  GetFileSecurityW(folder.c_str(), parts, nullptr, 0, &size);
  if (size == 0) return false;  // no such folder, or its security cannot be read
  std::vector<BYTE> descriptor(size);
  if (!GetFileSecurityW(folder.c_str(), parts, descriptor.data(), size, &size)) return false;

  Handle process;
  Handle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, process.Out()) ||
      !DuplicateToken(process.Get(), SecurityImpersonation, token.Out())) {
    return false;
  }
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
  MapGenericMask(&access, &mapping);
  PRIVILEGE_SET privileges{};
  DWORD privilegesSize = sizeof(privileges);
  DWORD granted = 0;
  BOOL allowed = FALSE;
  return AccessCheck(descriptor.data(), token.Get(), access, &mapping, &privileges, &privilegesSize, &granted,
                     &allowed) &&
         allowed;
}

}  // namespace

bool Win32FolderAccess::CanCreateFiles(const std::filesystem::path& folder) const {
  const std::wstring path = folder.wstring();
  return SecurityAllows(path, FILE_ADD_FILE) && !OnReadOnlyVolume(path);
}

std::filesystem::path UserAppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return std::filesystem::path(path);
}

}  // namespace orves
