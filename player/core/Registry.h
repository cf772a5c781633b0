#pragma once
// IRegistry: the few registry operations the player's system integration
// needs, one call per whole step (each opens, works and closes its key), so
// the rules above it run against an in-memory registry in tests and against
// the system's registry on Windows. Key paths use backslashes and are
// case-insensitive, as in the system's registry; texts are UTF-8; the empty
// value name stands for a key's (default) value.
#include <optional>
#include <string>
#include <vector>

namespace orves {

enum class RegistryRoot {
  ClassesRoot,   // HKCR
  CurrentUser,   // HKCU
  LocalMachine,  // HKLM
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // Opens without creating: a missing key is simply not there.
  virtual bool KeyExists(RegistryRoot root, const std::string& key) const = 0;
  // No value when the key or the value is missing or is not a string.
  virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                                const std::string& name) const = 0;
  // The names of the key's direct subkeys; empty when the key is missing.
  virtual std::vector<std::string> SubKeys(RegistryRoot root, const std::string& key) const = 0;
  // True when the key exists and holds neither values nor subkeys.
  virtual bool IsEmptyKey(RegistryRoot root, const std::string& key) const = 0;

  // Writing creates the key and its parents. Every change reports whether it
  // took place; a refused change (rights) returns false and changes nothing.
  virtual bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& value) = 0;
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key with everything below it.
  virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
};

}  // namespace orves
