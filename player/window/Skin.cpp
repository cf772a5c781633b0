#include "player/window/Skin.h"

#include <algorithm>

#include "player/core/SettingsTable.h"

namespace orves {

const SettingsTable<TSkin>& TSkin::SettingsKeys() {
  static constexpr SettingKey<TSkin> keys[] = {
      TextKey("Name", &TSkin::storedName_, kDefaultName),
  };
  static constexpr SettingsTable<TSkin> table("Skin", keys);
  return table;
}

TSkin::TSkin(TSetup& setup, const IFileSystem& files, std::string skinFolder)
    : setup_(setup), files_(files), skinFolder_(std::move(skinFolder)) {
  SettingsKeys().Read(setup_, *this);
}

// The name written back is the one in use; with no skin loaded (a start that
// ended before the skin was loaded) the stored name is kept as it was.
TSkin::~TSkin() {
  if (!name_.empty()) storedName_ = name_;
  SettingsKeys().Write(setup_, *this);
}

void TSkin::LoadSkinFromSettings() { LoadSkin(storedName_); }

void TSkin::LoadSkin(const std::string& name) { name_ = name; }

const TBarArea* TSkin::FindBarArea(const std::string& name) const {
  for (const TBarArea& bar : barAreas_) {
    if (bar.name == name) return &bar;
  }
  return nullptr;
}

std::vector<std::string> TSkin::SkinNames() const {
  std::vector<std::string> names = files_.ListFolder(skinFolder_);
  std::erase_if(names, [](const std::string& n) { return n == "." || n == ".."; });
  std::sort(names.begin(), names.end(),
            [this](const std::string& a, const std::string& b) { return files_.CompareNoCase(a, b) < 0; });
  return names;
}

}  // namespace orves
