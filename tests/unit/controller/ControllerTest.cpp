#include <gtest/gtest.h>

#include <algorithm>

#include "player/controller/MainController.h"
#include "player/controller/PopupMenus.h"
#include "tests/unit/controller/ControllerFakes.h"

namespace orves {
namespace {

using test::FakeWorld;

struct ControllerTest : ::testing::Test {
  FakeWorld world;
  TMainController controller{world.Ports()};

  std::vector<std::string> Run(const char* action) {
    world.calls.clear();
    EXPECT_TRUE(controller.Execute(action)) << action;
    return world.calls;
  }
  std::vector<std::string> Key(uint8_t modifiers, uint16_t vk) {
    world.calls.clear();
    controller.ExecuteKey(KeyStroke{modifiers, vk});
    return world.calls;
  }
};

using Calls = std::vector<std::string>;

TEST_F(ControllerTest, EveryActionOfTheCommandTableHasAnEntry) {
  for (const CommandSpec& command : Commands()) {
    world.hasPicture = true;
    EXPECT_TRUE(controller.Execute(command.name)) << command.name;
  }
  EXPECT_FALSE(controller.Execute("actNoSuchThing"));
  EXPECT_FALSE(controller.Execute(""));
}

TEST_F(ControllerTest, ActionsWithoutHandlerDoNothing) {
  EXPECT_EQ(Run("actFontConfig"), Calls{});
  EXPECT_EQ(Run("actProperty"), Calls{});
}

TEST_F(ControllerTest, KeysReachTheirActionsThroughTheTable) {
  world.hasPicture = true;
  EXPECT_EQ(Key(kModNone, 0x27), Calls{"media.FastFind"});            // Right
  EXPECT_EQ(Key(kModNone, 0x25), Calls{"media.Rewind"});              // Left
  EXPECT_EQ(Key(kModAlt, 0x27), Calls{"media.FastFind2"});            // Alt+Right
  EXPECT_EQ(Key(kModShift, 0x27), Calls{"captions.ShiftSync 0.10"});  // Shift+Right
  EXPECT_EQ(Key(kModCtrl, 0x27), Calls{"playList.PlayNext"});         // Ctrl+Right
  EXPECT_EQ(Key(kModNone, 0x26), Calls{"movie.VolumeUp"});            // Up
  EXPECT_EQ(Key(kModAlt, 0x26), Calls{"movie.BrightnessUp"});
  EXPECT_EQ(Key(kModNone, 187), Calls{"media.SpeedUp"});    // =
  EXPECT_EQ(Key(kModNone, 189), Calls{"media.SpeedDown"});  // -
  EXPECT_EQ(Key(kModNone, 192), Calls{"layout.Zoom 0.5"});  // grave accent
  EXPECT_EQ(Key(kModNone, '3'), Calls{"layout.Zoom 2.0"});
  EXPECT_EQ(Key(kModNone, 219), Calls{"movie.MinusCuttingBlock"});  // [
  EXPECT_EQ(Key(kModCtrl, '3'), Calls{"window.ApplyPreset 3"});
  EXPECT_EQ(Key(kModNone, 'Q'), Calls{"captions.ApplyPositionPreset 1"});
  EXPECT_EQ(Key(kModAlt, 0x21), Calls{"captions.ShadowRatePlus"});                       // Alt+PgUp
  EXPECT_EQ(Key(kModNone, 0x1B), Calls{"layout.ToggleFullScreen"});                      // Esc
  EXPECT_EQ(Key(kModAlt, 0x0D), Calls{"layout.ToggleFullScreen"});                       // Alt+Enter
  EXPECT_EQ(Key(kModNone, 0x70), Calls{"window.OpenWebPage /program/orvesmphelp.php"});  // F1
  EXPECT_EQ(Key(kModAlt, 'X'), Calls{"window.CloseWindow"});
  EXPECT_EQ(Key(kModNone, 'Y'), Calls{});  // no action: nothing runs
  EXPECT_FALSE(controller.ExecuteKey(KeyStroke{kModNone, 'Y'}));
}

// A position track seeks to its share of the movie, a volume track sets
// its volume, an area with an action runs it.
TEST_F(ControllerTest, ClickAreasReachTheirCommandsAndMinimisingPausesWhenSet) {
  world.duration = 200;
  world.calls.clear();
  controller.RunArea({AreaPress::Effect::Seek, nullptr, 0.25});
  controller.RunArea({AreaPress::Effect::Volume, nullptr, 0, -1600});
  controller.RunArea({AreaPress::Effect::Action, "actStop"});
  EXPECT_EQ(world.calls, (Calls{"media.SeekTo 50", "movie.SetVolume -1600", "media.Stop"}));
  EXPECT_EQ(Run("actMinimize"), Calls{"layout.MinimizeWindow"});
  world.pauseAtMinimize = true;
  EXPECT_EQ(Run("actMinimize"), (Calls{"media.Pause", "layout.MinimizeWindow"}));
}

TEST_F(ControllerTest, SpaceTogglesPlayingAndPausedAndPlaysWhenStopped) {
  world.hasPicture = true;
  world.playState = 2;
  EXPECT_EQ(Key(kModNone, 0x20), Calls{"media.Pause"});
  world.playState = 1;
  EXPECT_EQ(Key(kModNone, 0x20), Calls{"media.Play"});
  world.playState = 0;
  EXPECT_EQ(Key(kModNone, 'C'), Calls{"media.Play"});
}

TEST_F(ControllerTest, PlayWithoutPictureStartsThePlaylistsCurrentEntry) {
  EXPECT_EQ(Run("actPlay"), Calls{"playList.PlayCurrent"});
  EXPECT_EQ(Run("actPlayPause"), Calls{"playList.PlayCurrent"});
}

TEST_F(ControllerTest, EnterPlaysOrPausesThenSwitchesTheLanguage) {
  world.hasPicture = true;
  world.playState = 2;
  EXPECT_EQ(Key(kModNone, 0x0D), (Calls{"media.Pause", "captions.SwitchLanguage"}));
}

TEST_F(ControllerTest, OpenPausesReplacesThePlaylistAndPlaysTheFirst) {
  world.chosenMovies = {"C:\\m\\b.avi", "C:\\m\\a.avi", "D:\\c.avi"};
  controller.SetNewlyOpened(false);
  EXPECT_EQ(Run("actOpen"), (Calls{"media.Pause", "window.ChooseMovies open", "window.MovieFolder C:\\m",
                                   "playList.Clear", "playList.Add C:\\m\\b.avi", "playList.Add C:\\m\\a.avi",
                                   "playList.Add D:\\c.avi", "playList.PlayIndex 0"}));
  EXPECT_TRUE(controller.NewlyOpened());
}

TEST_F(ControllerTest, CancelledDialogsChangeNothing) {
  controller.SetNewlyOpened(false);
  EXPECT_EQ(Run("actOpen"), (Calls{"media.Pause", "window.ChooseMovies open"}));
  EXPECT_EQ(Run("actPlayListAdd"), Calls{"window.ChooseMovies add"});
  EXPECT_EQ(Run("actSavePlayList"), Calls{"window.ChoosePlayListToSave"});
  EXPECT_EQ(Run("actSaveCaption"), Calls{"window.ChooseCaptionToSave"});
  EXPECT_EQ(Run("actOpenInternetFile"), Calls{"window.AskAddress"});
  EXPECT_FALSE(controller.NewlyOpened());
}

TEST_F(ControllerTest, AddKeepsTheListAndStartsNothing) {
  world.chosenMovies = {"C:\\x.avi"};
  EXPECT_EQ(Run("actPlayListAdd"),
            (Calls{"window.ChooseMovies add", "window.MovieFolder C:", "playList.Add C:\\x.avi"}));
}

TEST_F(ControllerTest, AnAddressOpensOutsideThePlaylist) {
  world.chosenFile = "http://host/a.asf";
  EXPECT_EQ(Run("actOpenInternetFile"), (Calls{"window.AskAddress", "media.Open http://host/a.asf"}));
}

TEST_F(ControllerTest, CaptionOpenNeedsAPicture) {
  world.chosenFile = "C:\\caps\\a.smi";
  EXPECT_EQ(Run("actOpenCaption"), Calls{});
  world.hasPicture = true;
  EXPECT_EQ(Run("actOpenCaption"), (Calls{"window.ChooseCaptionToOpen", "window.CaptionFolder C:\\caps",
                                          "window.LoadCaptionFile C:\\caps\\a.smi"}));
}

TEST_F(ControllerTest, SavingWritesTheChosenFiles) {
  world.chosenFile = "C:\\l.list";
  EXPECT_EQ(Run("actSavePlayList"), (Calls{"window.ChoosePlayListToSave", "playList.SaveList C:\\l.list"}));
  world.chosenFile = "C:\\c.smi";
  EXPECT_EQ(Run("actSaveCaption"), (Calls{"window.ChooseCaptionToSave", "window.SaveCaptionFile C:\\c.smi"}));
}

TEST_F(ControllerTest, DeleteRemovesSelectedRowsFromTheLastOnlyWithFocusAndPanel) {
  world.selectedRows = {1, 4, 2};
  world.playListFocus = true;
  EXPECT_EQ(Run("actPlayListDelete"), Calls{});  // panel hidden
  world.playListVisible = true;
  world.playListFocus = false;
  EXPECT_EQ(Run("actPlayListDelete"), Calls{});  // no focus
  world.playListFocus = true;
  EXPECT_EQ(Run("actPlayListDelete"), (Calls{"playList.Delete 4", "playList.Delete 2", "playList.Delete 1"}));
}

TEST_F(ControllerTest, ChangeStreamSelectsTheOneAfterTheSelectedWrappingRound) {
  world.player.names = {"a", "b", "c"};
  EXPECT_EQ(Run("actChangeStream"), Calls{});  // none selected
  world.player.selected = 1;
  EXPECT_EQ(Run("actChangeStream"), Calls{"movie.SelectAudioStream 2"});
  world.player.selected = 2;
  EXPECT_EQ(Run("actChangeStream"), Calls{"movie.SelectAudioStream 0"});
}

TEST_F(ControllerTest, NextSkinFollowsTheCurrentOneAndWraps) {
  world.skins = {"Blue", "Default", "Green"};
  world.currentSkin = "Green";
  EXPECT_EQ(Run("actChangeSkin"),
            (Calls{"window.NotifyDesktop", "skin.LoadSkin Blue", "layout.ResizeKeepingAspect 400x300",
                   "state 스킨 적용 / SKIN CHANGED"}));
  world.currentSkin = "Missing";  // not in the folder: counts as the first
  EXPECT_EQ(Run("actChangeSkin")[1], "skin.LoadSkin Default");
  world.skins.clear();
  EXPECT_EQ(Run("actChangeSkin"), Calls{"window.NotifyDesktop"});
}

TEST_F(ControllerTest, ShowTimeFlipsWithoutAMessage) {
  EXPECT_EQ(Run("actToggleShowTime"), Calls{});
  EXPECT_TRUE(world.showTime);
  Run("actToggleShowTime");
  EXPECT_FALSE(world.showTime);
}

TEST_F(ControllerTest, OnlyStoppedToPlayingAppliesTheStartSizeOnceThenResumes) {
  controller.OnPlayStateChange(1, 2);
  controller.OnPlayStateChange(0, 1);
  EXPECT_EQ(world.calls, Calls{});
  controller.OnPlayStateChange(0, 2);
  EXPECT_EQ(world.calls, (Calls{"layout.ApplyStartSize new", "media.ResumeBookmark"}));
  world.calls.clear();
  controller.OnPlayStateChange(0, 2);
  EXPECT_EQ(world.calls, (Calls{"layout.ApplyStartSize old", "media.ResumeBookmark"}));
}

TEST_F(ControllerTest, BufferingShowsItsMessageAndThePlayingMessageAfter) {
  controller.OnBuffering(true);
  controller.OnBuffering(false);
  EXPECT_EQ(world.calls, (Calls{"state 버퍼링중... / BUFFERING...", "media.ShowPlayingMessage"}));
}

TEST_F(ControllerTest, TimerDutiesRunInOrder) {
  world.hasPicture = true;
  world.duration = 24;
  world.position = 24;
  controller.OnTimer({100, 200, true});
  EXPECT_EQ(world.calls, (Calls{"media.SaveBookmark", "playList.PlayNext", "stateText.Tick",
                                "captions.UpdateCaption", "skin.PaintTexts", "skin.PlaceThumbs",
                                "playList.TickPanel 100,200", "layout.HideFullScreenBar"}));
}

TEST_F(ControllerTest, TheEndIsHandledOnceUntilThePositionLeavesIt) {
  world.hasPicture = true;
  world.duration = 24;
  world.position = 24;
  controller.OnTimer({});
  controller.OnTimer({});  // the last entry: still at the end
  EXPECT_EQ(std::count(world.calls.begin(), world.calls.end(), "media.SaveBookmark"), 1);
  world.position = 20;  // rewound
  controller.OnTimer({});
  world.position = 24;  // and played to the end again
  controller.OnTimer({});
  EXPECT_EQ(std::count(world.calls.begin(), world.calls.end(), "playList.PlayNext"), 2);
}

TEST_F(ControllerTest, TimerSeesNoEndBeforeTheEndOrWithNothingOpen) {
  world.hasPicture = true;
  world.duration = 24;
  world.position = 23.99;
  controller.OnTimer({});
  EXPECT_FALSE(world.Called("playList.PlayNext"));
  world.hasPicture = false;  // a closed control reads 0 / 0
  world.duration = 0;
  world.position = 0;
  controller.OnTimer({});
  EXPECT_FALSE(world.Called("playList.PlayNext"));
}

TEST_F(ControllerTest, FullScreenBarShowsNearTheTopOrWhenAlwaysShown) {
  world.fullScreen = true;
  world.barHeight = 30;
  controller.OnTimer({500, 60, true});
  EXPECT_TRUE(world.Called("layout.ShowFullScreenBar"));
  world.calls.clear();
  controller.OnTimer({500, 61, true});
  EXPECT_TRUE(world.Called("layout.HideFullScreenBar"));
  world.calls.clear();
  world.alwaysBar = true;
  controller.OnTimer({500, 700, true});
  EXPECT_TRUE(world.Called("layout.ShowFullScreenBar"));
}

TEST_F(ControllerTest, StillCursorHidesAfterFifteenTicksInFullScreenOnly) {
  world.fullScreen = true;
  for (int i = 0; i < 15; ++i) {
    controller.OnTimer({10, 500, true});
    EXPECT_FALSE(world.cursorHidden) << i;
  }
  controller.OnTimer({10, 500, true});  // the 15th still tick after the first
  EXPECT_TRUE(world.cursorHidden);
  controller.OnTimer({11, 500, true});  // motion brings it back at once
  EXPECT_FALSE(world.cursorHidden);
  EXPECT_EQ(controller.IdleTicks(), 0);
  for (int i = 0; i < 20; ++i) controller.OnTimer({11, 500, false});  // inactive window
  EXPECT_FALSE(world.cursorHidden);
  for (int i = 0; i < 20; ++i) controller.OnTimer({11, 500, true});
  EXPECT_TRUE(world.cursorHidden);
  world.fullScreen = false;
  controller.OnTimer({11, 500, true});
  EXPECT_FALSE(world.cursorHidden);
}

// ---- popup menus -------------------------------------------------------------

TEST(PopupMenus, SeekCaptionsCarryTheSteps) {
  FakeWorld world;
  world.shortStep = 10;
  world.longStep = 60;
  const MainMenuState s = PrepareMainMenu(world.Ports());
  EXPECT_EQ(s.rewind, "10초 되감기");
  EXPECT_EQ(s.fastFind, "10초 빨리감기");
  EXPECT_EQ(s.rewind2, "60초 되감기");
  EXPECT_EQ(s.fastFind2, "60초 빨리감기");
}

TEST(PopupMenus, StreamItemsAreAtMostTenAndMarkTheSelected) {
  FakeWorld world;
  EXPECT_FALSE(PrepareMainMenu(world.Ports()).changeStreamEnabled);
  for (int i = 0; i < 12; ++i) world.player.names.push_back("s" + std::to_string(i));
  world.player.selected = 3;
  const MainMenuState s = PrepareMainMenu(world.Ports());
  EXPECT_TRUE(s.changeStreamEnabled);
  ASSERT_EQ(s.streams.size(), 10u);
  EXPECT_EQ(s.streams[0].caption, "언어1 : s0");
  EXPECT_EQ(s.streams[9].caption, "언어10 : s9");
  EXPECT_TRUE(s.streams[3].checked);
  EXPECT_FALSE(s.streams[2].checked);
}

TEST(PopupMenus, SkinAndPlaylistItemsMarkTheCurrentOne) {
  FakeWorld world;
  world.skins = {"Blue", "Default"};
  world.currentSkin = "Default";
  world.entries = {"a.avi", "b.avi"};
  world.current = 1;
  const MainMenuState s = PrepareMainMenu(world.Ports());
  ASSERT_EQ(s.skins.size(), 2u);
  EXPECT_FALSE(s.skins[0].checked);
  EXPECT_TRUE(s.skins[1].checked);
  ASSERT_EQ(s.entries.size(), 2u);
  EXPECT_EQ(s.entries[0].caption, "1 : a.avi");
  EXPECT_EQ(s.entries[1].caption, "2 : b.avi");
  EXPECT_TRUE(s.entries[1].checked);
}

TEST(PopupMenus, ChecksFollowTheObjects) {
  FakeWorld world;
  world.fullScreen = true;
  world.captionsOn = false;
  world.fontBold = true;
  world.antiAliase = false;
  MainMenuState s = PrepareMainMenu(world.Ports());
  EXPECT_TRUE(s.fullScreen);
  EXPECT_FALSE(s.captionsOn);
  EXPECT_TRUE(s.fontBold);
  EXPECT_FALSE(s.antiAliase);
  EXPECT_FALSE(s.openCaptionEnabled);
  world.hasPicture = true;
  EXPECT_TRUE(PrepareMainMenu(world.Ports()).openCaptionEnabled);
}

// Every item names an action of the table, and the filled submenus start with
// exactly the fixed items the filling keeps.
void CheckActions(const std::vector<MenuNode>& nodes) {
  for (const MenuNode& n : nodes) {
    if (!n.action.empty()) {
      EXPECT_NE(FindCommand(n.action), nullptr) << n.action;
    }
    CheckActions(n.children);
  }
}

const MenuNode* FindNode(const std::vector<MenuNode>& nodes, const std::string& name) {
  for (const MenuNode& n : nodes) {
    if (n.name == name) return &n;
    if (const MenuNode* found = FindNode(n.children, name)) return found;
  }
  return nullptr;
}

TEST(PopupMenus, MenusAreBuiltFromTheTable) {
  const auto main = MainMenuItems();
  CheckActions(main);
  CheckActions(PlayListMenuItems());
  EXPECT_EQ(FindNode(main, "mnuSound")->children.size(), size_t{kSoundFixedItems});
  EXPECT_EQ(FindNode(main, "mnuSkin")->children.size(), size_t{kSkinFixedItems});
  EXPECT_EQ(FindNode(main, "mnuPlayList")->children.size(), size_t{kPlayListFixedItems});
  EXPECT_EQ(FindNode(main, "actCaptionSizeUp")->caption, "크게");
  EXPECT_EQ(FindNode(main, "actEditConfig")->caption, "환경 설정...");
  EXPECT_EQ(FindNode(main, "mnuRewind")->action, "actRewind");
  EXPECT_EQ(FindNode(main, "actPlayPre")->caption, "이전 동영상");
  EXPECT_EQ(PlayListMenuItems().size(), 7u);
  EXPECT_TRUE(PlayListMenuItems()[5].IsSeparator());
}

}  // namespace
}  // namespace orves
