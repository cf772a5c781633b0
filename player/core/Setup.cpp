#include "player/core/Setup.h"

#include <string>

#include "player/core/SettingsTable.h"

namespace orves {

const SettingsTable<TSetup>& TSetup::SettingsKeys() {
  static constexpr SettingKey<TSetup> keys[] = {
      FlagKey("ShowTab", &TSetup::showTab, true)
          .Shown(Check("chkShowTab", "자세한 설정을 하기 위해서는 이곳을 체크하세요",
                       {kPagePresets, 12, 240, 400, 20}, 101)
                     .KeptByReset()),
  };
  static constexpr SettingsTable<TSetup> table("Config", keys);
  return table;
}

TSetup::TSetup(std::filesystem::path settingsFile) : file_(std::move(settingsFile)) {
  SettingsKeys().Read(*this, *this);
}

TSetup::~TSetup() { SettingsKeys().Write(*this, *this); }

std::string TSetup::ReadString(const std::string& section, const std::string& key,
                               const std::string& def) const {
  return file_.ReadString(section, key, def);
}

// A value that is present but not a decimal 32-bit integer reads as the default.
int32_t TSetup::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  const std::string text = file_.ReadString(section, key, std::to_string(def));
  return ParseProfileInteger(text).value_or(def);
}

void TSetup::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  file_.WriteString(section, key, value);
}

void TSetup::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

}  // namespace orves
