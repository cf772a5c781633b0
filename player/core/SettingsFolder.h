#pragma once
// Where the player keeps the files it writes: the settings file, the
// bookmarks and the default playlist. They stay beside the program when its
// folder can be written (portable use, as every existing user has them), and
// move to the user's application-data folder, under "OrvesMP" with the same
// names, when it cannot (an installation under Program Files). Decided once,
// at start-up.
#include <filesystem>

namespace orves {

inline constexpr const char* kSettingsFolderName = "OrvesMP";

// What the decision asks of the platform.
class IFolderAccess {
 public:
  virtual ~IFolderAccess() = default;
  // Whether the current user may create files in `folder`.
  virtual bool CanCreateFiles(const std::filesystem::path& folder) const = 0;
};

// The folder of the player's own files. When it is the application-data one,
// it is created if need be, and on its first use a settings file beside the
// program is copied into it (writable), so an administrator's defaults carry
// over. With no application-data folder, or one that cannot be made, the
// program folder is kept: its files can still be read.
std::filesystem::path ChooseSettingsFolder(const std::filesystem::path& programFolder,
                                           const std::filesystem::path& appDataFolder,
                                           const IFolderAccess& access);

}  // namespace orves
