#pragma once
// The player's file types in the registry: the ProgIDs "orvemp" (movies) and
// "orvemp.list" (playlists), the association of each extension with them, and
// the backup value "orvemp.bak" that keeps what an extension had before, so
// that giving an extension back restores the previous program and leaves
// every other program's values where they are.
//
// Extensions are passed without the dot ("avi", "list").
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "player/core/Registry.h"

namespace orves {

inline constexpr const char* kMovieProgId = "orvemp";
inline constexpr const char* kListProgId = "orvemp.list";
inline constexpr const char* kBackupValue = "orvemp.bak";
inline constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* kInstallerEntry = "Orve's MP_is1";

// The movie extensions of the association boxes (MediaFileGroups), in the
// order they are given back.
const std::vector<std::string>& MovieExtensions();

// The options dialog's association boxes; each group is judged by its first
// member.
struct ExtensionGroup {
  const char* name;  // "avi", "asx", "mpeg", "dat", "divx", "vob", "ogm", "mp4", ...
  std::vector<std::string> extensions;
};
const std::vector<ExtensionGroup>& ExtensionGroups();
// The group called `name`; nullptr for another name.
const ExtensionGroup* FindExtensionGroup(std::string_view name);

// True when HKCR\.ext's (default) is "orvemp". Never creates the key.
bool IsAssociated(const IRegistry& registry, std::string_view ext);
// Takes ext for the player: forgets the shell's per-user choice, keeps the
// previous (default) in "orvemp.bak" (only the first time: associating twice
// keeps the first backup) and writes "orvemp".
void Associate(IRegistry& registry, std::string_view ext);
// Gives ext back when the player owns it: the backup becomes the (default)
// again; with an empty backup the player's (default) and backup go, and the
// key itself only when nothing else is left in it.
void Unassociate(IRegistry& registry, std::string_view ext);

// A whole group, judged by and applied to every member.
bool IsGroupAssociated(const IRegistry& registry, const ExtensionGroup& group);
void SetGroupAssociated(IRegistry& registry, const ExtensionGroup& group, bool associated);

// As Associate / Unassociate for ".list" with "orvemp.list".
void AssociateList(IRegistry& registry);
void UnassociateList(IRegistry& registry);

// Writes the two ProgIDs (name, icon, open command) for the program in
// `programFolder` (no trailing backslash), then takes ".list" and ".avi".
void RegisterFileTypes(IRegistry& registry, const std::string& programFolder);

// Drops the two ProgIDs and the uninstall entries older versions left
// ("Orve" + three characters + "MP...", never the installer's own
// "Orve's MP_is1"); with `restore` gives every movie extension and ".list"
// back.
void RemoveRegistration(IRegistry& registry, bool restore);

// True for an uninstall subkey an older version of the player left behind.
bool IsStaleUninstallEntry(std::string_view subKey);

}  // namespace orves
