#include "player/controller/MainController.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "player/core/MediaPlayer.h"
#include "player/core/Paths.h"

namespace orves {

namespace {

using Handler = void (*)(TMainController&, const ControllerServices&);

// The cursor hiding counts ticks only while the cursor stands still over
// the active window.
bool CursorStill(const TickInput& input, int lastX, int lastY) {
  return input.windowActive && input.cursorX == lastX && input.cursorY == lastY;
}

}  // namespace

// Every action of the command table with its handler; a null handler is an
// action that exists but does nothing.
struct TMainController::Table {
  static const std::vector<std::pair<const char*, Handler>>& Entries() {
    static const std::vector<std::pair<const char*, Handler>> entries = Build();
    return entries;
  }

  static std::vector<std::pair<const char*, Handler>> Build() {
    using C = TMainController;
    using P = const ControllerServices&;
    return {
        {"actOpen", [](C& c, P) { c.OpenMovies(); }},
        {"actClose", [](C&, P p) { p.playList.Clear(); }},
        {"actOpenCaption", [](C& c, P) { c.OpenCaption(); }},
        {"actOpenInternetFile", [](C& c, P) { c.OpenInternetFile(); }},
        {"actEditConfig", [](C&, P p) { p.window.EditConfig(); }},
        {"actHelp", [](C&, P p) { p.window.OpenWebPage(kHelpPage); }},
        {"actExit", [](C&, P p) { p.window.CloseWindow(); }},
        {"actFontConfig", nullptr},
        {"actProperty", nullptr},
        {"actPlayPause", [](C& c, P) { c.PlayPause(); }},
        {"actPlay", [](C& c, P) { c.Play(); }},
        {"actPause", [](C&, P p) { p.media.Pause(); }},
        {"actStop", [](C&, P p) { p.media.Stop(); }},
        {"actFastFind", [](C&, P p) { p.media.FastFind(); }},
        {"actRewind", [](C&, P p) { p.media.Rewind(); }},
        {"actFastFind2", [](C&, P p) { p.media.FastFind2(); }},
        {"actRewind2", [](C&, P p) { p.media.Rewind2(); }},
        {"actVolumeUp", [](C&, P p) { p.movie.VolumeUp(); }},
        {"actVolumeDown", [](C&, P p) { p.movie.VolumeDown(); }},
        {"actToggleMute", [](C& c, P) { c.ToggleMute(); }},
        {"actBrightnessUp", [](C&, P p) { p.movie.BrightnessUp(); }},
        {"actBrightnessDown", [](C&, P p) { p.movie.BrightnessDown(); }},
        {"actSpeedUp", [](C&, P p) { p.media.SpeedUp(); }},
        {"actSpeedDown", [](C&, P p) { p.media.SpeedDown(); }},
        {"actChangeStream", [](C& c, P) { c.ChangeStream(); }},
        {"actToggleFullScreen", [](C&, P p) { p.layout.ToggleFullScreen(); }},
        {"actToggleFullScreenBar", [](C&, P p) { p.layout.ToggleFullScreenBar(); }},
        {"actMinimize", [](C& c, P) { c.Minimize(); }},
        {"actScreenHalf", [](C&, P p) { p.layout.Zoom(0.5); }},
        {"actScreenOne", [](C&, P p) { p.layout.Zoom(1.0); }},
        {"actScreenOneHalf", [](C&, P p) { p.layout.Zoom(1.5); }},
        {"actScreenTwo", [](C&, P p) { p.layout.Zoom(2.0); }},
        {"actMinusCuttingBlock", [](C&, P p) { p.movie.MinusCuttingBlock(); }},
        {"actAddCuttingBlock", [](C&, P p) { p.movie.AddCuttingBlock(); }},
        {"actToggleShowTime", [](C&, P p) { p.stateText.SetShowTime(!p.stateText.ShowTime()); }},
        {"actChangeSkin", [](C& c, P) { c.ChangeSkin(); }},
        {"actDownloadSkin", [](C&, P p) { p.window.OpenWebPage(kSkinDownloadPage); }},
        {"actTogglePlayList", [](C&, P p) { p.playList.TogglePanel(); }},
        {"actPlayPre", [](C&, P p) { p.playList.PlayPrevious(); }},
        {"actPlayNext", [](C&, P p) { p.playList.PlayNext(); }},
        {"actPlayListAdd", [](C& c, P) { c.AddMovies(); }},
        {"actPlayListDelete", [](C& c, P) { c.DeleteSelectedEntries(); }},
        {"actSavePlayList", [](C& c, P) { c.SavePlayList(); }},
        {"actClear", [](C&, P p) { p.playList.Clear(); }},
        {"actDeleteNotExist", [](C&, P p) { p.playList.DeleteMissing(); }},
        {"actAutoSort", [](C&, P p) { p.playList.ToggleAutoSort(); }},
        {"actShowCaptionToggle", [](C&, P p) { p.media.ToggleCaption(); }},
        {"actPresetNormal", [](C&, P p) { p.window.ApplyPreset(1); }},
        {"actPresetCaption", [](C&, P p) { p.window.ApplyPreset(2); }},
        {"actPreset169", [](C&, P p) { p.window.ApplyPreset(3); }},
        {"actPreset43", [](C&, P p) { p.window.ApplyPreset(4); }},
        {"actPresetLow", [](C&, P p) { p.window.ApplyPreset(5); }},
        {"actAddSyncPlus1cs", [](C&, P p) { p.captions.ShiftSync(0.1); }},
        {"actMinusSyncPlus1cs", [](C&, P p) { p.captions.ShiftSync(-0.1); }},
        {"actAddSyncPlus1s", [](C&, P p) { p.captions.ShiftSync(1.0); }},
        {"actMinusSyncPlus1s", [](C&, P p) { p.captions.ShiftSync(-1.0); }},
        {"actSyncPlusZero", [](C&, P p) { p.captions.SetSyncOffset(0); }},
        {"actChangeLanguage", [](C&, P p) { p.captions.SwitchLanguage(); }},
        {"actChangeLanguageAndPlayPause",
         [](C& c, P p) {
           c.PlayPause();
           p.captions.SwitchLanguage();
         }},
        {"actCaptionMoveUp", [](C&, P p) { p.captions.CaptionMoveUp(); }},
        {"actCaptionMoveDown", [](C&, P p) { p.captions.CaptionMoveDown(); }},
        {"actUpHeightRateShortCut1", [](C&, P p) { p.captions.ApplyPositionPreset(1); }},
        {"actUpHeightRateShortCut2", [](C&, P p) { p.captions.ApplyPositionPreset(2); }},
        {"actUpHeightRateShortCut3", [](C&, P p) { p.captions.ApplyPositionPreset(3); }},
        {"actCaptionSizeUp", [](C&, P p) { p.captions.CaptionSizeUp(); }},
        {"actCaptionSizeDown", [](C&, P p) { p.captions.CaptionSizeDown(); }},
        {"actOutLineRatePlus", [](C&, P p) { p.captions.OutLineRatePlus(); }},
        {"actOutLineRateMinus", [](C&, P p) { p.captions.OutLineRateMinus(); }},
        {"actShadowRatePlus", [](C&, P p) { p.captions.ShadowRatePlus(); }},
        {"actShadowRateMinus", [](C&, P p) { p.captions.ShadowRateMinus(); }},
        {"actToggleAntiAliase", [](C&, P p) { p.captions.ToggleAntiAliase(); }},
        {"actToggleFontBold", [](C&, P p) { p.captions.ToggleFontBold(); }},
        {"actSaveCaption", [](C& c, P) { c.SaveCaption(); }},
    };
  }
};

// The keyboard's mute key: the volume stays as set, the sound goes off or on.
void TMainController::ToggleMute() {
  const bool mute = !p_.player.Mute();
  p_.player.SetMute(mute);
  if (mute) {
    p_.stateText.ShowState("음소거", "MUTE");
  } else {
    p_.stateText.ShowState("음소거 해제", "SOUND ON");
  }
}

bool TMainController::Execute(std::string_view action) {
  for (const auto& [name, handler] : Table::Entries()) {
    if (action == name) {
      if (handler != nullptr) {
        handler(*this, p_);
      }
      return true;
    }
  }
  return false;
}

bool TMainController::ExecuteKey(KeyStroke key) {
  const CommandSpec* command = CommandForKey(key);
  return command != nullptr && Execute(command->name);
}

void TMainController::RunArea(const AreaPress& press) {
  switch (press.effect) {
    case AreaPress::Effect::Action:
      Execute(press.action);
      break;
    case AreaPress::Effect::Seek:
      p_.media.SeekTo(press.share * p_.media.Duration());
      break;
    case AreaPress::Effect::Volume:
      p_.movie.SetVolume(press.volume);
      break;
    default:
      break;  // the gestures' own (popup menu, minimise), or nothing
  }
}

// ---- playback --------------------------------------------------------------

void TMainController::PlayPause() {
  if (p_.media.PlayState() == kPlayStatePlaying) {
    p_.media.Pause();
  } else {
    Play();
  }
}

void TMainController::Play() {
  if (p_.media.HasPicture()) {
    p_.media.Play();
  } else {
    p_.playList.PlayCurrent();
  }
}

void TMainController::ChangeStream() {
  const int count = p_.player.StreamCount();
  for (int i = 0; i < count; ++i) {
    if (p_.player.GetStreamSelected(i)) {
      p_.movie.SelectAudioStream((i + 1) % count);
      return;
    }
  }
}

void TMainController::SelectStream(int stream) { p_.movie.SelectAudioStream(stream); }

void TMainController::SelectCaptionTrack(int track) { p_.media.ChooseMovieTrack(track); }

// ---- files -----------------------------------------------------------------

void TMainController::OpenMovies() {
  p_.media.Pause();
  const std::vector<std::string> files = p_.window.ChooseMovies(MovieDialog::Open);
  if (files.empty()) {
    return;
  }
  newlyOpened_ = true;
  p_.window.SetDefaultMovieFolder(FolderOf(files.front()));
  p_.playList.Clear();
  for (const std::string& file : files) {
    p_.playList.Add(file);
  }
  p_.playList.PlayIndex(0);
}

// As opening, but nothing pauses, the list is kept and nothing starts.
void TMainController::AddMovies() {
  const std::vector<std::string> files = p_.window.ChooseMovies(MovieDialog::Add);
  if (files.empty()) {
    return;
  }
  newlyOpened_ = true;
  p_.window.SetDefaultMovieFolder(FolderOf(files.front()));
  for (const std::string& file : files) {
    p_.playList.Add(file);
  }
}

void TMainController::OpenCaption() {
  if (!p_.media.HasPicture()) {
    return;
  }
  const std::optional<std::string> file = p_.window.ChooseCaptionToOpen();
  if (!file) {
    return;
  }
  p_.window.SetDefaultCaptionFolder(FolderOf(*file));
  p_.window.LoadCaptionFile(*file);
}

void TMainController::OpenInternetFile() {
  if (const std::optional<std::string> address = p_.window.AskAddress()) {
    p_.media.Open(*address, {});
  }
}

void TMainController::SavePlayList() {
  if (const std::optional<std::string> file = p_.window.ChoosePlayListToSave()) {
    p_.playList.SaveList(*file);
  }
}

void TMainController::SaveCaption() {
  if (const std::optional<std::string> file = p_.window.ChooseCaptionToSave()) {
    p_.window.SaveCaptionFile(*file);
  }
}

// Rows are collected first and deleted from the last, so the rows still to
// go keep their indices.
void TMainController::DeleteSelectedEntries() {
  if (!p_.window.PlayListHasFocus() || !p_.window.PlayListVisible()) {
    return;
  }
  std::vector<int> rows = p_.window.SelectedPlayListRows();
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    p_.playList.Delete(*row);
  }
}

void TMainController::Minimize() {
  if (p_.layout.PauseAtMinimize()) {
    p_.media.Pause();
  }
  p_.layout.MinimizeWindow();
}

// ---- skins -----------------------------------------------------------------

void TMainController::ChangeSkin() {
  p_.window.NotifyDesktopOfSkinChange();
  const std::vector<std::string> names = p_.skin.SkinNames();
  if (names.empty()) {
    return;
  }
  // The last match wins; a skin not in the folder counts as the first.
  size_t current = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == p_.skin.CurrentSkin()) {
      current = i;
    }
  }
  SelectSkin(names[(current + 1) % names.size()]);
  p_.stateText.ShowState("스킨 적용", "SKIN CHANGED");
}

void TMainController::SelectSkin(const std::string& name) {
  p_.skin.LoadSkin(name);
  int width = 0;
  int height = 0;
  p_.window.WindowSize(width, height);
  p_.layout.ResizeKeepingAspect(width, height);
}

// ---- control events --------------------------------------------------------

void TMainController::OnPlayStateChange(int oldState, int newState) {
  if (oldState != kPlayStateStopped || newState != kPlayStatePlaying) {
    return;
  }
  p_.layout.ApplyStartSize(newlyOpened_);
  newlyOpened_ = false;
  p_.media.ResumeBookmark();
}

void TMainController::OnBuffering(bool start) {
  if (start) {
    p_.stateText.ShowState("버퍼링중...", "BUFFERING...");
  } else {
    p_.media.ShowPlayingMessage();
  }
}

// ---- main timer ------------------------------------------------------------

void TMainController::OnTimer(const TickInput& input) {
  EndOfMovie();
  p_.stateText.Tick();
  p_.media.PollMovieCaptions();
  p_.captions.UpdateCaption();
  p_.skin.PaintTexts();
  p_.skin.PlaceThumbs();
  p_.playList.TickPanel(input.cursorX, input.cursorY);
  TickFullScreenBar(input);
  TickCursor(input);
  lastCursorX_ = input.cursorX;
  lastCursorY_ = input.cursorY;
}

// A position equal to the duration is the end of the movie. With nothing
// open both read 0, which is no end: without this test the playlist would
// be started again on every tick. The end is handled once when it is
// reached, not on every tick it lasts: at the end of the last entry the
// bookmark would otherwise be written five times a second for as long as the
// player stays there.
void TMainController::EndOfMovie() {
  const double duration = p_.media.HasPicture() ? p_.media.Duration() : 0;
  const bool atEnd = duration > 0 && p_.media.CurrentPosition() == duration;
  if (atEnd && !atEnd_) {
    p_.media.SaveBookmark();
    p_.playList.PlayNext();
  }
  atEnd_ = atEnd;
}

void TMainController::TickFullScreenBar(const TickInput& input) {
  if (!p_.layout.IsFullScreen()) {
    p_.layout.HideFullScreenBar();
  } else if (p_.layout.AlwaysShowFullScreenBar() || input.cursorY <= 2 * p_.skin.FullScreenBarHeight()) {
    p_.layout.ShowFullScreenBar();
  } else {
    p_.layout.HideFullScreenBar();
  }
}

void TMainController::TickCursor(const TickInput& input) {
  if (!p_.layout.IsFullScreen()) {
    idleTicks_ = 0;
    p_.layout.ShowMouseCursor();
    return;
  }
  idleTicks_ = CursorStill(input, lastCursorX_, lastCursorY_) ? idleTicks_ + 1 : 0;
  if (idleTicks_ >= kCursorHideTicks) {
    p_.layout.HideMouseCursor();
  } else {
    p_.layout.ShowMouseCursor();
  }
}

}  // namespace orves
