// The sound processor's settings in the registry under HKEY_LOCAL_MACHINE
// (Windows only). Each read and write opens and closes its key.
#pragma once

#include "soundproc/contract/SettingsStore.h"

namespace zmsp {

class RegistrySettingsStore final : public SettingsStore {
 public:
  bool ReadDword(const std::string& keyPath, const std::string& valueName,
                 std::uint32_t& value) const override;
  bool WriteString(const std::string& keyPath, const std::string& valueName,
                   const std::string& text) override;
};

}  // namespace zmsp
