#include <gtest/gtest.h>

#include "player/core/Associations.h"
#include "tests/unit/core/MemoryRegistry.h"

namespace orves {
namespace {

constexpr RegistryRoot HKCR = RegistryRoot::ClassesRoot;
constexpr RegistryRoot HKLM = RegistryRoot::LocalMachine;

std::optional<std::string> Default(const IRegistry& r, const std::string& key) {
  return r.ReadString(HKCR, key, "");
}

TEST(Associations, GivingBackRestoresWhatTheExtensionHadBefore) {
  struct Case {
    const char* name;
    std::optional<std::string> before;  // (default) of .avi before the player
    bool otherValue;                    // another program's value in the key
    std::optional<std::string> after;   // (default) after associate twice + unassociate
    bool keyLeft;
  };
  const Case cases[] = {
      {"previous program", "aviplayer.file", false, "aviplayer.file", true},
      {"no association", std::nullopt, false, std::nullopt, false},
      {"empty default", "", false, std::nullopt, false},
      {"no default but another value", std::nullopt, true, std::nullopt, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::MemoryRegistry r;
    if (c.before) r.WriteString(HKCR, ".avi", "", *c.before);
    if (c.otherValue) r.WriteString(HKCR, ".avi", "Content Type", "video/avi");
    Associate(r, "avi");
    Associate(r, "avi");
    EXPECT_TRUE(IsAssociated(r, "avi"));
    EXPECT_EQ(r.ReadString(HKCR, ".avi", "orvemp.bak"), c.before.value_or(""));
    Unassociate(r, "avi");
    EXPECT_EQ(Default(r, ".avi"), c.after);
    EXPECT_EQ(r.KeyExists(HKCR, ".avi"), c.keyLeft);
    EXPECT_FALSE(r.ReadString(HKCR, ".avi", "orvemp.bak"));
    if (c.otherValue) {
      EXPECT_EQ(r.ReadString(HKCR, ".avi", "Content Type"), "video/avi");
    }
  }
}

TEST(Associations, ReadingAndGivingBackLeaveOtherProgramsAlone) {
  test::MemoryRegistry r;
  EXPECT_FALSE(IsAssociated(r, "mpg"));
  EXPECT_FALSE(r.KeyExists(HKCR, ".mpg"));  // looking never creates the key

  r.WriteString(HKCR, ".wmv", "", "other.wmv");
  r.WriteString(HKCR, ".wmv", "orvemp.bak", "older.wmv");
  Unassociate(r, "wmv");
  EXPECT_EQ(Default(r, ".wmv"), "other.wmv");

  // Another program took .list after the player: uninstalling keeps it.
  AssociateList(r);
  r.WriteString(HKCR, ".list", "", "other.list");
  RemoveRegistration(r, /*restore=*/true);
  EXPECT_EQ(Default(r, ".list"), "other.list");
}

TEST(Associations, AssociatingForgetsTheShellsPerUserChoice) {
  test::MemoryRegistry r;
  const std::string choice = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.avi";
  r.WriteString(RegistryRoot::CurrentUser, choice, "Application", "other.exe");
  r.WriteString(RegistryRoot::CurrentUser, choice, "Other", "kept");
  Associate(r, "avi");
  EXPECT_FALSE(r.ReadString(RegistryRoot::CurrentUser, choice, "Application"));
  EXPECT_EQ(r.ReadString(RegistryRoot::CurrentUser, choice, "Other"), "kept");
}

TEST(Associations, GroupsAreJudgedByTheirFirstMemberAndSetAsAWhole) {
  test::MemoryRegistry r;
  const ExtensionGroup* asx = FindExtensionGroup("asx");
  ASSERT_NE(asx, nullptr);
  Associate(r, "wmv");
  EXPECT_FALSE(IsGroupAssociated(r, *asx));
  SetGroupAssociated(r, *asx, true);
  for (const char* ext : {"asx", "asf", "wm", "wmv", "wmx"}) EXPECT_TRUE(IsAssociated(r, ext)) << ext;
  EXPECT_FALSE(IsAssociated(r, "mpg"));
  SetGroupAssociated(r, *asx, false);
  for (const char* ext : {"asx", "asf", "wm", "wmv", "wmx"})
    EXPECT_FALSE(r.KeyExists(HKCR, "." + std::string(ext)));
  EXPECT_EQ(FindExtensionGroup("list"), nullptr);
}

TEST(Associations, InstallWritesTheFileTypesAndTakesOnlyAviAndList) {
  test::MemoryRegistry r;
  r.WriteString(HKCR, ".mpg", "", "mpgplayer.file");
  RegisterFileTypes(r, "C:\\Program Files\\Orve");
  EXPECT_EQ(Default(r, "orvemp"), "Orve's MP");
  EXPECT_EQ(Default(r, "orvemp.list"), "Orve's MP List");
  EXPECT_EQ(Default(r, "orvemp\\DefaultIcon"), "C:\\Program Files\\Orve\\OrvesMP.ico");
  EXPECT_EQ(Default(r, "orvemp.list\\DefaultIcon"), "C:\\Program Files\\Orve\\OrvesMP_List.ico");
  for (const char* progId : {"orvemp", "orvemp.list"}) {
    EXPECT_EQ(Default(r, std::string(progId) + "\\Shell\\Open\\Command"),
              "\"C:\\Program Files\\Orve\\OrvesMP.exe\" \"%L\"");
  }
  EXPECT_EQ(Default(r, ".avi"), "orvemp");
  EXPECT_EQ(Default(r, ".list"), "orvemp.list");
  EXPECT_EQ(Default(r, ".mpg"), "mpgplayer.file");

  RemoveRegistration(r, /*restore=*/true);
  EXPECT_FALSE(r.KeyExists(HKCR, "orvemp"));
  EXPECT_FALSE(r.KeyExists(HKCR, "orvemp.list"));
  EXPECT_FALSE(r.KeyExists(HKCR, ".avi"));
  EXPECT_FALSE(r.KeyExists(HKCR, ".list"));
  EXPECT_EQ(Default(r, ".mpg"), "mpgplayer.file");
}

TEST(Associations, RemovalDropsOnlyOldVersionsUninstallEntries) {
  test::MemoryRegistry r;
  const std::string uninstall = kUninstallKey;
  const struct {
    const char* name;
    bool dropped;
  } entries[] = {{"Orve's MP 2.0", true},  {"Orve's MP", true}, {"Orve's MP_is1", false},
                 {"Orve's XP 1.0", false}, {"Orve's M", false}, {"Other Player", false}};
  for (const auto& e : entries) r.WriteString(HKLM, uninstall + "\\" + e.name, "DisplayName", e.name);
  RemoveRegistration(r, /*restore=*/false);
  for (const auto& e : entries) EXPECT_EQ(r.KeyExists(HKLM, uninstall + "\\" + e.name), !e.dropped) << e.name;
}

TEST(Associations, ARefusedMachineWideListStillGivesTheExtensionsBack) {
  test::MemoryRegistry r;
  r.WriteString(HKCR, ".avi", "", "aviplayer.file");
  RegisterFileTypes(r, "C:\\Orve");
  r.WriteString(HKLM, std::string(kUninstallKey) + "\\Orve's MP 1.0", "", "");
  r.Refuse(HKLM, kUninstallKey);
  RemoveRegistration(r, /*restore=*/true);
  EXPECT_EQ(Default(r, ".avi"), "aviplayer.file");
  EXPECT_FALSE(r.KeyExists(HKCR, "orvemp"));
}

}  // namespace
}  // namespace orves
