#include "player/window/FullScreenDisplay_win32.h"

#include <windows.h>

namespace orves {

std::vector<DisplayMode> FullScreenDisplay::Modes() const {
  std::vector<DisplayMode> modes;
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  for (DWORD index = 0; EnumDisplaySettingsW(nullptr, index, &mode); ++index) {
    modes.push_back({static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                     static_cast<int>(mode.dmBitsPerPel)});
  }
  return modes;
}

// A full-screen change is dynamic and never stored: the system puts the
// stored mode back should the program end without restoring it.
void FullScreenDisplay::SetMode(const DisplayMode& wanted) {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  mode.dmPelsWidth = static_cast<DWORD>(wanted.width);
  mode.dmPelsHeight = static_cast<DWORD>(wanted.height);
  mode.dmBitsPerPel = static_cast<DWORD>(wanted.bitsPerPixel);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr);
}

void FullScreenDisplay::RestoreMode() { ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr); }

int FullScreenDisplay::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

}  // namespace orves
