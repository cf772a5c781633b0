#pragma once
// MainWindowPorts: what only the main window can do for the controller and
// the mouse gestures: its dialogs, the shell, the web host, focus, moving the
// window and the cursor. Dialog and menu plumbing lives in
// MainDialogs_win32.h and MainMenus_win32.h.
#include <windows.h>

#include <string>

#include "player/controller/ControllerWindow.h"
#include "player/controller/MouseGestures.h"

namespace orves {

class DirectShowPlayer;
class IStateText;
class PlayListPanel;
class TCaptionView;
class TMedia;
struct MainSettings;

// The main form's own operations the ports pass on.
class IMainForm {
 public:
  virtual ~IMainForm() = default;
  virtual void EditConfig() = 0;
  virtual void ApplyPreset(int number) = 0;
  virtual void PopupMain(int screenX, int screenY) = 0;
  virtual void PopupPlayList(int screenX, int screenY) = 0;
};

// The main window's parts the ports work with.
struct MainWindowParts {
  HWND window;
  MainSettings& main;
  TMedia& media;
  TCaptionView& captions;
  IStateText& stateText;
  DirectShowPlayer& player;
  IMainForm& form;
  const PlayListPanel& playListPanel;
};

class MainWindowPorts final : public IControllerWindow, public IGestureWindow {
 public:
  explicit MainWindowPorts(MainWindowParts parts) : p_(std::move(parts)) {}

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
  void EditConfig() override { p_.form.EditConfig(); }
  void ApplyPreset(int preset) override { p_.form.ApplyPreset(preset); }
  void CloseWindow() override;
  void NotifyDesktopOfSkinChange() override;
  void WindowSize(int& width, int& height) const override;
  bool PlayListHasFocus() const override;
  bool PlayListVisible() const override;
  std::vector<int> SelectedPlayListRows() const override;

  // IGestureWindow
  WindowBounds Bounds() const override;
  void PopupMain(int screenX, int screenY) override { p_.form.PopupMain(screenX, screenY); }
  void PopupPlayList(int screenX, int screenY) override { p_.form.PopupPlayList(screenX, screenY); }
  void MoveWindow(int left, int top) override;
  void MaximizedSize(int& width, int& height) const override;
  void RepaintControl() override;
  void SetSizingCursor(bool sizing) override;

 private:
  MainWindowParts p_;
};

// Opens `page` of the web host in the browser; false, with nothing opened,
// when no web host is set.
bool OpenWebHostPage(const std::string& webHost, const std::string& page);

}  // namespace orves
