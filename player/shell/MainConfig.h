#pragma once
// What the options dialog reads and drives, over the main window's
// long-lived objects: each section's settings through its owner's settings
// table, the owners' commands for the values that report themselves, and the
// extension groups' associations in the registry.
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

class TMainConfigTarget final : public IConfigTarget {
 public:
  explicit TMainConfigTarget(const MainConfigObjects& objects) : o_(objects) {}

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
  MainConfigObjects o_;
};

}  // namespace orves
