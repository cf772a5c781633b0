#pragma once
// The main window as the controller sees it: its dialogs, the shell, focus
// and the system. Paths are byte text in the system's ANSI code page, other
// texts UTF-8. The Windows side implements it; tests use a fake.
#include <optional>
#include <string>
#include <vector>

namespace orves {

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
  // A typed internet address (UTF-8).
  virtual std::optional<std::string> AskAddress() = 0;
  virtual void SetDefaultMovieFolder(const std::string& folder) = 0;
  virtual void SetDefaultCaptionFolder(const std::string& folder) = 0;
  virtual void LoadCaptionFile(const std::string& path) = 0;
  virtual void SaveCaptionFile(const std::string& path) = 0;
  // Opens a page below the web host in the browser; without a web host the
  // state text says so and nothing is opened.
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
