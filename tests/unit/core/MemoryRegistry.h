#pragma once
// An in-memory registry for the registry rules' tests: keys by full path
// (case-insensitive, as the system's), string values by name, and a list of
// keys whose changes are refused, to stand for a restricted account.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "player/core/Registry.h"

namespace orves::test {

class MemoryRegistry final : public IRegistry {
 public:
  bool KeyExists(RegistryRoot root, const std::string& key) const override {
    return keys_.count(Full(root, key)) != 0;
  }
  std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                        const std::string& name) const override {
    const auto k = keys_.find(Full(root, key));
    if (k == keys_.end()) {
      return std::nullopt;
    }
    const auto v = k->second.find(Lower(name));
    return v == k->second.end() ? std::nullopt : std::optional(v->second);
  }
  std::vector<std::string> SubKeys(RegistryRoot root, const std::string& key) const override {
    std::vector<std::string> names;
    const std::string prefix = Full(root, key) + "\\";
    for (const auto& [path, values] : keys_) {
      if (path.rfind(prefix, 0) == 0 && path.find('\\', prefix.size()) == std::string::npos) {
        names.push_back(spelling_.at(path).substr(spelling_.at(path).rfind('\\') + 1));
      }
    }
    return names;
  }
  bool IsEmptyKey(RegistryRoot root, const std::string& key) const override {
    const auto k = keys_.find(Full(root, key));
    return k != keys_.end() && k->second.empty() && SubKeys(root, key).empty();
  }
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override {
    if (Refused(root, key)) {
      return false;
    }
    std::string path;
    for (size_t at = 0; at != std::string::npos;) {
      at = key.find('\\', at + 1);
      path = Full(root, key.substr(0, at));
      keys_[path];
      spelling_.emplace(path, key.substr(0, at));
    }
    keys_[Full(root, key)][Lower(name)] = value;
    return true;
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    const auto k = keys_.find(Full(root, key));
    return !Refused(root, key) && k != keys_.end() && k->second.erase(Lower(name)) != 0;
  }
  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    const std::string full = Full(root, key);
    if (Refused(root, key) || keys_.count(full) == 0) {
      return false;
    }
    std::erase_if(keys_, [&](const auto& entry) {
      return entry.first == full || entry.first.rfind(full + "\\", 0) == 0;
    });
    return true;
  }

  void Refuse(RegistryRoot root, const std::string& key) { refused_.insert(Full(root, key)); }

 private:
  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  }
  static std::string Full(RegistryRoot root, const std::string& key) {
    return std::to_string(static_cast<int>(root)) + ":" + Lower(key);
  }
  bool Refused(RegistryRoot root, const std::string& key) const {
    const std::string full = Full(root, key);
    return std::any_of(refused_.begin(), refused_.end(),
                       [&](const std::string& r) { return full == r || full.rfind(r + "\\", 0) == 0; });
  }

  std::map<std::string, std::map<std::string, std::string>> keys_;
  std::map<std::string, std::string> spelling_;  // path as first written
  std::set<std::string> refused_;
};

}  // namespace orves::test
