#include "player/shell/MainConfig.h"

#include "player/captions/CaptionView.h"
#include "player/core/Associations.h"
#include "player/core/Setup.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/playback/StateText.h"
#include "player/shell/MainSettings.h"
#include "player/window/Layout.h"
#include "player/window/PlayList.h"

namespace orves {

namespace {

// Runs `f` with the table and the owner of `section`; false for a section
// the dialog does not show.
template <class F>
bool WithSection(const MainConfigObjects& o, const std::string& section, F&& f) {
  if (section == "Config") return f(TSetup::SettingsKeys(), o.setup);
  if (section == "Main") return f(MainSettings::SettingsKeys(), o.main);
  if (section == "Layout") return f(TLayout::SettingsKeys(), o.layout);
  if (section == "PlayList") return f(TPlayList::SettingsKeys(), o.playList);
  if (section == "Media") return f(TMedia::SettingsKeys(), o.media);
  if (section == "Movie") return f(TMovie::SettingsKeys(), o.movie);
  if (section == "StateText") return f(TStateText::SettingsKeys(), o.stateText);
  if (section == "OrveCaption") return f(TCaptionSettings::SettingsKeys(), o.captions.Settings());
  return false;
}

const ExtensionGroup& GroupOf(LinkGroup group) { return ExtensionGroups()[static_cast<size_t>(group)]; }

}  // namespace

ConfigValue TMainConfigTarget::Get(const std::string& section, const std::string& key) const {
  ConfigValue result = 0;
  WithSection(o_, section, [&](const auto& table, auto& owner) {
    if (auto value = GetSetting(table, owner, key)) result = *value;
    return true;
  });
  return result;
}

void TMainConfigTarget::Set(const std::string& section, const std::string& key, const ConfigValue& value) {
  WithSection(o_, section,
              [&](const auto& table, auto& owner) { return SetSetting(table, owner, key, value); });
}

void TMainConfigTarget::Command(const std::string& section, const std::string& key, int value) {
  if (section != "OrveCaption") return;
  if (key == "UpHeightRate") o_.captions.SetCaptionPosition(value);
  if (key == "HeightRate") o_.captions.SetCaptionSize(value);
  if (key == "OutLineRate") o_.captions.SetOutLineRate(value);
}

// The owner's toggle runs with its message; a flag it left as it was is
// turned all the same, so the box's value is what is kept.
void TMainConfigTarget::Toggle(const std::string& section, const std::string& key) {
  const ConfigValue before = Get(section, key);
  if (section == "PlayList" && key == "Enabled") o_.playList.TogglePanel();
  if (section == "PlayList" && key == "AutoSort") o_.playList.ToggleAutoSort();
  if (section == "Layout" && key == "AlwaysShowFullScreenBar") o_.layout.ToggleFullScreenBar();
  const int* was = std::get_if<int>(&before);
  if (was != nullptr && Get(section, key) == before) Set(section, key, *was != 0 ? 0 : 1);
}

void TMainConfigTarget::SetPicture(int brightness, int processing) {
  o_.movie.SetProcessing(processing);
  o_.movie.SetBrightness(brightness);
}

void TMainConfigTarget::RedrawCaption() { o_.captions.ForceRedraw(); }
double TMainConfigTarget::SyncOffset() const { return o_.captions.SyncOffset(); }
void TMainConfigTarget::SetSyncOffset(double seconds) { o_.captions.SetSyncOffset(seconds); }

bool TMainConfigTarget::IsAssociated(LinkGroup group) const {
  return IsGroupAssociated(o_.registry, GroupOf(group));
}
void TMainConfigTarget::Associate(LinkGroup group) { SetGroupAssociated(o_.registry, GroupOf(group), true); }
void TMainConfigTarget::Unassociate(LinkGroup group) {
  SetGroupAssociated(o_.registry, GroupOf(group), false);
}

void TMainConfigTarget::ResizeKeepingAspect() { o_.layout.ResizeKeepingAspect(); }

}  // namespace orves
