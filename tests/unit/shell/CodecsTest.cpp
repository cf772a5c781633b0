#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "player/shell/Codecs.h"
#include "player/shell/ConfigMaintenance.h"
#include "tests/unit/core/MemoryRegistry.h"

namespace orves {
namespace {

// Records what the rules ask of the system, with whether each regsvr32 run
// had ended when the next step came.
class RecordingSystem final : public ICodecSystem {
 public:
  void RunRegsvr32(const std::string& parameters, bool waitForEnd) override {
    steps.push_back("regsvr32 " + parameters + (waitForEnd ? " (ended)" : " (running)"));
  }
  std::string SystemFolder() const override { return "C:\\Windows\\System32"; }
  void RemoveFile(const std::string& path) override { steps.push_back("delete " + path); }
  std::vector<std::string> steps;
};

TEST(Codecs, EachFileIsDeletedOnlyAfterItsUnregistrationHasEnded) {
  RecordingSystem system;
  RemoveCodecs(system);
  ASSERT_EQ(system.steps.size(), 2 * CodecFiles().size());
  for (size_t i = 0; i < CodecFiles().size(); ++i) {
    const std::string& file = CodecFiles()[i];
    EXPECT_EQ(system.steps[2 * i], "regsvr32 " + file + " /u /s (ended)");
    EXPECT_EQ(system.steps[2 * i + 1], "delete C:\\Windows\\System32\\" + file);
  }
  EXPECT_EQ(CodecFiles().back(), "ZMSoundProcessor.ax");
  EXPECT_EQ(CodecFiles().end()[-2], "OrvesCodecs.ax");  // our decoders before the sound processor

  RecordingSystem installing;
  InstallCodecs(installing);
  EXPECT_EQ(installing.steps.size(), CodecFiles().size());
  EXPECT_EQ(installing.steps.front(), "regsvr32 divxdec.ax /s (running)");
}

TEST(Codecs, CaptionCodecsAreFoundByClassAndUnregisteredByTheirRegisteredFile) {
  const std::string vobsub = "CLSID\\{0180E49C-13BF-46DB-9AFD-9F52292E1C22}";
  const std::string g400 = "CLSID\\{37D5AC6C-DB82-4D83-8A70-B8FF0F1CB7C9}";
  const struct {
    const char* name;
    std::optional<std::string> vobsubServer;  // InprocServer32 (default), if registered
    std::optional<std::string> g400Server;
    bool found;
    std::vector<std::string> runs;
  } cases[] = {
      {"neither", std::nullopt, std::nullopt, false, {}},
      {"only the second",
       std::nullopt,
       "D:\\Codecs\\divxg400.ax",
       true,
       {"\"C:\\Sys\\dvobsub.ax\" /u /s", "\"D:\\Codecs\\divxg400.ax\" /u /s"}},
      {"both, one quoted",
       "\"C:\\Program Files\\VobSub\\dvobsub.ax\"",
       "",
       true,
       {"\"C:\\Program Files\\VobSub\\dvobsub.ax\" /u /s", "\"C:\\Sys\\divxg400.ax\" /u /s"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::MemoryRegistry r;
    r.WriteString(RegistryRoot::ClassesRoot, "CLSID\\{00000000-0000-0000-0000-000000000001}", "", "other");
    if (c.vobsubServer)
      r.WriteString(RegistryRoot::ClassesRoot, vobsub + "\\InprocServer32", "", *c.vobsubServer);
    if (c.g400Server) r.WriteString(RegistryRoot::ClassesRoot, g400 + "\\InprocServer32", "", *c.g400Server);
    EXPECT_EQ(CaptionCodecInstalled(r), c.found);
    if (c.found) {
      EXPECT_EQ(CaptionCodecUnregistrations(r, "C:\\Sys"), c.runs);
    }
    EXPECT_EQ(r.KeyExists(RegistryRoot::ClassesRoot, vobsub), c.vobsubServer.has_value());
  }
}

// The options dialog's codec button goes through the same rules as the check
// at start: the registered server file, else the system folder's.
TEST(ConfigMaintenance, TheCaptionCodecButtonUnregistersTheRegisteredServers) {
  test::MemoryRegistry r;
  r.WriteString(RegistryRoot::ClassesRoot, "CLSID\\{0180E49C-13BF-46DB-9AFD-9F52292E1C22}\\InprocServer32",
                "", "\"D:\\Codecs\\dvobsub.ax\"");
  RecordingSystem system;
  TConfigMaintenance maintenance(r, system, "unused");
  maintenance.RemoveCaptionCodecs();
  EXPECT_EQ(system.steps,
            (std::vector<std::string>{"regsvr32 \"D:\\Codecs\\dvobsub.ax\" /u /s (running)",
                                      "regsvr32 \"C:\\Windows\\System32\\divxg400.ax\" /u /s (running)"}));
}

TEST(ConfigMaintenance, TheOtherButtonsWorkOnTheirOwnThingsOnly) {
  test::MemoryRegistry r;
  const std::string sibling = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\Other";
  r.WriteString(RegistryRoot::CurrentUser, std::string(kRecentDocumentsKey) + "\\avi", "a", "C:\\x.avi");
  r.WriteString(RegistryRoot::CurrentUser, sibling, "", "kept");
  const std::filesystem::path bookmarks = std::filesystem::temp_directory_path() / "orves-maintenance.ini";
  std::ofstream(bookmarks) << "[Bookmark]\n";
  RecordingSystem system;
  TConfigMaintenance maintenance(r, system, bookmarks);

  maintenance.ClearRecentDocuments();
  EXPECT_FALSE(r.KeyExists(RegistryRoot::CurrentUser, kRecentDocumentsKey));
  EXPECT_TRUE(r.KeyExists(RegistryRoot::CurrentUser, sibling));
  maintenance.ClearBookmarks();
  EXPECT_FALSE(std::filesystem::exists(bookmarks));
  maintenance.ClearBookmarks();  // already gone: nothing happens
  maintenance.SetShellPreview(true);
  maintenance.SetShellPreview(false);
  EXPECT_EQ(system.steps,
            (std::vector<std::string>{"regsvr32 \"C:\\Windows\\System32\\shmedia.dll\" /s (running)",
                                      "regsvr32 \"C:\\Windows\\System32\\shmedia.dll\" /u /s (running)"}));
}

}  // namespace
}  // namespace orves
