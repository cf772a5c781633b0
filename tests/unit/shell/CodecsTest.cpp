#include <gtest/gtest.h>

#include "player/shell/Codecs.h"
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

}  // namespace
}  // namespace orves
