#include "player/shell/Setup.h"

#include <string>

namespace orves {

namespace {
constexpr const char* kConfig = "Config";
}

TSetup::TSetup(std::filesystem::path settingsFile) : file_(std::move(settingsFile)) {
  showTab = ReadFlag(kConfig, "ShowTab", true);
}

TSetup::~TSetup() { WriteFlag(kConfig, "ShowTab", showTab); }

std::string TSetup::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
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
