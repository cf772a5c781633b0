#pragma once
// Test bases for the player's services: every method does nothing and every
// query answers "nothing there", so a test's fake overrides only what the
// test looks at.
#include <filesystem>
#include <string>
#include <vector>

#include "player/core/MediaPlayer.h"
#include "player/core/Services.h"

namespace orves::testing {

class NullStateText : public IStateText {
 public:
  void ShowState(const std::string&, const std::string&) override {}
  void Tick() override {}
  bool ShowTime() const override { return false; }
  void SetShowTime(bool) override {}
};

class NullMedia : public IMedia {
 public:
  bool HasPicture() const override { return false; }
  double CurrentPosition() const override { return 0; }
  double Duration() const override { return 0; }
  int PictureWidth() const override { return 0; }
  int PictureHeight() const override { return 1; }
  bool CaptionsOn() const override { return true; }
  int PlayState() const override { return kPlayStateStopped; }
  bool Open(const std::string&, const std::vector<std::filesystem::path>&) override { return false; }
  void Close() override {}
  void Play() override {}
  void Pause() override {}
  void Stop() override {}
  void FastFind() override {}
  void Rewind() override {}
  void FastFind2() override {}
  void Rewind2() override {}
  void SpeedUp() override {}
  void SpeedDown() override {}
  void ToggleCaption() override {}
  void SeekTo(double) override {}
  void Reload() override {}
  void ResumeBookmark() override {}
  void SaveBookmark() override {}
  void ShowPlayingMessage() const override {}
  int ShortStep() const override { return 10; }
  int LongStep() const override { return 60; }
  void PollMovieCaptions() override {}
  void ChooseMovieTrack(int) override {}
  bool MovieTrackInUse(int) const override { return false; }
};

class NullPlayList : public IPlayList {
 public:
  int ItemIndex() const override { return -1; }
  int Count() const override { return 0; }
  void Clear() override {}
  void Add(const std::string&) override {}
  void Delete(int) override {}
  void DeleteMissing() override {}
  void PlayIndex(int) override {}
  void PlayCurrent() override {}
  void PlayNext() override {}
  void PlayPrevious() override {}
  void SaveList(const std::string&) const override {}
  int Current() const override { return 0; }
  std::string DisplayName(int) const override { return {}; }
  bool AutoSort() const override { return true; }
  void ToggleAutoSort() override {}
  bool PanelEnabled() const override { return false; }
  void TogglePanel() override {}
  void TickPanel(int, int) override {}
  void ArrangePanel() override {}
};

class NullLayout : public ILayout {
 public:
  bool IsFullScreen() const override { return false; }
  bool AlwaysShowFullScreenBar() const override { return false; }
  void ToggleFullScreen() override {}
  void ToggleFullScreenBar() override {}
  void ShowFullScreenBar() override {}
  void HideFullScreenBar() override {}
  void ShowMouseCursor() override {}
  void HideMouseCursor() override {}
  bool PauseAtMinimize() const override { return false; }
  void MinimizeWindow() override {}
  void Zoom(double) override {}
  void HideMovieForResize() override {}
  void ShowMovieAfterResize() override {}
  void ResizeKeepingAspect(int, int) override {}
  void ResizeKeepingAspect() override {}
  void ResizeFromCurrentHeight() override {}
  void ApplyStartSize(bool) override {}
  AreaPress HitTest(int, int) override { return {}; }
  bool CaptionPanelVisible() const override { return true; }
};

class NullSkin : public ISkin {
 public:
  std::vector<std::string> SkinNames() const override { return {}; }
  std::string CurrentSkin() const override { return {}; }
  void LoadSkin(const std::string&) override {}
  int FullScreenBarHeight() const override { return 0; }
  void PaintTexts() override {}
  void PlaceThumbs() override {}
  int ThumbLeft(int) const override { return 0; }
  void ThumbLimits(int, int& minLeft, int& maxLeft) const override { minLeft = maxLeft = 0; }
  void MoveThumb(int, int) override {}
  void ThumbReleasePoint(int, int& x, int& y) const override { x = y = 0; }
};

class NullCaptions : public ICaptions {
 public:
  void LoadCaptionFile(const std::filesystem::path&) override {}
  void LoadCaptionFiles(const std::vector<std::filesystem::path>&) override {}
  void LoadMovieTracks(const std::vector<TLoadedTextTrack>&, bool) override {}
  void ClearCaptions() override {}
  std::filesystem::path CaptionFileName() const override { return {}; }
  bool HasCaptions() const override { return false; }
  int CaptionRise() const override { return 0; }
  int CaptionBand() const override { return 0; }
  void UpdateCaption() override {}
  void ShiftSync(double) override {}
  void SetSyncOffset(double) override {}
  void SwitchLanguage() override {}
  void CaptionMoveUp() override {}
  void CaptionMoveDown() override {}
  void ApplyPositionPreset(int) override {}
  void CaptionSizeUp() override {}
  void CaptionSizeDown() override {}
  void OutLineRatePlus() override {}
  void OutLineRateMinus() override {}
  void ShadowRatePlus() override {}
  void ShadowRateMinus() override {}
  void ToggleAntiAliase() override {}
  void ToggleFontBold() override {}
  bool AntiAliase() const override { return false; }
  bool FontBold() const override { return false; }
};

class NullMediaPlayer : public IMediaPlayer {
 public:
  void SetFileName(const std::string&) override {}
  std::string FileName() const override { return {}; }
  bool IsOpen() const override { return false; }
  void Play() override {}
  void Pause() override {}
  double CurrentPosition() const override { return 0; }
  void SetCurrentPosition(double) override {}
  double Duration() const override { return 0; }
  int ImageSourceWidth() const override { return 0; }
  int ImageSourceHeight() const override { return 0; }
  void SetVolume(int) override {}
  int Volume() const override { return 0; }
  void SetMute(bool) override {}
  bool Mute() const override { return false; }
  void SetRate(double) override {}
  double Rate() const override { return 1; }
  int PlayState() const override { return kPlayStateStopped; }
  int StreamCount() const override { return 0; }
  void StreamSelect(int) override {}
  std::string GetStreamName(int) const override { return {}; }
  bool GetStreamSelected(int) const override { return false; }
  int TextTrackCount() const override { return 0; }
  TMovieTextTrack TextTrack(int) const override { return {}; }
  std::optional<std::vector<TMovieTextCue>> TextTrackCues(int) override {
    return std::vector<TMovieTextCue>{};
  }
  void SetOwnDecoders(bool) override {}
  void SetEvents(IMediaPlayerEvents*) override {}
};

}  // namespace orves::testing
