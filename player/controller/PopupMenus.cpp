#include "player/controller/PopupMenus.h"

#include "player/controller/CommandTable.h"
#include "player/controller/MainController.h"

namespace orves {

namespace {

MenuNode Act(const char* action, const char* name = nullptr, const char* caption = nullptr) {
  const CommandSpec* spec = FindCommand(action);
  MenuNode node;
  node.name = name != nullptr ? name : action;
  node.action = action;
  node.caption = caption != nullptr ? caption : (spec != nullptr ? spec->caption : action);
  return node;
}

MenuNode Separator() { return MenuNode{"-", "", "", {}}; }

MenuNode Sub(const char* name, const char* caption, std::vector<MenuNode> children) {
  return MenuNode{name, "", caption, std::move(children)};
}

MenuNode CaptionMenu() {
  return Sub(
      "mnuCaption", "자막 설정",
      {Act("actShowCaptionToggle", "mnuShowCaptionToggle"), Act("actToggleAntiAliase", "mnuAntiAliase"),
       Sub("mnuCaptionPlace", "위치 조절",
           {Act("actUpHeightRateShortCut1"), Act("actUpHeightRateShortCut2"), Act("actUpHeightRateShortCut3"),
            Act("actCaptionMoveUp"), Act("actCaptionMoveDown")}),
       Sub("mnuCaptionFont", "폰트 조절",
           {Act("actCaptionSizeUp", nullptr, "크게"), Act("actCaptionSizeDown", nullptr, "작게"),
            Act("actToggleFontBold"), Act("actOutLineRatePlus"), Act("actOutLineRateMinus"),
            Act("actShadowRatePlus"), Act("actShadowRateMinus")}),
       Sub("mnuCaptionLanguage", "언어 설정",
           {Act("actChangeLanguage"), Act("actChangeLanguageAndPlayPause")}),
       Sub("mnuCaptionSync", "싱크(타이밍) 조절",
           {Act("actSyncPlusZero"), Act("actMinusSyncPlus1s"), Act("actAddSyncPlus1s"),
            Act("actMinusSyncPlus1cs"), Act("actAddSyncPlus1cs")}),
       Act("actSaveCaption")});
}

MenuNode ScreenMenu() {
  return Sub(
      "mnuScreen", "화면 설정",
      {Act("actToggleFullScreen", "mnuToggleFullScreen"), Act("actMinimize"),
       Act("actToggleFullScreenBar", "mnuToggleFullScreenBar"), Act("actToggleShowTime", "mnuToggleShowTime"),
       Act("actMinusCuttingBlock", nullptr, "양쪽 자르기 (팬스캔) 감소"),
       Act("actAddCuttingBlock", nullptr, "양쪽 자르기 (팬스캔) 증가"), Act("actScreenHalf"),
       Act("actScreenOne"), Act("actScreenOneHalf"), Act("actScreenTwo")});
}

}  // namespace

std::vector<MenuNode> MainMenuItems() {
  return {
      Act("actOpen"),
      Act("actOpenCaption", "mnuOpenCaption"),
      Act("actOpenInternetFile"),
      Act("actClose"),
      Separator(),
      Sub("mnuMovie", "동영상 제어",
          {Act("actPlayPause"), Act("actStop"), Act("actRewind", "mnuRewind"),
           Act("actFastFind", "mnuFastFind"), Act("actRewind2", "mnuRewind2"),
           Act("actFastFind2", "mnuFastFind2"), Separator(), Act("actSpeedUp"), Act("actSpeedDown")}),
      Sub("mnuPlayList", "플레이 리스트",
          {Act("actTogglePlayList", "mnuTogglePlayList"), Act("actPlayPre"), Act("actPlayNext")}),
      Separator(),
      Sub("mnuPreset", "프리셋 바꾸기",
          {Act("actPresetNormal"), Act("actPresetCaption"), Act("actPreset169"), Act("actPreset43"),
           Act("actPresetLow")}),
      Act("actEditConfig", nullptr, "환경 설정..."),
      CaptionMenu(),
      ScreenMenu(),
      Sub("mnuSound", "음향 설정",
          {Act("actVolumeUp"), Act("actVolumeDown"), Separator(), Act("actChangeStream", "mnuChangeStream")}),
      Sub("mnuSkin", "스킨 설정", {Act("actChangeSkin"), Act("actDownloadSkin"), Separator()}),
      Separator(),
      Act("actHelp"),
      Act("actExit"),
  };
}

std::vector<MenuNode> PlayListMenuItems() {
  return {Act("actPlayListAdd"),    Act("actPlayListDelete"),          Act("actClear"),
          Act("actDeleteNotExist"), Act("actAutoSort", "mnuAutoSort"), Separator(),
          Act("actSavePlayList")};
}

std::string SeekCaption(int seconds, bool forward) {
  return std::to_string(seconds) + (forward ? "초 빨리감기" : "초 되감기");
}

MainMenuState PrepareMainMenu(const ControllerServices& p) {
  MainMenuState s;
  s.fullScreen = p.layout.IsFullScreen();
  s.captionsOn = p.media.CaptionsOn();
  s.openCaptionEnabled = p.media.HasPicture();
  s.playListPanel = p.playList.PanelEnabled();
  s.antiAliase = p.captions.AntiAliase();
  s.showTime = p.stateText.ShowTime();
  s.alwaysShowFullScreenBar = p.layout.AlwaysShowFullScreenBar();
  s.fontBold = p.captions.FontBold();
  s.rewind = SeekCaption(p.media.ShortStep(), false);
  s.fastFind = SeekCaption(p.media.ShortStep(), true);
  s.rewind2 = SeekCaption(p.media.LongStep(), false);
  s.fastFind2 = SeekCaption(p.media.LongStep(), true);

  const int tracks = p.player.TextTrackCount();
  for (int n = 0; n < tracks && n < kMaxCaptionTrackItems; ++n) {
    s.captionTracks.push_back(
        {"자막" + std::to_string(n + 1) + " : " + p.player.TextTrack(n).name, p.media.MovieTrackInUse(n)});
  }
  const int streams = p.player.StreamCount();
  s.changeStreamEnabled = streams != 0;
  for (int n = 0; n < streams && n < kMaxStreamItems; ++n) {
    s.streams.push_back(
        {"언어" + std::to_string(n + 1) + " : " + p.player.GetStreamName(n), p.player.GetStreamSelected(n)});
  }
  const std::string currentSkin = p.skin.CurrentSkin();
  for (const std::string& name : p.skin.SkinNames()) {
    s.skins.push_back({name, name == currentSkin});
  }
  for (int j = 0; j < p.playList.Count(); ++j) {
    s.entries.push_back(
        {std::to_string(j + 1) + " : " + p.playList.DisplayName(j), j == p.playList.Current()});
  }
  return s;
}

}  // namespace orves
