#pragma once
// The DPI of the monitor a window is on, for a per-monitor DPI aware program.
// Asked of the system where it can tell per window (Windows 10 and later),
// else the screen's DPI.
#include <windows.h>

namespace orves {

#ifndef WM_DPICHANGED
inline constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

int WindowDpi(HWND window);

}  // namespace orves
