// The window base: which messages reach the object, and when it lets go.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "player/core/Window_win32.h"

namespace orves {
namespace {

const WindowClassSpec kRecordingClass{L"OrvesWindowTest", 0, nullptr, nullptr};

// Records every message HandleMessage receives, in a list outside the object
// so that it can be read after the object is gone.
class RecordingWindow final : public TWindow {
 public:
  explicit RecordingWindow(std::vector<UINT>& seen) : seen_(seen) {}

  bool Create(HWND parent) {
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    const int id = parent != nullptr ? 7 : 0;
    return CreateWindowOf(kRecordingClass, 0, style, L"", RECT{0, 0, 60, 40}, parent, id);
  }

  HWND handleAtNcCreate = nullptr;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen_.push_back(message);
    if (message == WM_NCCREATE) {
      handleAtNcCreate = Handle();
    }
    return TWindow::HandleMessage(message, wParam, lParam);
  }

 private:
  std::vector<UINT>& seen_;
};

bool Saw(const std::vector<UINT>& seen, UINT message) {
  return std::find(seen.begin(), seen.end(), message) != seen.end();
}

TEST(WindowTest, MessagesReachTheObjectFromNcCreateToNcDestroy) {
  std::vector<UINT> parentSeen, childSeen;
  RecordingWindow parent(parentSeen), child(childSeen);
  ASSERT_TRUE(parent.Create(nullptr));
  ASSERT_TRUE(child.Create(parent.Handle()));
  EXPECT_EQ(child.handleAtNcCreate, child.Handle());
  EXPECT_EQ(GetDlgCtrlID(child.Handle()), 7);
  ASSERT_FALSE(childSeen.empty());
  EXPECT_EQ(childSeen.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_FALSE(child.Create(parent.Handle()));  // one window per object

  const HWND oldChild = child.Handle();
  parent.Destroy();  // the child goes with its parent
  EXPECT_EQ(parent.Handle(), nullptr);
  EXPECT_EQ(child.Handle(), nullptr);
  EXPECT_FALSE(IsWindow(oldChild));
  EXPECT_TRUE(Saw(parentSeen, WM_DESTROY));
  EXPECT_EQ(parentSeen.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(childSeen.back(), static_cast<UINT>(WM_NCDESTROY));

  // The same objects can create their windows again; the class is reused.
  EXPECT_TRUE(parent.Create(nullptr));
  EXPECT_TRUE(child.Create(parent.Handle()));
}

TEST(WindowTest, DestructorDestroysTheWindowWithoutCallingTheObject) {
  std::vector<UINT> seen;
  HWND old = nullptr;
  {
    RecordingWindow window(seen);
    ASSERT_TRUE(window.Create(nullptr));
    old = window.Handle();
    seen.clear();
  }
  EXPECT_FALSE(IsWindow(old));
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace orves
