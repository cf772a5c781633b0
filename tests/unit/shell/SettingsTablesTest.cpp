// The settings of every long-lived object, through their tables: a first run
// writes every section with its defaults in the player's order, stored values
// come back, values out of range are clamped or refused, and a read-only
// settings file is never touched.
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "player/captions/CaptionSettings.h"
#include "player/core/Setup.h"
#include "player/playback/StateText.h"
#include "player/shell/MainSettings.h"
#include "player/window/Layout.h"
#include "player/window/PlayList.h"
#include "player/window/Skin.h"
#include "tests/unit/playback/PlaybackFakes.h"
#include "tests/unit/window/SkinFakes.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

struct NoFiles final : IFileSystem {
  bool FileExists(const std::string&) const override { return false; }
  std::vector<std::string> ListFolder(const std::string&) const override { return {}; }
  int CompareNoCase(const std::string& a, const std::string& b) const override { return a.compare(b); }
  fs::path ToFsPath(const std::string& path) const override { return fs::temp_directory_path() / path; }
};

struct NoWindow final : ILayoutWindow, IDisplay, IPlayListMedia, IPlayListPanel, IStateTextView {
  void ClientSize(int& width, int& height) const override { width = height = 0; }
  void SetWindowSize(int, int) override {}
  ScreenRect WindowRect() const override { return {}; }
  ScreenRect WorkArea() const override { return {}; }
  void MoveWindowTo(int, int) override {}
  bool IsMaximized() const override { return false; }
  void Maximize() override {}
  void RestoreWindow() override {}
  void MinimizeApplication() override {}
  void PaintSkin() override {}
  void PlaceMediaPanel(const PanelRect&) override {}
  void PlaceFullScreenBar(const PanelRect&) override {}
  void SetFullScreenBarVisible(bool) override {}
  void SetMovieVisible(bool) override {}
  void SetCaptionVisible(bool) override {}
  bool CaptionPanelVisible() const override { return false; }
  PictureSize Picture() const override { return {}; }
  void RefitPicture(bool) override {}
  void RefreshCaptions() override {}
  std::vector<DisplayMode> Modes() const override { return {}; }
  void SetMode(const DisplayMode&) override {}
  void RestoreMode() override {}
  int ShowCursor(bool) override { return 0; }
  bool OpenMovie(const std::string&, const std::vector<std::string>&) override { return true; }
  void CloseMedia() override {}
  bool SmartCaptionFinding() const override { return true; }
  int SetRows(const std::vector<std::string>&) override { return 0; }
  PlayListFrame Frame() const override { return {}; }
  void Place(const PlayListPlace&) override {}
  void SetVisible(bool) override {}
  void Render(const std::string&) override {}
  void Show() override {}
  void Hide() override {}
  bool IsVisible() const override { return false; }
};

// Every long-lived object with a settings section, made in the player's
// order and destroyed in that order again, the settings object last.
struct Run {
  struct Objects {
    TSkin& skin;
    TPlayList& playList;
    TLayout& layout;
    TCaptionSettings& captions;
    TMedia& media;
    TMovie& movie;
    TStateText& stateText;
    MainSettings& main;
  };

  static void Once(const fs::path& ini, const std::function<void(Objects&)>& during = nullptr) {
    testing::Log log;
    NoFiles files;
    NoWindow window;
    testing::NullStateText silent;
    auto setup = std::make_unique<TSetup>(ini);
    testing::FakeSkinWindow skinWindow;
    auto skin = std::make_unique<TSkin>(*setup, files, "Skin", skinWindow.Services());
    auto playList =
        std::make_unique<TPlayList>(*setup, (fs::temp_directory_path() / "orves-none.list").string(),
                                    TPlayListServices{files, window, window, silent});
    TMouseAction mouse;
    auto layout = std::make_unique<TLayout>(*setup, *skin, TLayoutServices{window, window, silent, mouse});
    TCaptionSettings captions;
    captions.Read(*setup);
    auto rig = std::make_unique<testing::MediaRig>(*setup, log, log);
    auto stateText = std::make_unique<TStateText>(*setup, window, rig->media);
    MainSettings main = MainSettings::Read(*setup);
    if (during) {
      Objects objects{*skin, *playList, *layout, captions, rig->media, rig->movie, *stateText, main};
      during(objects);
    }
    main.Write(*setup);
    skin.reset();
    playList.reset();
    layout.reset();
    captions.Write(*setup);
    rig.reset();
    stateText.reset();
    setup.reset();
  }
};

class SettingsTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orves-tables-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ini_ = dir_ / "OrvesMP20.ini";
  }
  void TearDown() override {
    fs::permissions(ini_, fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string ReadFile() const {
    std::ifstream in(ini_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteFile(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }

  fs::path dir_;
  fs::path ini_;
};

TEST_F(SettingsTablesTest, AFirstRunWritesEverySectionWithItsDefaultsInOrder) {
  Run::Once(ini_);
  EXPECT_EQ(
      ReadFile(),
      "[Main]\r\nTop=200\r\nLeft=200\r\nWidth=320\r\nHeight=200\r\nDefaultFolderOfMovie=C:\\\r\n"
      "DefaultFolderOfCaption=C:\\\r\nCheckNewVersion=1\r\nCheckCaptionCodec=1\r\nWebHost=\r\n"
      "[Skin]\r\nName=Default\r\n"
      "[PlayList]\r\nAutoSort=1\r\nAutoRewind=0\r\nEnabled=0\r\nWidth=150\r\nUseCaptionFolder=0\r\n"
      "CaptionFolder=c:\\\r\n"
      "[Layout]\r\nShowMovieWhenHide=1\r\nPauseAtMinimize=1\r\nAlwaysTop=1\r\nAlwaysShowFullScreenBar=0\r\n"
      "FullScreenDpi=0\r\nFullScreenColor=32\r\nStartMode=2\r\n"
      "[OrveCaption]\r\nUpHeightRate=120\r\nUpHeightRateShortCut1=120\r\nUpHeightRateShortCut2=25\r\n"
      "UpHeightRateShortCut3=0\r\nHeightRate=100\r\nOutLineRate=4\r\nShadowRate=2\r\nLineHeightRate=20\r\n"
      "FontWidthRate=90\r\nFontName2=MD\xB0\xB3\xBC\xBA\xC3\xBC\r\nFontBold=0\r\nFontColor=14737632\r\n"
      "WarnedJapaness=0\r\nAntiAliase=1\r\nParseColorTag=1\r\nSmartCaptionFinding=1\r\n"
      "[Media]\r\nFFSpaceTime=10\r\nFFSpaceTime2=60\r\nDoBookMark=1\r\nCaptionEnabled=1\r\nAddToRecent=1\r\n"
      "OwnDecoders=1\r\n"
      "[Movie]\r\nDivxBrightness=0\r\nDivxProcess=0\r\nVolume=0\r\nDoFixRate=0\r\nCutWhenWindow=0\r\n"
      "Force43=1\r\n"
      "[StateText]\r\nKorean=0\r\nEnabled=1\r\nShowTime=0\r\n"
      "[Config]\r\nShowTab=1\r\n");
}

TEST_F(SettingsTablesTest, StoredValuesSurviveARunAndFlagsAreWrittenAsOne) {
  WriteFile(
      "[skin]\nname=Blue\n[Layout]\nAlwaysTop=2\nStartMode=4\nFullScreenDpi=1024\n"
      "[PlayList]\nAutoRewind=7\nWidth=200\nCaptionFolder=D:\\Subs\n[Media]\nFFSpaceTime=5\n"
      "[Movie]\nDoFixRate=169\nForce43=0\n[StateText]\nKorean=1\n[Main]\nWebHost=127.0.0.1:8080\n");
  Run::Once(ini_, [](Run::Objects& o) {
    EXPECT_EQ(o.skin.CurrentSkin(), "");  // nothing loaded during this run
    EXPECT_TRUE(o.layout.alwaysTop);
    EXPECT_EQ(o.layout.startMode, 4);
    EXPECT_EQ(o.layout.fullScreenDpi, 1024);
    EXPECT_TRUE(o.playList.autoRewind);
    EXPECT_EQ(o.playList.width, 200);
    EXPECT_EQ(o.playList.captionFolder, "D:\\Subs");
    EXPECT_EQ(o.media.ShortStep(), 5);
    EXPECT_EQ(o.movie.FixRate(), 169);
    EXPECT_FALSE(o.movie.Force43());
    EXPECT_TRUE(o.stateText.Korean());
    EXPECT_EQ(o.main.webHost, "127.0.0.1:8080");
  });
  const std::string text = ReadFile();
  for (const char* line :
       {"name=Blue", "AlwaysTop=1", "StartMode=4", "AutoRewind=1", "Width=200", "FFSpaceTime=5",
        "DoFixRate=169", "Force43=0", "Korean=1", "WebHost=127.0.0.1:8080"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST_F(SettingsTablesTest, ValuesOutOfRangeAreClampedAndRefusedChoicesTakeTheDefault) {
  WriteFile(
      "[Layout]\nStartMode=99\nFullScreenColor=x\nAlwaysTop=\n[PlayList]\nWidth=99999999999\n"
      "[Movie]\nDivxBrightness=500\nDivxProcess=-4\nVolume=-9000\nDoFixRate=42\n"
      "[OrveCaption]\nShadowRate=junk\n[Media]\nFFSpaceTime=0\nFFSpaceTime2=500\n");
  Run::Once(ini_, [](Run::Objects& o) {
    EXPECT_EQ(o.layout.startMode, 5);
    EXPECT_EQ(o.layout.fullScreenColor, 32);
    EXPECT_TRUE(o.layout.alwaysTop);
    EXPECT_EQ(o.playList.width, 150);
    EXPECT_EQ(o.movie.Brightness(), 100);
    EXPECT_EQ(o.movie.Processing(), 0);
    EXPECT_EQ(o.movie.Volume(), -3200);
    EXPECT_EQ(o.movie.FixRate(), 0);
    EXPECT_EQ(o.captions.shadowRate, 2);
    EXPECT_EQ(o.media.ShortStep(), 1);
    EXPECT_EQ(o.media.LongStep(), 300);
  });
}

TEST_F(SettingsTablesTest, AReadOnlyFileIsLeftByteForByteUnchanged) {
  const std::string original = "; frozen\n[Skin]\nName=Mine\n[Layout]\nStartMode=3";
  WriteFile(original);
  fs::permissions(ini_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  Run::Once(ini_, [](Run::Objects& o) {
    // No folder "Mine" (nor "Default") here: the load keeps no skin.
    o.skin.LoadSkinFromSettings();
    EXPECT_EQ(o.skin.CurrentSkin(), "");
    o.layout.startMode = 1;
  });
  EXPECT_EQ(ReadFile(), original);
}

TEST_F(SettingsTablesTest, MediaPanelFillsTheClientInsideTheMargins) {
  NoFiles files;
  NoWindow window;
  TSetup setup(ini_);
  testing::FakeSkinWindow skinWindow;
  TSkin skin(setup, files, "Skin", skinWindow.Services());
  testing::NullStateText silent;
  TMouseAction mouse;
  TLayout layout(setup, skin, TLayoutServices{window, window, silent, mouse});
  EXPECT_EQ(layout.MediaPanelRect(320, 200), (PanelRect{0, 0, 320, 200}));
  EXPECT_EQ(layout.MediaPanelRect(-5, 0), (PanelRect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace orves
