#include "player/core/Registry_win32.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CLASSES_ROOT;
}

// An open key, closed when it goes out of scope.
class OpenKey {
 public:
  OpenKey(RegistryRoot root, const std::string& path, REGSAM access) {
    if (RegOpenKeyExW(RootKey(root), Utf8ToWide(path).c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  static OpenKey Create(RegistryRoot root, const std::string& path) {
    OpenKey k;
    if (RegCreateKeyExW(RootKey(root), Utf8ToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &k.key_, nullptr) != ERROR_SUCCESS) {
      k.key_ = nullptr;
    }
    return k;
  }
  OpenKey(OpenKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  OpenKey& operator=(OpenKey&&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  OpenKey() = default;
  HKEY key_ = nullptr;
};

}  // namespace

bool TSystemRegistry::KeyExists(RegistryRoot root, const std::string& key) const {
  return static_cast<bool>(OpenKey(root, key, KEY_READ));
}

std::optional<std::string> TSystemRegistry::ReadString(RegistryRoot root, const std::string& key,
                                                       const std::string& name) const {
  const OpenKey k(root, key, KEY_QUERY_VALUE);
  if (!k) {
    return std::nullopt;
  }
  const std::wstring wideName = Utf8ToWide(name);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(k.Get(), wideName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  // One character more than asked for: a stored string need not end in NUL.
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = bytes;
  if (RegQueryValueExW(k.Get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(std::min<size_t>(size / sizeof(wchar_t), text.size()));
  while (!text.empty() && text.back() == L'\0') {
    text.pop_back();
  }
  return WideToUtf8(text);
}

std::vector<std::string> TSystemRegistry::SubKeys(RegistryRoot root, const std::string& key) const {
  std::vector<std::string> names;
  const OpenKey k(root, key, KEY_ENUMERATE_SUB_KEYS);
  if (!k) {
    return names;
  }
  wchar_t name[256];  // the longest key name the registry allows is 255
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(std::size(name));
    const LONG result = RegEnumKeyExW(k.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) {
      break;
    }
    names.push_back(WideToUtf8(std::wstring_view(name, length)));
  }
  return names;
}

bool TSystemRegistry::IsEmptyKey(RegistryRoot root, const std::string& key) const {
  const OpenKey k(root, key, KEY_QUERY_VALUE);
  if (!k) {
    return false;
  }
  DWORD subKeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyW(k.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subKeys == 0 && values == 0;
}

bool TSystemRegistry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                  const std::string& value) {
  const OpenKey k = OpenKey::Create(root, key);
  if (!k) {
    return false;
  }
  const std::wstring wide = Utf8ToWide(value);
  const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(k.Get(), Utf8ToWide(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

bool TSystemRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
  const OpenKey k(root, key, KEY_SET_VALUE);
  return k && RegDeleteValueW(k.Get(), Utf8ToWide(name).c_str()) == ERROR_SUCCESS;
}

bool TSystemRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
  if (key.empty()) {
    return false;  // never the root itself
  }
  return RegDeleteTreeW(RootKey(root), Utf8ToWide(key).c_str()) == ERROR_SUCCESS;
}

}  // namespace orves
