#pragma once
// What the options dialog reads and drives, over the main window's
// long-lived objects: each section's settings through a lookup of the
// section's owner (its settings table bound to the object), the owners'
// commands for the values that report themselves, and the extension groups'
// associations in the registry.
#include <memory>
#include <span>
#include <vector>

#include "player/dialogs/ConfigModel.h"

namespace orves {

class IRegistry;
class TCaptionView;
class TLayout;
class TMedia;
class TMovie;
class TPlayList;
class TSetup;
class TStateText;
struct MainSettings;

struct MainConfigObjects {
  TSetup& setup;
  MainSettings& main;
  TPlayList& playList;
  TLayout& layout;
  TCaptionView& captions;
  TMedia& media;
  TMovie& movie;
  TStateText& stateText;
  IRegistry& registry;
};

// Every setting the options dialog shows, from the player's settings tables,
// in the dialog's apply order.
std::span<const DialogSetting> PlayerDialogSettings();

class TMainConfigTarget final : public IConfigTarget {
 public:
  explicit TMainConfigTarget(const MainConfigObjects& objects);
  ~TMainConfigTarget() override;

  std::span<const DialogSetting> Settings() const override { return PlayerDialogSettings(); }
  ConfigValue Get(const std::string& section, const std::string& key) const override;
  void Set(const std::string& section, const std::string& key, const ConfigValue& value) override;
  void Command(const std::string& section, const std::string& key, int value) override;
  void Toggle(const std::string& section, const std::string& key) override;
  void SetPicture(int brightness, int processing) override;
  void RedrawCaption() override;
  double SyncOffset() const override;
  void SetSyncOffset(double seconds) override;
  bool IsAssociated(LinkGroup group) const override;
  void Associate(LinkGroup group) override;
  void Unassociate(LinkGroup group) override;
  void ResizeKeepingAspect() override;

 private:
  ISettingsSection* Section(const std::string& name) const;

  MainConfigObjects o_;
  std::vector<std::unique_ptr<ISettingsSection>> sections_;
};

}  // namespace orves
