#include "player/shell/MainConfig.h"

#include <algorithm>

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

// Every section the options dialog shows: its table, and where its owner is
// among the main window's objects. A section owned by a plain record of
// values names the object that acts on them.
template <class Visit>
void ForEachSection(Visit&& visit) {
  visit(
      TSetup::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.setup; });
  visit(
      MainSettings::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.main; });
  visit(
      TLayout::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.layout; });
  visit(
      TPlayList::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.playList; });
  visit(
      TMedia::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.media; });
  visit(
      TMovie::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.movie; });
  visit(
      TStateText::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.stateText; });
  visit(
      TCaptionSettings::SettingsKeys(), [](const MainConfigObjects& o) -> auto& { return o.captions; });
}

template <class Owner>
std::unique_ptr<ISettingsSection> SectionOf(const SettingsTable<Owner>& table, Owner& owner) {
  return MakeSettingsSection(table, owner);
}

std::unique_ptr<ISettingsSection> SectionOf(const SettingsTable<TCaptionSettings>& table,
                                            TCaptionView& view) {
  return MakeSettingsSection(table, view.Settings(), view);
}

const ExtensionGroup& GroupOf(LinkGroup group) { return ExtensionGroups()[static_cast<size_t>(group)]; }

}  // namespace

std::span<const DialogSetting> PlayerDialogSettings() {
  static const std::vector<DialogSetting> settings = [] {
    std::vector<DialogSetting> list;
    ForEachSection([&](const auto& table, auto) { AppendDialogSettings(table, list); });
    std::stable_sort(list.begin(), list.end(), [](const DialogSetting& a, const DialogSetting& b) {
      return a.control->applyOrder < b.control->applyOrder;
    });
    return list;
  }();
  return settings;
}

TMainConfigTarget::TMainConfigTarget(const MainConfigObjects& objects) : o_(objects) {
  ForEachSection(
      [this](const auto& table, auto ownerOf) { sections_.push_back(SectionOf(table, ownerOf(o_))); });
}

TMainConfigTarget::~TMainConfigTarget() = default;

ISettingsSection* TMainConfigTarget::Section(const std::string& name) const {
  for (const auto& section : sections_) {
    if (name == section->Name()) return section.get();
  }
  return nullptr;
}

ConfigValue TMainConfigTarget::Get(const std::string& section, const std::string& key) const {
  const ISettingsSection* owner = Section(section);
  return owner != nullptr ? owner->Get(key).value_or(0) : ConfigValue(0);
}

void TMainConfigTarget::Set(const std::string& section, const std::string& key, const ConfigValue& value) {
  if (ISettingsSection* owner = Section(section)) owner->Set(key, value);
}

void TMainConfigTarget::Command(const std::string& section, const std::string& key, int value) {
  if (ISettingsSection* owner = Section(section)) owner->Command(key, value);
}

void TMainConfigTarget::Toggle(const std::string& section, const std::string& key) {
  if (ISettingsSection* owner = Section(section)) owner->Toggle(key);
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
