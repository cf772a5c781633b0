// A test tool that looks at and drives the player's windows from outside, by
// window class, as the end-to-end scripts need it:
//   form_probe texts CLASS         prints the texts of the visible windows of
//                                  CLASS and of their controls (UTF-8)
//   form_probe command CLASS ID    posts WM_COMMAND ID to such a window
//   form_probe close CLASS         posts WM_CLOSE to it
// Exit status 0 when a visible window of CLASS was found, 1 when none, 2 for
// bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::wstring TextOf(HWND window) {
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

struct Search {
  std::wstring className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t name[128];
  if (IsWindowVisible(window) && GetClassNameW(window, name, 128) > 0 && search->className == name) {
    search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  std::printf("%s\n", Utf8(TextOf(child)).c_str());
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: form_probe texts|command|close CLASS [ID]\n");
    return 2;
  }
  const std::wstring action = argv[1];
  Search search{argv[2], {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found.empty()) {
    return 1;
  }
  for (HWND window : search.found) {
    if (action == L"texts") {
      std::printf("%s\n", Utf8(TextOf(window)).c_str());
      EnumChildWindows(window, &PrintChild, 0);
    } else if (action == L"command" && argc > 3) {
      PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(_wtoi(argv[3])), 0);
    } else if (action == L"close") {
      PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
      return 2;
    }
  }
  std::fflush(stdout);
  return 0;
}
