#include "player/window/FullScreenPlacement_win32.h"

namespace orves {

void FullScreenPlacement::Cover(HWND window) {
  RECT windowed{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetWindowRect(window, &windowed) ||
      !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    return;
  }
  windowed_ = windowed;
  const RECT& screen = monitor.rcMonitor;
  SetWindowPos(window, nullptr, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FullScreenPlacement::Restore(HWND window) {
  if (!windowed_) {
    return;
  }
  const RECT rect = *windowed_;
  windowed_.reset();
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orves
