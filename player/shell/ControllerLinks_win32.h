#pragma once
// ControllerLinks: the main window's long-lived objects as the controller's
// ports and the mouse gestures' window. Each port call goes to the object
// that owns the operation; operations whose object does not have them yet
// (the layout's full screen, zoom and click areas, the skin's painted texts
// and thumbs, the playlist panel) do nothing until it does. Dialogs and menus
// are the main window's own (MainDialogs_win32.h, MainMenus_win32.h).
#include <windows.h>

#include <functional>
#include <string>

#include "player/controller/ControllerWindow.h"
#include "player/controller/MouseGestures.h"

namespace orves {

class DirectShowPlayer;
class ITextCodec;
class Win32FileSystem;
class TCaptionView;
class TLayout;
class TMedia;
class TMovie;
class TPlayList;
class TSkin;
class TStateText;
struct MainSettings;

// The main window's objects and the few things only the window itself does.
struct MainObjects {
  HWND window = nullptr;
  std::string programFolder;  // ANSI
  TMedia* media = nullptr;
  TMovie* movie = nullptr;
  DirectShowPlayer* player = nullptr;
  TPlayList* playList = nullptr;
  TLayout* layout = nullptr;
  TSkin* skin = nullptr;
  TCaptionView* captions = nullptr;
  TStateText* stateText = nullptr;
  MainSettings* main = nullptr;
  const Win32FileSystem* files = nullptr;
  std::function<void()> editConfig;
  std::function<void()> refitPicture;
  std::function<void(const char*)> runAction;
  std::function<void(int, int)> popupMain;
  std::function<void(int, int)> popupPlayList;
};

class ControllerLinks final : public IControllerMedia,
                              public IControllerMovie,
                              public IControllerPlayList,
                              public IControllerLayout,
                              public IControllerSkin,
                              public IControllerCaptions,
                              public IControllerStateText,
                              public IControllerWindow,
                              public IGestureWindow {
 public:
  explicit ControllerLinks(MainObjects objects) : o_(std::move(objects)) {}

  // IControllerMedia
  bool HasPicture() const override;
  int PlayState() const override;
  double CurrentPosition() const override;
  double Duration() const override;
  void Play() override;
  void Pause() override;
  void Stop() override;
  void FastFind() override;
  void Rewind() override;
  void FastFind2() override;
  void Rewind2() override;
  void SpeedUp() override;
  void SpeedDown() override;
  void ToggleCaption() override;
  bool CaptionsOn() const override;
  int ShortStep() const override;
  int LongStep() const override;
  void ResumeBookmark() override;
  void SaveBookmark() override;
  void ShowPlayingMessage() override;
  void OpenAddress(const std::string& address) override;

  // IControllerMovie
  void VolumeUp() override;
  void VolumeDown() override;
  void BrightnessUp() override;
  void BrightnessDown() override;
  void AddCuttingBlock() override;
  void MinusCuttingBlock() override;
  int StreamCount() const override;
  std::string StreamName(int stream) const override;
  bool StreamSelected(int stream) const override;
  void SelectAudioStream(int stream) override;

  // IControllerPlayList
  void Clear() override;
  void Add(const std::string& path) override;
  void Delete(int index) override;
  void DeleteMissing() override;
  void PlayIndex(int index) override;
  void PlayCurrent() override;
  void PlayNext() override;
  void PlayPrevious() override;
  void ToggleAutoSort() override {}
  void TogglePanel() override {}
  void SaveList(const std::string& path) override;
  int Count() const override;
  int Current() const override;
  std::string DisplayName(int index) const override;
  bool AutoSort() const override;
  bool PanelEnabled() const override;
  void TickPanel(int, int) override {}

  // IControllerLayout
  bool IsFullScreen() const override;
  bool AlwaysShowFullScreenBar() const override;
  void ToggleFullScreen() override {}
  void ToggleFullScreenBar() override {}
  void MinimizeWindow() override {}
  void Zoom(double) override {}
  void ShowFullScreenBar() override {}
  void HideFullScreenBar() override {}
  void ShowMouseCursor() override {}
  void HideMouseCursor() override {}
  void HideMovieForResize() override {}
  void ShowMovieAfterResize() override {}
  void ResizeKeepingAspect(int, int) override;
  bool HitTest(int, int) override { return false; }
  void ApplyStartSize(bool newlyOpened) override;

  // IControllerSkin
  std::vector<std::string> SkinNames() const override;
  std::string CurrentSkin() const override;
  void LoadSkin(const std::string& name) override;
  int FullScreenBarHeight() const override;
  void PaintTexts() override {}
  void PlaceThumbs() override {}

  // IControllerCaptions
  void ShiftSync(double seconds) override;
  void SetSyncOffset(double seconds) override;
  void SwitchLanguage() override;
  void CaptionMoveUp() override;
  void CaptionMoveDown() override;
  void ApplyPositionPreset(int preset) override;
  void CaptionSizeUp() override;
  void CaptionSizeDown() override;
  void OutLineRatePlus() override;
  void OutLineRateMinus() override;
  void ShadowRatePlus() override;
  void ShadowRateMinus() override;
  void ToggleAntiAliase() override;
  void ToggleFontBold() override;
  bool AntiAliase() const override;
  bool FontBold() const override;
  void UpdateCaption() override;
  std::string CaptionFileName() const override;

  // IControllerStateText
  void ShowState(const std::string& korean, const std::string& english) override;
  void Tick() override;
  bool ShowTime() const override;
  void SetShowTime(bool on) override;

  // IControllerWindow
  std::vector<std::string> ChooseMovies(MovieDialog dialog) override;
  std::optional<std::string> ChooseCaptionToOpen() override;
  std::optional<std::string> ChoosePlayListToSave() override;
  std::optional<std::string> ChooseCaptionToSave() override;
  std::optional<std::string> AskAddress() override;
  void SetDefaultMovieFolder(const std::string& folder) override;
  void SetDefaultCaptionFolder(const std::string& folder) override;
  void LoadCaptionFile(const std::string& path) override;
  void SaveCaptionFile(const std::string& path) override;
  void OpenWebPage(const std::string& path) override;
  void EditConfig() override;
  void ApplyPreset(int) override {}  // presets are the options dialog's
  void CloseWindow() override;
  void NotifyDesktopOfSkinChange() override;
  void WindowSize(int& width, int& height) const override;
  bool PlayListHasFocus() const override { return false; }
  bool PlayListVisible() const override { return false; }
  std::vector<int> SelectedPlayListRows() const override { return {}; }

  // IGestureWindow (the rest is shared with the ports above)
  WindowBounds Bounds() const override;
  void PopupMain(int screenX, int screenY) override;
  void PopupPlayList(int screenX, int screenY) override;
  void RunAction(const char* action) override;
  int ThumbLeft(int) const override { return 0; }
  void ThumbLimits(int, int& minLeft, int& maxLeft) const override { minLeft = maxLeft = 0; }
  void MoveThumb(int, int) override {}
  void ThumbReleasePoint(int, int& x, int& y) const override { x = y = 0; }
  void MoveWindow(int left, int top) override;
  void MaximizedSize(int& width, int& height) const override;
  void RepaintControl() override;
  void SetSizingCursor(bool sizing) override;

 private:
  MainObjects o_;
};

}  // namespace orves
