#include "player/window/Skin.h"

#include "player/shell/Setup.h"

namespace orves {

namespace {
constexpr const char* kSection = "Skin";
constexpr const char* kNameKey = "Name";
}  // namespace

TSkin::TSkin(TSetup& setup) : setup_(setup) {}

// The name written back is the one in use; with no skin loaded (a start that
// ended before the skin was loaded) the stored name is kept as it was.
TSkin::~TSkin() {
  const std::string name = name_.empty() ? setup_.ReadString(kSection, kNameKey, kDefaultName) : name_;
  setup_.WriteString(kSection, kNameKey, name);
}

void TSkin::LoadSkinFromSettings() { LoadSkin(setup_.ReadString(kSection, kNameKey, kDefaultName)); }

void TSkin::LoadSkin(const std::string& name) { name_ = name; }

}  // namespace orves
