#pragma once
// The options dialog's maintenance buttons on the system: files through the
// file system, the recent-documents list through the registry interface,
// regsvr32 through the codec rules.
#include <filesystem>

#include "player/core/Registry.h"
#include "player/dialogs/ConfigMaintenance.h"
#include "player/shell/Codecs.h"

namespace orves {

// The current user's list of files chosen in the system's file dialogs.
inline constexpr const char* kRecentDocumentsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";

class TConfigMaintenance final : public IConfigMaintenance {
 public:
  TConfigMaintenance(IRegistry& registry, ICodecSystem& system, std::filesystem::path bookmarkFile)
      : registry_(registry), system_(system), bookmarkFile_(std::move(bookmarkFile)) {}

  void ClearBookmarks() override;
  void ClearRecentDocuments() override;
  void SetShellPreview(bool on) override;
  void RemoveCaptionCodecs() override;

 private:
  IRegistry& registry_;
  ICodecSystem& system_;
  std::filesystem::path bookmarkFile_;
};

}  // namespace orves
