#pragma once
// The Windows answers for ChooseSettingsFolder: whether the folder's security
// lets this user create files in it, and the user's application-data folder.
#include <filesystem>

#include "player/core/SettingsFolder.h"

namespace orves {

class Win32FolderAccess final : public IFolderAccess {
 public:
  // Asks the folder's access-control list with the process's own token (a
  // limited token for a user whose administrator rights are not raised), and
  // refuses a folder on a read-only volume. It never writes to find out.
  bool CanCreateFiles(const std::filesystem::path& folder) const override;
};

// The roaming application-data folder of the user; empty when there is none.
std::filesystem::path UserAppDataFolder();

}  // namespace orves
