// Where the player's own files go: beside a writable program, else into the
// user's application data, carrying an administrator's settings over once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "player/core/SettingsFolder.h"
#include "player/core/Setup.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

struct FixedAccess final : IFolderAccess {
  bool writable = true;
  bool CanCreateFiles(const fs::path&) const override { return writable; }
};

class SettingsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("orves-settings-" + std::to_string(getpid()));
    program_ = root_ / "Program Files" / "OrvesMP";
    appData_ = root_ / "AppData";
    fs::remove_all(root_);
    fs::create_directories(program_);
    fs::create_directories(appData_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(program_ / TSetup::SettingsFileName, fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(root_);
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path root_;
  fs::path program_;
  fs::path appData_;
  FixedAccess access_;
};

TEST_F(SettingsFolderTest, AWritableProgramFolderKeepsTheFilesBesideIt) {
  EXPECT_EQ(ChooseSettingsFolder(program_, appData_, access_), program_);
  EXPECT_FALSE(fs::exists(appData_ / kSettingsFolderName));
}

TEST_F(SettingsFolderTest, AnUnwritableOneMovesThemAndCarriesTheSettingsOverOnce) {
  const fs::path beside = program_ / TSetup::SettingsFileName;
  std::ofstream(beside) << "[Movie]\nVolume=-600\n";
  fs::permissions(beside, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  access_.writable = false;

  const fs::path folder = ChooseSettingsFolder(program_, appData_, access_);
  EXPECT_EQ(folder, appData_ / kSettingsFolderName);
  const fs::path copy = folder / TSetup::SettingsFileName;
  {
    TSetup setup(copy);
    EXPECT_EQ(setup.ReadInteger("Movie", "Volume", 0), -600);
    // The copy is the user's own: a read-only original must not freeze it.
    EXPECT_TRUE(setup.Writable());
    setup.WriteInteger("Movie", "Volume", -100);
  }
  // Later starts keep what the user changed.
  EXPECT_EQ(ChooseSettingsFolder(program_, appData_, access_), folder);
  EXPECT_EQ(TSetup(copy).ReadInteger("Movie", "Volume", 0), -100);
}

TEST_F(SettingsFolderTest, WithNowhereBetterTheProgramFolderStays) {
  access_.writable = false;
  EXPECT_EQ(ChooseSettingsFolder(program_, fs::path(), access_), program_);
  // An application-data "folder" that is a file cannot hold the settings.
  std::ofstream(root_ / "file") << "x";
  EXPECT_EQ(ChooseSettingsFolder(program_, root_ / "file", access_), program_);
}

}  // namespace
}  // namespace orves
