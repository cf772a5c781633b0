#pragma once
// What the main window's controller drives, one small interface per
// long-lived object (and one for the window itself), so the command table's
// handlers, the timer, the control's events and the mouse gestures run
// without a window. The main window implements them over TMedia, TMovie,
// TPlayList, TLayout, TSkin, TCaptionView and TStateText; tests use fakes.
// Texts are the objects' own: paths are ANSI byte text, names UTF-8.
#include <optional>
#include <string>
#include <vector>

namespace orves {

// TMedia and the control's properties it reads.
class IControllerMedia {
 public:
  virtual ~IControllerMedia() = default;
  virtual bool HasPicture() const = 0;
  virtual int PlayState() const = 0;
  virtual double CurrentPosition() const = 0;
  virtual double Duration() const = 0;
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual void FastFind() = 0;
  virtual void Rewind() = 0;
  virtual void FastFind2() = 0;
  virtual void Rewind2() = 0;
  virtual void SpeedUp() = 0;
  virtual void SpeedDown() = 0;
  virtual void ToggleCaption() = 0;
  virtual bool CaptionsOn() const = 0;
  virtual int ShortStep() const = 0;
  virtual int LongStep() const = 0;
  virtual void ResumeBookmark() = 0;
  virtual void SaveBookmark() = 0;
  virtual void ShowPlayingMessage() = 0;
  // Opens a file or an address with no caption file, outside the playlist.
  virtual void OpenAddress(const std::string& address) = 0;
};

// TMovie: volume, picture values, cropping and the audio streams.
class IControllerMovie {
 public:
  virtual ~IControllerMovie() = default;
  virtual void VolumeUp() = 0;
  virtual void VolumeDown() = 0;
  virtual void BrightnessUp() = 0;
  virtual void BrightnessDown() = 0;
  virtual void AddCuttingBlock() = 0;
  virtual void MinusCuttingBlock() = 0;
  virtual int StreamCount() const = 0;
  virtual std::string StreamName(int stream) const = 0;
  virtual bool StreamSelected(int stream) const = 0;
  virtual void SelectAudioStream(int stream) = 0;
};

// TPlayList and its panel.
class IControllerPlayList {
 public:
  virtual ~IControllerPlayList() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& path) = 0;
  virtual void Delete(int index) = 0;
  virtual void DeleteMissing() = 0;
  virtual void PlayIndex(int index) = 0;
  virtual void PlayCurrent() = 0;
  virtual void PlayNext() = 0;
  virtual void PlayPrevious() = 0;
  virtual void ToggleAutoSort() = 0;
  virtual void TogglePanel() = 0;
  virtual void SaveList(const std::string& path) = 0;
  virtual int Count() const = 0;
  virtual int Current() const = 0;
  virtual std::string DisplayName(int index) const = 0;
  virtual bool AutoSort() const = 0;
  virtual bool PanelEnabled() const = 0;
  // The panel's visibility rule for one timer tick, cursor in screen pixels.
  virtual void TickPanel(int cursorX, int cursorY) = 0;
};

// TLayout: window geometry, full screen, the control bar, the cursor and the
// skin's click areas.
class IControllerLayout {
 public:
  virtual ~IControllerLayout() = default;
  virtual bool IsFullScreen() const = 0;
  virtual bool AlwaysShowFullScreenBar() const = 0;
  virtual void ToggleFullScreen() = 0;
  virtual void ToggleFullScreenBar() = 0;
  virtual void MinimizeWindow() = 0;
  virtual void Zoom(double factor) = 0;
  virtual void ShowFullScreenBar() = 0;
  virtual void HideFullScreenBar() = 0;
  virtual void ShowMouseCursor() = 0;
  virtual void HideMouseCursor() = 0;
  virtual void HideMovieForResize() = 0;
  virtual void ShowMovieAfterResize() = 0;
  virtual void ResizeKeepingAspect(int width, int height) = 0;
  // Window coordinates; true when a click area or bar took the point.
  virtual bool HitTest(int x, int y) = 0;
  // The start-size rule when playing starts; `newlyOpened` says whether a
  // file dialog chose the movie.
  virtual void ApplyStartSize(bool newlyOpened) = 0;
};

// TSkin: the skin folder, the painted texts and the bar thumbs.
class IControllerSkin {
 public:
  virtual ~IControllerSkin() = default;
  // Names in the skin folder, "." and ".." left out, sorted without regard to case.
  virtual std::vector<std::string> SkinNames() const = 0;
  virtual std::string CurrentSkin() const = 0;
  virtual void LoadSkin(const std::string& name) = 0;
  virtual int FullScreenBarHeight() const = 0;
  virtual void PaintTexts() = 0;
  virtual void PlaceThumbs() = 0;
};

// TCaptionView's commands.
class IControllerCaptions {
 public:
  virtual ~IControllerCaptions() = default;
  virtual void ShiftSync(double seconds) = 0;
  virtual void SetSyncOffset(double seconds) = 0;
  virtual void SwitchLanguage() = 0;
  virtual void CaptionMoveUp() = 0;
  virtual void CaptionMoveDown() = 0;
  virtual void ApplyPositionPreset(int preset) = 0;
  virtual void CaptionSizeUp() = 0;
  virtual void CaptionSizeDown() = 0;
  virtual void OutLineRatePlus() = 0;
  virtual void OutLineRateMinus() = 0;
  virtual void ShadowRatePlus() = 0;
  virtual void ShadowRateMinus() = 0;
  virtual void ToggleAntiAliase() = 0;
  virtual void ToggleFontBold() = 0;
  virtual bool AntiAliase() const = 0;
  virtual bool FontBold() const = 0;
  virtual void UpdateCaption() = 0;
  // The loaded caption file (ANSI path), empty when none.
  virtual std::string CaptionFileName() const = 0;
};

// TStateText.
class IControllerStateText {
 public:
  virtual ~IControllerStateText() = default;
  virtual void ShowState(const std::string& korean, const std::string& english) = 0;
  virtual void Tick() = 0;
  virtual bool ShowTime() const = 0;
  virtual void SetShowTime(bool on) = 0;
};

// The dialogs a command can show; each returns nothing when cancelled.
enum class MovieDialog { Open, Add };

// The main window itself: dialogs, the shell, focus and the system.
class IControllerWindow {
 public:
  virtual ~IControllerWindow() = default;
  virtual std::vector<std::string> ChooseMovies(MovieDialog dialog) = 0;
  virtual std::optional<std::string> ChooseCaptionToOpen() = 0;
  virtual std::optional<std::string> ChoosePlayListToSave() = 0;
  virtual std::optional<std::string> ChooseCaptionToSave() = 0;
  virtual std::optional<std::string> AskAddress() = 0;
  virtual void SetDefaultMovieFolder(const std::string& folder) = 0;
  virtual void SetDefaultCaptionFolder(const std::string& folder) = 0;
  virtual void LoadCaptionFile(const std::string& path) = 0;
  virtual void SaveCaptionFile(const std::string& path) = 0;
  virtual void OpenWebPage(const std::string& path) = 0;
  virtual void EditConfig() = 0;
  virtual void ApplyPreset(int preset) = 0;
  virtual void CloseWindow() = 0;
  // Sent to the desktop before a skin change.
  virtual void NotifyDesktopOfSkinChange() = 0;
  // The window's current outer size, for the size rules.
  virtual void WindowSize(int& width, int& height) const = 0;
  // The playlist view: keyboard focus, visibility and its selected rows.
  virtual bool PlayListHasFocus() const = 0;
  virtual bool PlayListVisible() const = 0;
  virtual std::vector<int> SelectedPlayListRows() const = 0;
};

}  // namespace orves
