#include "player/core/Associations.h"

#include "player/core/MediaFileTypes.h"

namespace orves {

namespace {

constexpr RegistryRoot HKCR = RegistryRoot::ClassesRoot;
constexpr const char* kShellChoiceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.";
constexpr const char* kShellChoiceValue = "Application";
constexpr const char* kDefault = "";

std::string ExtensionKey(std::string_view ext) {
  std::string key(1, '.');
  key.append(ext);
  return key;
}

std::string DefaultOf(const IRegistry& registry, const std::string& key) {
  return registry.ReadString(HKCR, key, kDefault).value_or("");
}

void TakeExtension(IRegistry& registry, std::string_view ext, const std::string& progId) {
  registry.DeleteValue(RegistryRoot::CurrentUser, kShellChoiceKey + std::string(ext), kShellChoiceValue);
  const std::string key = ExtensionKey(ext);
  const std::string previous = DefaultOf(registry, key);
  if (previous == progId) {
    return;
  }
  // The backup goes first: should the second write be refused, the
  // extension still has its old program and a harmless backup of it.
  if (registry.WriteString(HKCR, key, kBackupValue, previous)) {
    registry.WriteString(HKCR, key, kDefault, progId);
  }
}

// Gives ext back only while `progId` still owns it: a (default) another
// program has written since stays, and so does everything else in the key.
void GiveBackExtension(IRegistry& registry, std::string_view ext, const std::string& progId) {
  const std::string key = ExtensionKey(ext);
  if (DefaultOf(registry, key) != progId) {
    return;
  }
  const std::string backup = registry.ReadString(HKCR, key, kBackupValue).value_or("");
  if (backup.empty() || backup == progId) {
    registry.DeleteValue(HKCR, key, kDefault);
    registry.DeleteValue(HKCR, key, kBackupValue);
    if (registry.IsEmptyKey(HKCR, key)) {
      registry.DeleteKey(HKCR, key);
    }
    return;
  }
  if (registry.WriteString(HKCR, key, kDefault, backup)) {
    registry.DeleteValue(HKCR, key, kBackupValue);
  }
}

void WriteProgId(IRegistry& registry, const std::string& progId, const std::string& description,
                 const std::string& icon, const std::string& command) {
  registry.WriteString(HKCR, progId, kDefault, description);
  registry.WriteString(HKCR, progId + "\\DefaultIcon", kDefault, icon);
  registry.WriteString(HKCR, progId + "\\Shell\\Open\\Command", kDefault, command);
}

}  // namespace

const std::vector<std::string>& MovieExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::vector<std::string> all;
    for (const ExtensionGroup& group : ExtensionGroups())
      all.insert(all.end(), group.extensions.begin(), group.extensions.end());
    return all;
  }();
  return extensions;
}

const std::vector<ExtensionGroup>& ExtensionGroups() {
  static const std::vector<ExtensionGroup> groups = [] {
    std::vector<ExtensionGroup> linked;
    for (const MediaFileGroup* group : LinkGroups()) {
      linked.push_back({group->name, {group->extensions.begin(), group->extensions.end()}});
    }
    return linked;
  }();
  return groups;
}

const ExtensionGroup* FindExtensionGroup(std::string_view name) {
  for (const ExtensionGroup& group : ExtensionGroups()) {
    if (name == group.name) {
      return &group;
    }
  }
  return nullptr;
}

bool IsAssociated(const IRegistry& registry, std::string_view ext) {
  return DefaultOf(registry, ExtensionKey(ext)) == kMovieProgId;
}

void Associate(IRegistry& registry, std::string_view ext) { TakeExtension(registry, ext, kMovieProgId); }

void Unassociate(IRegistry& registry, std::string_view ext) {
  GiveBackExtension(registry, ext, kMovieProgId);
}

bool IsGroupAssociated(const IRegistry& registry, const ExtensionGroup& group) {
  return IsAssociated(registry, group.extensions.front());
}

void SetGroupAssociated(IRegistry& registry, const ExtensionGroup& group, bool associated) {
  for (const std::string& ext : group.extensions) {
    if (associated) {
      Associate(registry, ext);
    } else {
      Unassociate(registry, ext);
    }
  }
}

void AssociateList(IRegistry& registry) { TakeExtension(registry, "list", kListProgId); }

void UnassociateList(IRegistry& registry) { GiveBackExtension(registry, "list", kListProgId); }

void RegisterFileTypes(IRegistry& registry, const std::string& programFolder) {
  // The program's path in quotes: a folder with a blank in its name must not
  // be split into a program and arguments.
  const std::string command = "\"" + programFolder + "\\OrvesMP.exe\" \"%L\"";
  WriteProgId(registry, kMovieProgId, "Orve's MP", programFolder + "\\OrvesMP.ico", command);
  WriteProgId(registry, kListProgId, "Orve's MP List", programFolder + "\\OrvesMP_List.ico", command);
  AssociateList(registry);
  Associate(registry, "avi");
}

bool IsStaleUninstallEntry(std::string_view subKey) {
  return subKey.size() >= 9 && subKey.substr(0, 4) == "Orve" && subKey.substr(7, 2) == "MP" &&
         subKey != kInstallerEntry;
}

void RemoveRegistration(IRegistry& registry, bool restore) {
  registry.DeleteKey(HKCR, kMovieProgId);
  registry.DeleteKey(HKCR, kListProgId);
  for (const std::string& subKey : registry.SubKeys(RegistryRoot::LocalMachine, kUninstallKey)) {
    if (IsStaleUninstallEntry(subKey)) {
      registry.DeleteKey(RegistryRoot::LocalMachine, std::string(kUninstallKey) + "\\" + subKey);
    }
  }
  if (!restore) {
    return;
  }
  for (const std::string& ext : MovieExtensions()) {
    Unassociate(registry, ext);
  }
  UnassociateList(registry);
}

}  // namespace orves
