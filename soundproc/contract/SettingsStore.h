// Where the sound processor's settings live: behind this small interface,
// the registry under HKEY_LOCAL_MACHINE on Windows (RegistrySettingsStore),
// an in-memory store natively and in zmsp-process.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zmsp {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // True only when the value exists, is a REG_DWORD and is exactly 4 bytes.
  virtual bool ReadDword(const std::string& keyPath, const std::string& valueName,
                         std::uint32_t& value) const = 0;

  // Creates the key when needed and writes `text` (ANSI) as REG_SZ.
  virtual bool WriteString(const std::string& keyPath, const std::string& valueName,
                           const std::string& text) = 0;
};

// Values with their registry type and raw bytes, so that wrong types and
// sizes behave as they do in the registry. Safe to use from two threads.
class MemorySettingsStore final : public SettingsStore {
 public:
  static constexpr std::uint32_t kRegSz = 1;
  static constexpr std::uint32_t kRegBinary = 3;
  static constexpr std::uint32_t kRegDword = 4;

  void SetDword(const std::string& keyPath, const std::string& valueName, std::uint32_t value) {
    std::vector<std::uint8_t> bytes(4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    SetRaw(keyPath, valueName, kRegDword, std::move(bytes));
  }

  void SetRaw(const std::string& keyPath, const std::string& valueName, std::uint32_t type,
              std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    values_[{keyPath, valueName}] = Value{type, std::move(bytes)};
  }

  void Remove(const std::string& keyPath, const std::string& valueName) {
    std::lock_guard lock(mutex_);
    values_.erase({keyPath, valueName});
  }

  // The text of a REG_SZ value without its terminating zero; false when absent.
  bool ReadString(const std::string& keyPath, const std::string& valueName, std::string& text) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find({keyPath, valueName});
    if (found == values_.end() || found->second.type != kRegSz) return false;
    const auto& bytes = found->second.bytes;
    std::size_t length = bytes.size();
    while (length > 0 && bytes[length - 1] == 0) --length;
    text.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    return true;
  }

  bool ReadDword(const std::string& keyPath, const std::string& valueName,
                 std::uint32_t& value) const override {
    std::lock_guard lock(mutex_);
    auto found = values_.find({keyPath, valueName});
    if (found == values_.end() || found->second.type != kRegDword || found->second.bytes.size() != 4)
      return false;
    const auto& b = found->second.bytes;
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
  }

  bool WriteString(const std::string& keyPath, const std::string& valueName,
                   const std::string& text) override {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    SetRaw(keyPath, valueName, kRegSz, std::move(bytes));
    return true;
  }

 private:
  struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
  };
  mutable std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, Value> values_;
};

namespace detail {
inline SettingsStore*& InstalledSettingsStore() {
  static SettingsStore* store = nullptr;
  return store;
}
}  // namespace detail

// The store the filter and its stages read. The Windows server installs the
// registry store when it loads; without one, a process-wide in-memory store.
inline SettingsStore& CurrentSettingsStore() {
  static MemorySettingsStore fallback;
  SettingsStore* installed = detail::InstalledSettingsStore();
  return installed != nullptr ? *installed : fallback;
}

// Installs `store` (not owned; null goes back to the in-memory fallback).
inline void InstallSettingsStore(SettingsStore* store) { detail::InstalledSettingsStore() = store; }

}  // namespace zmsp
