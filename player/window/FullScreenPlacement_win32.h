#pragma once
// The platform window's full-screen state: the window set over the whole
// monitor it is on, and its earlier rectangle given back on leaving. The
// window is placed by hand rather than maximised, so it covers the monitor
// wherever a window manager would keep a maximised window off the edges.
#include <windows.h>

#include <optional>

namespace orves {

class FullScreenPlacement {
 public:
  bool Covering() const { return windowed_.has_value(); }
  // Remembers the window's rectangle and covers its monitor.
  void Cover(HWND window);
  // Puts the window back where it was before Cover.
  void Restore(HWND window);

 private:
  std::optional<RECT> windowed_;
};

}  // namespace orves
