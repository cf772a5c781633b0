#pragma once
// TApplication: the process-wide part of the GUI. It carries the application
// title, runs the message loop, filters the screen-saver request while the
// player runs, ends the program on request (also before the loop starts) and
// turns an exception that escapes a window procedure into the standard error
// box followed by a normal end.
#include <windows.h>

#include <exception>
#include <string>

namespace orves {

class TApplication {
 public:
  explicit TApplication(std::wstring title) : title_(std::move(title)) {}

  const std::wstring& Title() const { return title_; }

  // Ends the program: the loop does not start, or stops at its next turn.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // From now on no screen saver starts while the player runs.
  void InstallScreenSaverFilter() { filterScreenSaver_ = true; }
  // True for a message the filter marks handled (the window procedures ask too:
  // the request is usually sent to the foreground window, not posted).
  bool Filters(UINT message, WPARAM wParam) const;

  // Runs the messages until the program ends; `showMainForm` runs first
  // unless the program has already been told to end.
  template <typename ShowFn>
  int Run(ShowFn&& showMainForm) {
    if (!terminated_) {
      Guard([&] { showMainForm(); });
    }
    return Loop();
  }

  // Runs `body`; an exception it throws is shown and ends the program.
  template <typename Body>
  void Guard(Body&& body) {
    try {
      body();
    } catch (const std::exception& e) {
      ShowException(e.what());
    } catch (...) {
      ShowException("unknown error");
    }
  }

  void ShowException(const char* what);

 private:
  int Loop();

  std::wstring title_;
  bool terminated_ = false;
  bool filterScreenSaver_ = false;
};

}  // namespace orves
