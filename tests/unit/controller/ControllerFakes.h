#pragma once
// One fake behind every port of the controller: it records each call as a
// line ("media.Pause", "playList.Add C:\\a.avi") and answers queries from
// plain fields, so a test states the situation and reads back what happened.
#include <optional>
#include <string>
#include <vector>

#include "player/controller/MainController.h"
#include "tests/unit/core/NullServices.h"

namespace orves::test {

// The control's audio streams.
class FakeStreams final : public testing::NullMediaPlayer {
 public:
  int StreamCount() const override { return static_cast<int>(names.size()); }
  std::string GetStreamName(int n) const override { return names.at(static_cast<size_t>(n)); }
  bool GetStreamSelected(int n) const override { return n == selected; }
  void SetMute(bool on) override { mute = on; }
  bool Mute() const override { return mute; }
  std::vector<std::string> names;
  int selected = -1;
  bool mute = false;
};

class FakeWorld final : public IMedia,
                        public IMovie,
                        public IPlayList,
                        public ILayout,
                        public ISkin,
                        public ICaptions,
                        public IStateText,
                        public IControllerWindow {
 public:
  std::vector<std::string> calls;
  void Log(std::string line) { calls.push_back(std::move(line)); }
  bool Called(const std::string& line) const {
    for (const auto& c : calls) {
      if (c == line) return true;
    }
    return false;
  }

  ControllerServices Ports() {
    return ControllerServices{*this, *this, player, *this, *this, *this, *this, *this, *this};
  }
  FakeStreams player;

  // Situation.
  bool hasPicture = false;
  int playState = 0;
  double position = 0;
  double duration = 0;
  bool captionsOn = true;
  int shortStep = 10;
  int longStep = 60;
  std::vector<std::string> entries;
  int current = 0;
  bool autoSort = true;
  bool panelEnabled = false;
  bool fullScreen = false;
  bool alwaysBar = false;
  bool pauseAtMinimize = false;
  std::vector<std::string> skins;
  std::string currentSkin;
  int barHeight = 30;
  bool antiAliase = true;
  bool fontBold = false;
  bool showTime = false;
  std::string captionFile;
  bool hasCaptions = true;
  std::vector<std::string> chosenMovies;
  std::optional<std::string> chosenFile;
  bool playListFocus = false;
  bool playListVisible = false;
  std::vector<int> selectedRows;
  int windowWidth = 400;
  int windowHeight = 300;
  bool cursorHidden = false;

  // IMedia
  bool HasPicture() const override { return hasPicture; }
  int PictureWidth() const override { return hasPicture ? 640 : 0; }
  int PictureHeight() const override { return 480; }
  bool Open(const std::string& name, const std::vector<std::filesystem::path>&) override {
    Log("media.Open " + name);
    return true;
  }
  void Close() override { Log("media.Close"); }
  void Reload() override { Log("media.Reload"); }
  int PlayState() const override { return playState; }
  double CurrentPosition() const override { return position; }
  double Duration() const override { return duration; }
  void Play() override { Log("media.Play"); }
  void Pause() override { Log("media.Pause"); }
  void Stop() override { Log("media.Stop"); }
  void FastFind() override { Log("media.FastFind"); }
  void Rewind() override { Log("media.Rewind"); }
  void FastFind2() override { Log("media.FastFind2"); }
  void Rewind2() override { Log("media.Rewind2"); }
  void SpeedUp() override { Log("media.SpeedUp"); }
  void SpeedDown() override { Log("media.SpeedDown"); }
  void ToggleCaption() override { Log("media.ToggleCaption"); }
  void SeekTo(double s) override { Log("media.SeekTo " + std::to_string(static_cast<int>(s))); }
  bool CaptionsOn() const override { return captionsOn; }
  int ShortStep() const override { return shortStep; }
  int LongStep() const override { return longStep; }
  void ResumeBookmark() override { Log("media.ResumeBookmark"); }
  void SaveBookmark() override { Log("media.SaveBookmark"); }
  void ShowPlayingMessage() const override { const_cast<FakeWorld*>(this)->Log("media.ShowPlayingMessage"); }
  void PollMovieCaptions() override {}
  void ChooseMovieTrack(int track) override { Log("media.ChooseMovieTrack " + std::to_string(track)); }
  bool MovieTrackInUse(int) const override { return false; }

  // IMovie
  void VolumeUp() override { Log("movie.VolumeUp"); }
  void VolumeDown() override { Log("movie.VolumeDown"); }
  void SetVolume(int v) override { Log("movie.SetVolume " + std::to_string(v)); }
  void BrightnessUp() override { Log("movie.BrightnessUp"); }
  void BrightnessDown() override { Log("movie.BrightnessDown"); }
  void AddCuttingBlock() override { Log("movie.AddCuttingBlock"); }
  void MinusCuttingBlock() override { Log("movie.MinusCuttingBlock"); }
  void SelectAudioStream(int n) override { Log("movie.SelectAudioStream " + std::to_string(n)); }

  // IPlayList
  void Clear() override { Log("playList.Clear"); }
  void Add(const std::string& p) override { Log("playList.Add " + p); }
  void Delete(int i) override { Log("playList.Delete " + std::to_string(i)); }
  void DeleteMissing() override { Log("playList.DeleteMissing"); }
  void PlayIndex(int i) override { Log("playList.PlayIndex " + std::to_string(i)); }
  void PlayCurrent() override { Log("playList.PlayCurrent"); }
  void PlayNext() override { Log("playList.PlayNext"); }
  void PlayPrevious() override { Log("playList.PlayPrevious"); }
  void ToggleAutoSort() override { Log("playList.ToggleAutoSort"); }
  void TogglePanel() override { Log("playList.TogglePanel"); }
  void SaveList(const std::string& p) const override {
    const_cast<FakeWorld*>(this)->Log("playList.SaveList " + p);
  }
  int ItemIndex() const override { return entries.empty() ? -1 : current; }
  int Count() const override { return static_cast<int>(entries.size()); }
  int Current() const override { return current; }
  std::string DisplayName(int i) const override { return entries.at(static_cast<size_t>(i)); }
  bool AutoSort() const override { return autoSort; }
  bool PanelEnabled() const override { return panelEnabled; }
  void TickPanel(int x, int y) override {
    Log("playList.TickPanel " + std::to_string(x) + "," + std::to_string(y));
  }
  void ArrangePanel() override { Log("playList.ArrangePanel"); }

  // ILayout
  bool IsFullScreen() const override { return fullScreen; }
  bool AlwaysShowFullScreenBar() const override { return alwaysBar; }
  void ToggleFullScreen() override { Log("layout.ToggleFullScreen"); }
  void ToggleFullScreenBar() override { Log("layout.ToggleFullScreenBar"); }
  bool PauseAtMinimize() const override { return pauseAtMinimize; }
  void MinimizeWindow() override { Log("layout.MinimizeWindow"); }
  void Zoom(double f) override { Log("layout.Zoom " + std::to_string(f).substr(0, 3)); }
  void ShowFullScreenBar() override { Log("layout.ShowFullScreenBar"); }
  void HideFullScreenBar() override { Log("layout.HideFullScreenBar"); }
  void ShowMouseCursor() override { cursorHidden = false; }
  void HideMouseCursor() override { cursorHidden = true; }
  void HideMovieForResize() override { Log("layout.HideMovieForResize"); }
  void ShowMovieAfterResize() override { Log("layout.ShowMovieAfterResize"); }
  void ResizeKeepingAspect(int w, int h) override {
    Log("layout.ResizeKeepingAspect " + std::to_string(w) + "x" + std::to_string(h));
  }
  void ResizeKeepingAspect() override { Log("layout.ResizeKeepingAspect"); }
  void ResizeFromCurrentHeight() override { Log("layout.ResizeFromCurrentHeight"); }
  AreaPress HitTest(int, int) override { return {}; }
  bool CaptionPanelVisible() const override { return true; }
  void ApplyStartSize(bool newlyOpened) override {
    Log(std::string("layout.ApplyStartSize ") + (newlyOpened ? "new" : "old"));
  }

  // ISkin
  std::vector<std::string> SkinNames() const override { return skins; }
  std::string CurrentSkin() const override { return currentSkin; }
  void LoadSkin(const std::string& n) override { Log("skin.LoadSkin " + n); }
  int FullScreenBarHeight() const override { return barHeight; }
  void PaintTexts() override { Log("skin.PaintTexts"); }
  void PlaceThumbs() override { Log("skin.PlaceThumbs"); }
  int ThumbLeft(int) const override { return 0; }
  void ThumbLimits(int, int& minLeft, int& maxLeft) const override { minLeft = maxLeft = 0; }
  void MoveThumb(int, int) override {}
  void ThumbReleasePoint(int, int& x, int& y) const override { x = y = 0; }

  // ICaptions
  void ShiftSync(double s) override { Log("captions.ShiftSync " + std::to_string(s).substr(0, 4)); }
  void SetSyncOffset(double s) override { Log("captions.SetSyncOffset " + std::to_string(s).substr(0, 3)); }
  void SwitchLanguage() override { Log("captions.SwitchLanguage"); }
  void CaptionMoveUp() override { Log("captions.CaptionMoveUp"); }
  void CaptionMoveDown() override { Log("captions.CaptionMoveDown"); }
  void ApplyPositionPreset(int n) override { Log("captions.ApplyPositionPreset " + std::to_string(n)); }
  void CaptionSizeUp() override { Log("captions.CaptionSizeUp"); }
  void CaptionSizeDown() override { Log("captions.CaptionSizeDown"); }
  void OutLineRatePlus() override { Log("captions.OutLineRatePlus"); }
  void OutLineRateMinus() override { Log("captions.OutLineRateMinus"); }
  void ShadowRatePlus() override { Log("captions.ShadowRatePlus"); }
  void ShadowRateMinus() override { Log("captions.ShadowRateMinus"); }
  void ToggleAntiAliase() override { Log("captions.ToggleAntiAliase"); }
  void ToggleFontBold() override { Log("captions.ToggleFontBold"); }
  bool AntiAliase() const override { return antiAliase; }
  bool FontBold() const override { return fontBold; }
  void UpdateCaption() override { Log("captions.UpdateCaption"); }
  void LoadCaptionFile(const std::filesystem::path& p) override {
    Log("captions.LoadCaptionFile " + p.string());
  }
  void LoadCaptionFiles(const std::vector<std::filesystem::path>& files) override {
    for (const auto& p : files) Log("captions.LoadCaptionFile " + p.string());
  }
  void LoadMovieTracks(const std::vector<TLoadedTextTrack>&, bool) override {}
  void ClearCaptions() override { Log("captions.ClearCaptions"); }
  std::filesystem::path CaptionFileName() const override { return captionFile; }
  bool HasCaptions() const override { return hasCaptions; }
  int CaptionRise() const override { return 0; }
  int CaptionBand() const override { return 0; }

  // IStateText
  void ShowState(const std::string& k, const std::string& e) override { Log("state " + k + " / " + e); }
  void Tick() override { Log("stateText.Tick"); }
  bool ShowTime() const override { return showTime; }
  void SetShowTime(bool on) override { showTime = on; }

  // IControllerWindow
  std::vector<std::string> ChooseMovies(MovieDialog d) override {
    Log(d == MovieDialog::Open ? "window.ChooseMovies open" : "window.ChooseMovies add");
    return chosenMovies;
  }
  std::optional<std::string> ChooseCaptionToOpen() override {
    Log("window.ChooseCaptionToOpen");
    return chosenFile;
  }
  std::optional<std::string> ChoosePlayListToSave() override {
    Log("window.ChoosePlayListToSave");
    return chosenFile;
  }
  std::optional<std::string> ChooseCaptionToSave() override {
    Log("window.ChooseCaptionToSave");
    return chosenFile;
  }
  std::optional<std::string> AskAddress() override {
    Log("window.AskAddress");
    return chosenFile;
  }
  void SetDefaultMovieFolder(const std::string& f) override { Log("window.MovieFolder " + f); }
  void SetDefaultCaptionFolder(const std::string& f) override { Log("window.CaptionFolder " + f); }
  void LoadCaptionFile(const std::string& p) override { Log("window.LoadCaptionFile " + p); }
  void SaveCaptionFile(const std::string& p) override { Log("window.SaveCaptionFile " + p); }
  void OpenWebPage(const std::string& p) override { Log("window.OpenWebPage " + p); }
  void EditConfig() override { Log("window.EditConfig"); }
  void ApplyPreset(int n) override { Log("window.ApplyPreset " + std::to_string(n)); }
  void CloseWindow() override { Log("window.CloseWindow"); }
  void NotifyDesktopOfSkinChange() override { Log("window.NotifyDesktop"); }
  void WindowSize(int& w, int& h) const override {
    w = windowWidth;
    h = windowHeight;
  }
  bool PlayListHasFocus() const override { return playListFocus; }
  bool PlayListVisible() const override { return playListVisible; }
  std::vector<int> SelectedPlayListRows() const override { return selectedRows; }
};

}  // namespace orves::test
