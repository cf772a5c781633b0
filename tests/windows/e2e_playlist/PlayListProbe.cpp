// Prints the running player's playlist panel as one line:
//   <shown 0/1> <rows> <left> <top> <right> <bottom> <menu 0/1>
// (rows of its list view, the panel's rectangle on the screen, whether a
// popup menu is open), found by the window classes of the main window, the
// panel and the list view. Exit code 1 when there is no such panel.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

BOOL CALLBACK FindPanel(HWND child, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (lstrcmpW(name, L"OrvesPlayListPanel") == 0) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main() {
  HWND main = FindWindowW(L"TfrmMain", nullptr);
  HWND panel = nullptr;
  if (main != nullptr) {
    EnumChildWindows(main, FindPanel, reinterpret_cast<LPARAM>(&panel));
  }
  HWND list = panel != nullptr ? FindWindowExW(panel, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
  if (list == nullptr) {
    std::puts("none");
    return 1;
  }
  RECT rect{};
  GetWindowRect(panel, &rect);
  const LRESULT rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  HWND menu = FindWindowW(L"#32768", nullptr);
  std::printf("%d %ld %ld %ld %ld %ld %d\n", IsWindowVisible(panel) ? 1 : 0, static_cast<long>(rows),
              rect.left, rect.top, rect.right, rect.bottom, menu != nullptr && IsWindowVisible(menu) ? 1 : 0);
  return 0;
}
