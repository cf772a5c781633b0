#include "player/core/Dpi_win32.h"

namespace orves {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: older systems have no per-window DPI.
GetDpiForWindowFn DpiForWindow() {
  static const GetDpiForWindowFn function = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

int WindowDpi(HWND window) {
  if (const GetDpiForWindowFn function = DpiForWindow(); function != nullptr && window != nullptr) {
    if (const UINT dpi = function(window); dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace orves
