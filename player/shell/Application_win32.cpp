#include "player/shell/Application_win32.h"

#include "player/core/TextConvert_win32.h"

namespace orves {

void TApplication::Terminate() {
  if (!terminated_) {
    terminated_ = true;
    PostQuitMessage(0);
  }
}

bool TApplication::Filters(UINT message, WPARAM wParam) const {
  return filterScreenSaver_ && message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SCREENSAVE;
}

void TApplication::ShowException(const char* what) {
  const std::wstring text = Utf8ToWide(what);
  MessageBoxW(nullptr, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  Terminate();
}

int TApplication::Loop() {
  MSG msg;
  // Terminate posts the quit message, so an end asked for before the loop
  // started ends it at once.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (Filters(msg.message, msg.wParam)) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace orves
