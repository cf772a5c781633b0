#include "soundproc/frame/server/RegistrySettingsStore.h"

#include <windows.h>

namespace zmsp {

namespace {

// Key and value names are ASCII; text values are in the ANSI code page.
std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

bool RegistrySettingsStore::ReadDword(const std::string& keyPath, const std::string& valueName,
                                      std::uint32_t& value) const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(keyPath, CP_ACP).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof(data);
  const LONG result = RegQueryValueExW(key, Widen(valueName, CP_ACP).c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) return false;
  value = data;
  return true;
}

bool RegistrySettingsStore::WriteString(const std::string& keyPath, const std::string& valueName,
                                        const std::string& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Widen(keyPath, CP_ACP).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring wide = Widen(text, CP_ACP);
  const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  const LONG result = RegSetValueExW(key, Widen(valueName, CP_ACP).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace zmsp
