#pragma once
// The system's registry behind IRegistry (wide calls, 64-bit view of the
// process). Every call opens, works and closes its key.
#include "player/core/Registry.h"

namespace orves {

class TSystemRegistry final : public IRegistry {
 public:
  bool KeyExists(RegistryRoot root, const std::string& key) const override;
  std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                        const std::string& name) const override;
  std::vector<std::string> SubKeys(RegistryRoot root, const std::string& key) const override;
  bool IsEmptyKey(RegistryRoot root, const std::string& key) const override;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;
};

}  // namespace orves
