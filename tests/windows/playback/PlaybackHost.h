#pragma once
// What the Wine tests of the movie control share: a COM apartment, a visible
// top-level window to host the control, a message pump with a deadline, and
// the generated test media.
#include <windows.h>
#include <objbase.h>

#include <functional>
#include <string>

namespace orves::testing {

class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};

class HostWindow {
 public:
  HostWindow(int width = 400, int height = 300) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, L"OrvesPlaybackTestHost", &wc)) {
      wc = {};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = instance;
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
      wc.lpszClassName = L"OrvesPlaybackTestHost";
      RegisterClassExW(&wc);
    }
    hwnd_ = CreateWindowExW(0, L"OrvesPlaybackTestHost", L"playback test",
                            WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, width, height, nullptr, nullptr,
                            instance, nullptr);
  }
  ~HostWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

inline void PumpOnce() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline void PumpFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    PumpOnce();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  PumpOnce();
}

// Pumps messages until `done` holds or the time is up; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    PumpOnce();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// The Wine path (Z:\...) of a file made by scripts/make-media.sh.
inline std::string MediaPath(const std::string& file) {
  std::string path = std::string("Z:") + ORVES_PLAYBACK_MEDIA + "/" + file;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace orves::testing
