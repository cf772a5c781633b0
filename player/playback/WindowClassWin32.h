#pragma once
// Registers a window class of this module once (later calls find it): black
// background, arrow cursor. Each of the playback windows has its own class.
#include <windows.h>

namespace orves {

inline bool EnsureWindowClass(const wchar_t* name, WNDPROC proc, UINT style = 0) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, name, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace orves
