// The settings sections of the skin, the layout and the playlist: defaults on
// a first run, the keys and their writing order, read-back and the
// read-only freeze.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "player/shell/Setup.h"
#include "player/window/Layout.h"
#include "player/window/PlayList.h"
#include "player/window/Skin.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

class NoFiles : public IPlayListFiles {
 public:
  explicit NoFiles(fs::path root) : root_(std::move(root)) {}
  bool FileExists(const std::string& path) const override { return fs::exists(ToFsPath(path)); }
  std::vector<std::string> ListFolder(const std::string&) const override { return {}; }
  int CompareNoCase(const std::string& a, const std::string& b) const override { return a.compare(b); }
  fs::path ToFsPath(const std::string& path) const override { return root_ / path; }

 private:
  fs::path root_;
};

class LongLivedSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orves-sections-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ini_ = dir_ / "OrvesMP20.ini";
  }
  void TearDown() override {
    fs::permissions(ini_, fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  // One run: construct in the player's order, start, destroy in its order.
  void RunOnce(const std::function<void(TSkin&, TPlayList&, TLayout&)>& during = nullptr) {
    NoFiles files(dir_);
    TSetup setup(ini_);
    auto skin = std::make_unique<TSkin>(setup);
    auto list = std::make_unique<TPlayList>(setup, files, "OrvesMP.list");
    auto layout = std::make_unique<TLayout>(setup, *skin);
    skin->LoadSkinFromSettings();
    list->Start();
    if (during) {
      during(*skin, *list, *layout);
    }
    skin.reset();
    list.reset();
    layout.reset();
  }

  std::string ReadFile() const {
    std::ifstream in(ini_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteFile(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }

  // Expects `lines` to appear in this order, each after the previous one.
  void ExpectInOrder(const std::vector<std::string>& lines) const {
    const std::string text = ReadFile();
    size_t at = 0;
    for (const auto& line : lines) {
      const size_t next = text.find(line, at);
      ASSERT_NE(next, std::string::npos) << "'" << line << "' not found after offset " << at << " in\n" << text;
      at = next + line.size();
    }
  }

  fs::path dir_;
  fs::path ini_;
};

TEST_F(LongLivedSettingsTest, AFirstRunWritesEverySectionWithItsDefaultsInOrder) {
  RunOnce();
  ExpectInOrder({"[Skin]", "Name=Default",
                 "[PlayList]", "AutoSort=1", "AutoRewind=0", "Enabled=0", "Width=150", "UseCaptionFolder=0",
                 "CaptionFolder=c:\\",
                 "[Layout]", "ShowMovieWhenHide=1", "PauseAtMinimize=1", "AlwaysTop=1", "AlwaysShowFullScreenBar=0",
                 "FullScreenDpi=0", "FullScreenColor=32", "StartMode=2",
                 "[Config]", "ShowTab=1"});
  EXPECT_TRUE(fs::exists(dir_ / "OrvesMP.list"));
}

TEST_F(LongLivedSettingsTest, StoredValuesSurviveARunAndFlagsAreWrittenAsOne) {
  WriteFile("[skin]\nname=Blue\n[Layout]\nAlwaysTop=2\nStartMode=4\nFullScreenDpi=1024\n"
            "[PlayList]\nAutoRewind=7\nWidth=200\nCaptionFolder=D:\\Subs\n");
  RunOnce([](TSkin& skin, TPlayList& list, TLayout& layout) {
    EXPECT_EQ(skin.Name(), "Blue");
    EXPECT_TRUE(layout.alwaysTop);
    EXPECT_EQ(layout.startMode, 4);
    EXPECT_EQ(layout.fullScreenDpi, 1024);
    EXPECT_TRUE(list.autoRewind);
    EXPECT_EQ(list.width, 200);
    EXPECT_EQ(list.captionFolder, "D:\\Subs");
  });
  ExpectInOrder({"name=Blue", "AlwaysTop=1", "StartMode=4", "FullScreenDpi=1024", "AutoRewind=1", "Width=200"});
}

TEST_F(LongLivedSettingsTest, GarbageValuesFallBackToDefaultsAndStartModeIsClamped) {
  WriteFile("[Layout]\nStartMode=99\nFullScreenColor=x\nAlwaysTop=\n[PlayList]\nWidth=99999999999\n");
  RunOnce([](TSkin&, TPlayList& list, TLayout& layout) {
    EXPECT_EQ(layout.startMode, 5);
    EXPECT_EQ(layout.fullScreenColor, 32);
    EXPECT_TRUE(layout.alwaysTop);
    EXPECT_EQ(list.width, 150);
  });
}

TEST_F(LongLivedSettingsTest, AReadOnlyFileIsLeftByteForByteUnchanged) {
  const std::string original = "; frozen\n[Skin]\nName=Mine\n[Layout]\nStartMode=3";
  WriteFile(original);
  fs::permissions(ini_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  RunOnce([](TSkin& skin, TPlayList&, TLayout& layout) {
    EXPECT_EQ(skin.Name(), "Mine");
    layout.startMode = 1;
  });
  EXPECT_EQ(ReadFile(), original);
}

TEST_F(LongLivedSettingsTest, MediaPanelFillsTheClientInsideTheMargins) {
  NoFiles files(dir_);
  TSetup setup(ini_);
  TSkin skin(setup);
  TLayout layout(setup, skin);
  EXPECT_EQ(layout.MediaPanelRect(320, 200), (PanelRect{0, 0, 320, 200}));
  EXPECT_EQ(layout.MediaPanelRect(-5, 0), (PanelRect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace orves
