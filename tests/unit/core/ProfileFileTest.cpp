#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "player/core/ProfileFile.h"
#include "player/core/Setup.h"
#include "player/core/UnicodeText.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orves-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / "OrvesMP20.ini";
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  void Put(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Bytes() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void MakeReadOnly() {
    fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }

  fs::path dir_;
  fs::path path_;
};

TEST_F(ProfileFileTest, ReadsMatchSectionsAndKeysWithoutCaseAndTrimValues) {
  Put("[main]\r\n  TOP =  120  \r\nname=\"quoted value\"\r\nsingle='x'\r\nbare\r\n[Main]\r\nTop=999\r\n");
  ProfileFile f(path_);
  EXPECT_EQ(f.ReadString("Main", "Top", "d"), "120");  // first of duplicate sections wins
  EXPECT_EQ(f.ReadString("MAIN", "name", "d"), "quoted value");
  EXPECT_EQ(f.ReadString("Main", "single", "d"), "x");
  EXPECT_EQ(f.ReadString("Main", "bare", "d"), "d");  // a key without '=' has no value
  EXPECT_EQ(f.ReadString("Main", "Missing", "d"), "d");
  EXPECT_EQ(f.ReadString("Other", "Top", "d"), "d");
}

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
  ProfileFile f(path_);
  EXPECT_TRUE(f.Writable());
  EXPECT_EQ(f.ReadString("Main", "Top", "200"), "200");
  f.WriteString("Main", "Top", "10");
  f.WriteString("Main", "Left", "20");
  f.WriteString("Movie", "Volume", "-100");
  EXPECT_EQ(Bytes(), "[Main]\r\nTop=10\r\nLeft=20\r\n[Movie]\r\nVolume=-100\r\n");
}

TEST_F(ProfileFileTest, WriteReplacesInPlaceAndKeepsOtherBytes) {
  Put("; my notes\n[Main]\nTop=1\n\n[Skin]\nName=Default\n");
  ProfileFile f(path_);
  f.WriteString("main", "TOP", "5");   // existing key keeps its spelling
  f.WriteString("Main", "Left", "7");  // new key goes after the last filled line
  f.WriteString("Skin", "Name", "Blue");
  EXPECT_EQ(Bytes(), "; my notes\n[Main]\nTop=5\nLeft=7\r\n\n[Skin]\nName=Blue\n");
}

TEST_F(ProfileFileTest, AppendsToAFileWithoutFinalLineEnd) {
  Put("[Main]\r\nTop=1");
  ProfileFile f(path_);
  f.WriteString("Main", "Left", "2");
  f.WriteString("Skin", "Name", "x");
  EXPECT_EQ(Bytes(), "[Main]\r\nTop=1\r\nLeft=2\r\n[Skin]\r\nName=x\r\n");
}

TEST_F(ProfileFileTest, ReadOnlyFileIsFrozenForTheWholeRun) {
  Put("[Main]\r\nTop=1\r\n");
  MakeReadOnly();
  const std::string before = Bytes();
  {
    TSetup setup(path_);
    EXPECT_FALSE(setup.Writable());
    setup.WriteInteger("Main", "Top", 50);
    setup.WriteString("Skin", "Name", "x");
    // Making it writable again does not revisit the decision.
    fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
    setup.WriteInteger("Main", "Top", 60);
    EXPECT_EQ(setup.ReadInteger("Main", "Top", 0), 1);
  }  // the destructor's Config/ShowTab write is skipped too
  EXPECT_EQ(Bytes(), before);
}

// Natively the ANSI code page is the Korean one: "한글" has a form there,
// Thai "ก" has none.
TEST_F(ProfileFileTest, KeepsTheCodePageWhileEveryTextFitsElseTurnsUtf16) {
  const auto utf16 = [](const std::string& text) { return "\xFF\xFE" + Utf8ToUtf16Le(text); };
  struct Case {
    const char* what;
    std::string before;
    std::string section, value;
    std::string after;
  };
  const Case cases[] = {
      {"a Korean name fits", "[NUM]\r\nNUM=1\r\n", "0", "C:\\한글.avi",
       "[NUM]\r\nNUM=1\r\n[0]\r\nFileName=C:\\\xC7\xD1\xB1\xDB.avi\r\n"},
      {"a Thai name does not", "[NUM]\r\nNUM=1\r\n", "0", "C:\\ก.avi",
       utf16("[NUM]\r\nNUM=1\r\n[0]\r\nFileName=C:\\ก.avi\r\n")},
      {"a UTF-16 file keeps a name that does not fit", utf16("[0]\r\nFileName=ก\r\n"), "1", "x",
       utf16("[0]\r\nFileName=ก\r\n[1]\r\nFileName=x\r\n")},
      {"a UTF-16 file whose names all fit again", utf16("[0]\r\nFileName=ก\r\n"), "0", "가",
       "[0]\r\nFileName=\xB0\xA1\r\n"},
  };
  for (const Case& c : cases) {
    Put(c.before);
    ProfileFile(path_).WriteString(c.section, "FileName", c.value);
    EXPECT_EQ(Bytes(), c.after) << c.what;
    EXPECT_EQ(ProfileFile(path_).ReadString(c.section, "FileName", ""), c.value) << c.what;
  }
}

TEST(ProfileIntegerTest, AcceptsOnlyWholeDecimal32BitNumbers) {
  EXPECT_EQ(ParseProfileInteger("42"), 42);
  EXPECT_EQ(ParseProfileInteger(" -3200 "), -3200);
  EXPECT_EQ(ParseProfileInteger("+7"), 7);
  EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInteger("-2147483648"), INT32_MIN);
  for (const char* bad :
       {"", " ", "12abc", "abc", "0x10", "1.5", "2147483648", "99999999999999999999", "--1", "- 1"}) {
    EXPECT_FALSE(ParseProfileInteger(bad).has_value()) << bad;
  }
}

TEST_F(ProfileFileTest, SetupIntegersFlagsAndBadValues) {
  Put("[Media]\r\nDoBookMark=2\r\nFFSpaceTime=abc\r\nFFSpaceTime2=99999999999\r\nVolume=-4000\r\n");
  {
    TSetup setup(path_);
    EXPECT_TRUE(setup.ReadFlag("Media", "DoBookMark", false));  // any value other than 0 is on
    EXPECT_EQ(setup.ReadInteger("Media", "FFSpaceTime", 10), 10);
    EXPECT_EQ(setup.ReadInteger("Media", "FFSpaceTime2", 60), 60);
    EXPECT_EQ(setup.ReadInteger("Media", "Volume", 0), -4000);  // read unchanged, clamped where applied
    EXPECT_EQ(setup.ReadInteger("Media", "Missing", -5), -5);
    setup.WriteFlag("Media", "DoBookMark", setup.ReadFlag("Media", "DoBookMark", false));
  }
  TSetup again(path_);
  EXPECT_EQ(again.ReadString("Media", "DoBookMark", ""), "1");
  EXPECT_EQ(again.ReadString("Config", "ShowTab", ""), "1");  // written by the destructor
}

TEST_F(ProfileFileTest, GarbageFileReadsAsDefaultsAndKeepsItsBytesOnWrite) {
  std::mt19937 rng(7);
  std::string garbage(4096, '\0');
  for (auto& c : garbage) c = static_cast<char>(rng());
  garbage.erase(std::remove(garbage.begin(), garbage.end(), '['), garbage.end());
  Put(garbage);
  TSetup setup(path_);
  EXPECT_EQ(setup.ReadInteger("Main", "Top", 200), 200);
  setup.WriteInteger("Main", "Top", 3);
  EXPECT_EQ(setup.ReadInteger("Main", "Top", 200), 3);
  EXPECT_EQ(Bytes().substr(0, garbage.size()), garbage);
}

}  // namespace
}  // namespace orves
