#include "player/core/SettingsFolder.h"

#include <system_error>

#include "player/core/Setup.h"

namespace orves {

namespace fs = std::filesystem;

namespace {

// A copied file keeps its read-only attribute, which would freeze every
// setting (the settings file's own rule); the copy is the user's to change.
void CopySettingsFile(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec) || fs::exists(to, ec)) {
    return;
  }
  if (fs::copy_file(from, to, ec)) {
    fs::permissions(to, fs::perms::owner_write, fs::perm_options::add, ec);
  }
}

}  // namespace

fs::path ChooseSettingsFolder(const fs::path& programFolder, const fs::path& appDataFolder,
                              const IFolderAccess& access) {
  if (access.CanCreateFiles(programFolder) || appDataFolder.empty()) {
    return programFolder;
  }
  const fs::path folder = appDataFolder / kSettingsFolderName;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    return programFolder;
  }
  CopySettingsFile(programFolder / TSetup::SettingsFileName, folder / TSetup::SettingsFileName);
  return folder;
}

}  // namespace orves
