#include "player/shell/MainSettings.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "player/core/Setup.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

class MainSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orves-main-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ini_ = dir_ / "OrvesMP20.ini";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteFile(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }
  std::string ReadFile() const {
    std::ifstream in(ini_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
  fs::path ini_;
};

TEST_F(MainSettingsTest, MissingSectionGivesTheDefaultPlace) {
  TSetup setup(ini_);
  const MainSettings s = MainSettings::Read(setup);
  EXPECT_EQ(s.left, 200);
  EXPECT_EQ(s.top, 200);
  EXPECT_EQ(s.width, 320);
  EXPECT_EQ(s.height, 200);
  EXPECT_EQ(s.defaultFolderOfMovie, "C:\\");
  EXPECT_EQ(s.defaultFolderOfCaption, "C:\\");
  EXPECT_TRUE(s.checkNewVersion);
  EXPECT_TRUE(s.checkCaptionCodec);
}

TEST_F(MainSettingsTest, WritesTheEightKeysInOrderAndReadsThemBack) {
  {
    TSetup setup(ini_);
    MainSettings s;
    s.top = -5;
    s.left = 17;
    s.width = 640;
    s.height = 400;
    s.defaultFolderOfMovie = "D:\\Movies";
    s.defaultFolderOfCaption = "D:\\Subs";
    s.checkNewVersion = false;
    s.checkCaptionCodec = true;
    s.Write(setup);
  }
  const std::string text = ReadFile();
  const char* keys[] = {"Top=-5",
                        "Left=17",
                        "Width=640",
                        "Height=400",
                        "DefaultFolderOfMovie=D:\\Movies",
                        "DefaultFolderOfCaption=D:\\Subs",
                        "CheckNewVersion=0",
                        "CheckCaptionCodec=1"};
  size_t at = text.find("[Main]");
  ASSERT_NE(at, std::string::npos) << text;
  for (const char* key : keys) {
    const size_t next = text.find(key, at);
    ASSERT_NE(next, std::string::npos) << key << " after offset " << at << " in\n" << text;
    at = next;
  }
  TSetup setup(ini_);
  const MainSettings back = MainSettings::Read(setup);
  EXPECT_EQ(back.top, -5);
  EXPECT_EQ(back.width, 640);
  EXPECT_EQ(back.defaultFolderOfCaption, "D:\\Subs");
  EXPECT_FALSE(back.checkNewVersion);
}

TEST_F(MainSettingsTest, GarbageAndHugeValuesReadAsDefaultsAndFlagsAsOn) {
  WriteFile(
      "[Main]\nTop=abc\nLeft=99999999999999999999\nWidth=2147483647\nHeight=\nCheckNewVersion=2\n"
      "CheckCaptionCodec=zero\n");
  TSetup setup(ini_);
  const MainSettings s = MainSettings::Read(setup);
  EXPECT_EQ(s.top, 200);
  EXPECT_EQ(s.left, 200);
  EXPECT_EQ(s.width, 2147483647);
  EXPECT_EQ(s.height, 200);
  EXPECT_TRUE(s.checkNewVersion);    // "2" is on
  EXPECT_TRUE(s.checkCaptionCodec);  // not a number: the default
}

TEST(ClampWindowPlace, KeepsSaneValuesAndKeepsTheWindowReachable) {
  MainSettings s;
  EXPECT_EQ(ClampWindowPlace(s, 1024, 768), (WindowPlace{200, 200, 320, 200}));
  s.left = -250;
  s.top = 700;
  s.width = 1900;
  s.height = 1400;
  EXPECT_EQ(ClampWindowPlace(s, 1024, 768), (WindowPlace{-250, 700, 1900, 1400}));
  // Off the left and top edges: 32 pixels stay on the screen.
  s.width = 320;
  s.height = 200;
  s.left = -2147483647 - 1;
  s.top = -5000;
  EXPECT_EQ(ClampWindowPlace(s, 1024, 768), (WindowPlace{32 - 320, 32 - 200, 320, 200}));
  // Off the right and bottom edges, with an enormous size cut to twice the screen.
  s.left = 2147483647;
  s.top = 5000;
  s.width = 2147483647;
  EXPECT_EQ(ClampWindowPlace(s, 1024, 768), (WindowPlace{1024 - 32, 768 - 32, 2048, 200}));
  // Sizes below 1 take the default size; a tiny window stays wholly visible.
  s.width = 0;
  s.height = -5;
  EXPECT_EQ(ClampWindowPlace(s, 1024, 768), (WindowPlace{1024 - 32, 768 - 32, 320, 200}));
  s.width = 10;
  s.left = 5000;
  EXPECT_EQ(ClampWindowPlace(s, 1024, 768).left, 1014);
  EXPECT_EQ(ClampWindowPlace(s, 0, 0).width, 2);
}

TEST_F(MainSettingsTest, FirstStartOfAVersion) {
  EXPECT_TRUE(IsFirstStartOfVersion("", "2.33"));
  EXPECT_TRUE(IsFirstStartOfVersion("2.32", "2.33"));
  EXPECT_FALSE(IsFirstStartOfVersion("2.33", "2.33"));
  TSetup setup(ini_);
  EXPECT_EQ(ReadLastVersion(setup), "");
  WriteLastVersion(setup, "2.33");
  EXPECT_EQ(ReadLastVersion(setup), "2.33");
  EXPECT_NE(ReadFile().find("[Orve's MP]"), std::string::npos);
}

}  // namespace
}  // namespace orves
