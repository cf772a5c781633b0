// The options dialog as the system lays it out at its font: every caption
// fits its control (no word cut, no line lost) and no control covers another
// on the same page.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/dialogs/Config_win32.h"
#include "player/shell/MainConfig.h"

namespace orves {
namespace {

struct Child {
  HWND window;
  std::wstring className;
  std::wstring text;
  LONG style;
  RECT rect;  // in its parent's client coordinates
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
  Child c{window, std::wstring(64, L'\0'), std::wstring(256, L'\0'), GetWindowLongW(window, GWL_STYLE), {}};
  c.className.resize(static_cast<size_t>(GetClassNameW(window, c.className.data(), 64)));
  c.text.resize(static_cast<size_t>(GetWindowTextW(window, c.text.data(), 256)));
  GetWindowRect(window, &c.rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&c.rect), 2);
  reinterpret_cast<std::vector<Child>*>(data)->push_back(c);
  return TRUE;
}

bool Is(const Child& c, const wchar_t* className) { return _wcsicmp(c.className.c_str(), className) == 0; }
LONG ButtonType(const Child& c) { return c.style & BS_TYPEMASK; }
bool Boxed(const Child& c) {
  return Is(c, L"Button") && (ButtonType(c) == BS_AUTOCHECKBOX || ButtonType(c) == BS_AUTORADIOBUTTON);
}
bool GroupBox(const Child& c) { return Is(c, L"Button") && ButtonType(c) == BS_GROUPBOX; }

class ConfigDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create(nullptr));
    EnumChildWindows(dialog_.Handle(), Collect, reinterpret_cast<LPARAM>(&children_));
    ASSERT_GT(children_.size(), 100u);
  }
  TfrmConfig dialog_{PlayerDialogSettings()};
  std::vector<Child> children_;
};

TEST_F(ConfigDialogTest, EveryCaptionFitsItsControl) {
  for (const Child& c : children_) {
    const bool label = Is(c, L"Static") && (c.style & SS_TYPEMASK) == SS_LEFT;
    if (c.text.empty() || !(Boxed(c) || label)) continue;
    HDC dc = GetDC(c.window);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c.window, WM_GETFONT, 0, 0)));
    const int box = Boxed(c) ? GetSystemMetrics(SM_CXMENUCHECK) + 2 : 0;
    const int room = c.rect.right - c.rect.left - box;
    for (size_t start = 0; start < c.text.size();) {
      const size_t end = std::min(c.text.find(L' ', start), c.text.size());
      SIZE word{};
      GetTextExtentPoint32W(dc, c.text.c_str() + start, static_cast<int>(end - start), &word);
      EXPECT_LE(word.cx, room) << "a word is cut, control " << GetDlgCtrlID(c.window);
      start = end + 1;
    }
    RECT lines{0, 0, room, 0};
    DrawTextW(dc, c.text.c_str(), -1, &lines, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_LE(lines.bottom, c.rect.bottom - c.rect.top) << "lines lost, control " << GetDlgCtrlID(c.window);
    SelectObject(dc, old);
    ReleaseDC(c.window, dc);
  }
}

TEST_F(ConfigDialogTest, NoControlCoversAnotherOnItsPage) {
  std::vector<const Child*> placed;
  for (const Child& c : children_) {
    if (GroupBox(c) || Is(c, WC_TABCONTROLW) || Is(c, UPDOWN_CLASSW) || Is(c, L"OrvesMPConfigPage")) continue;
    placed.push_back(&c);
  }
  for (size_t i = 0; i < placed.size(); ++i) {
    for (size_t j = i + 1; j < placed.size(); ++j) {
      const Child& a = *placed[i];
      const Child& b = *placed[j];
      RECT both{};
      if (GetParent(a.window) != GetParent(b.window) || !IntersectRect(&both, &a.rect, &b.rect)) continue;
      ADD_FAILURE() << "controls " << GetDlgCtrlID(a.window) << " and " << GetDlgCtrlID(b.window)
                    << " overlap";
    }
  }
}

}  // namespace
}  // namespace orves
