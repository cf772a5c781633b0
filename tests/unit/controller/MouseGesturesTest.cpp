#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/controller/MouseGestures.h"
#include "tests/unit/core/NullServices.h"

namespace orves {
namespace {

TEST(WindowSnap, FourteenPixelsFromAnEdgeSnapFifteenDoNot) {
  EXPECT_EQ(SnapCoordinate(14, 500), 0);
  EXPECT_EQ(SnapCoordinate(-14, 500), 0);
  EXPECT_EQ(SnapCoordinate(15, 500), 15);
  EXPECT_EQ(SnapCoordinate(-15, 500), -15);
  EXPECT_EQ(SnapCoordinate(486, 500), 500);
  EXPECT_EQ(SnapCoordinate(514, 500), 500);
  EXPECT_EQ(SnapCoordinate(485, 500), 485);
  EXPECT_EQ(SnapCoordinate(515, 500), 515);
}

TEST(WindowSnap, FarValuesAreTheMaximisedSizeLessWindowLessEight) {
  // 1024 x 738 usable; a 400 x 300 window: right snap 616, bottom snap 430.
  EXPECT_EQ(SnapWindow({610, 425}, 400, 300, 1024, 738), (WindowPoint{616, 430}));
  EXPECT_EQ(SnapWindow({10, 14}, 400, 300, 1024, 738), (WindowPoint{0, 0}));
  EXPECT_EQ(SnapWindow({200, 15}, 400, 300, 1024, 738), (WindowPoint{200, 15}));
}

// A window at (100, 100), 400 x 300, on a 1024 x 768 screen, with its
// layout, skin thumbs, media and commands; records what the gestures ask of
// them.
struct FakeGestureWindow final : IGestureWindow,
                                 IGestureCommands,
                                 testing::NullLayout,
                                 testing::NullSkin,
                                 testing::NullMedia {
  WindowBounds bounds{100, 100, 400, 300};
  bool fullScreen = false;
  bool hasPicture = false;
  AreaPress hit;  // what the layout finds under every point
  bool sizing = false;
  int thumbLeft = 50;
  std::vector<std::string> calls;

  WindowBounds Bounds() const override { return bounds; }
  bool IsFullScreen() const override { return fullScreen; }
  bool HasPicture() const override { return hasPicture; }
  void PopupMain(int, int) override { calls.push_back("popMain"); }
  void PopupPlayList(int, int) override { calls.push_back("popPlayList"); }
  AreaPress HitTest(int x, int y) override {
    calls.push_back("hit " + std::to_string(x) + "," + std::to_string(y));
    return hit;
  }
  void RunAction(std::string_view a) override { calls.emplace_back(a); }
  void RunArea(const AreaPress& press) override {
    calls.push_back(std::string("area ") + (press.action != nullptr ? press.action : "track"));
  }
  int ThumbLeft(int) const override { return thumbLeft; }
  void ThumbLimits(int, int& lo, int& hi) const override {
    lo = 10;
    hi = 200;
  }
  void MoveThumb(int, int left) override { thumbLeft = left; }
  void ThumbReleasePoint(int, int& x, int& y) const override {
    x = thumbLeft + 5;
    y = 7;
  }
  void HideMovieForResize() override { calls.push_back("hide"); }
  void ShowMovieAfterResize() override { calls.push_back("show"); }
  void ResizeKeepingAspect(int w, int h) override {
    calls.push_back("resize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void MoveWindow(int l, int t) override {
    bounds.left = l;
    bounds.top = t;
    calls.push_back("move " + std::to_string(l) + "," + std::to_string(t));
  }
  void MaximizedSize(int& w, int& h) const override {
    w = 1024;
    h = 738;
  }
  void RepaintControl() override {}
  void SetSizingCursor(bool s) override { sizing = s; }
};

MouseEvent At(int x, int y, MouseTarget target = MouseTarget::Window) { return MouseEvent{x, y, target, -1}; }

struct GestureTest : ::testing::Test {
  FakeGestureWindow w;
  TMouseAction action;
  TMouseGestures g{TMouseGestureServices{w, w, w, w, w, action}};
};

TEST_F(GestureTest, DraggingTheWindowNearTheTopSnapsItThereAndReleaseShowsThePicture) {
  g.Press(MouseButton::Left, At(200, 120));
  EXPECT_EQ(g.MouseAction(), "WindowDrag");
  g.Move(At(200, 34), true);  // top 100 - 86 = 14
  EXPECT_EQ(w.bounds.top, 0);
  g.Move(At(200, 35), true);  // unsnapped top 15
  EXPECT_EQ(w.bounds.top, 15);
  EXPECT_EQ(w.bounds.left, 100);
  g.Release(At(200, 35));
  EXPECT_EQ(g.MouseAction(), "");
  EXPECT_FALSE(g.PressUnderWay());
  EXPECT_EQ(w.calls.back(), "show");
}

TEST_F(GestureTest, TheUnsnappedPlaceKeepsMovingWhileTheShownOneSticks) {
  g.Press(MouseButton::Left, At(200, 120));
  g.Move(At(200, 30), true);  // unsnapped top 10: shown at 0
  g.Move(At(200, 40), true);  // unsnapped 20: free again
  EXPECT_EQ(w.bounds.top, 20);
}

TEST_F(GestureTest, ACornerPressResizesKeepingAspect) {
  g.Press(MouseButton::Left, At(495, 395));
  EXPECT_EQ(g.MouseAction(), "Resize");
  g.Move(At(515, 405), true);
  EXPECT_EQ(w.calls, (std::vector<std::string>{"hide", "resize 420x310"}));
  g.Release(At(515, 405));
  EXPECT_EQ(w.calls.back(), "show");
}

TEST_F(GestureTest, NoCornerResizeInFullScreenOrOnTheControl) {
  g.Press(MouseButton::Left, At(495, 395, MouseTarget::MovieControl));
  EXPECT_EQ(g.MouseAction(), "WindowDrag");
  g.Release(At(495, 395));
  w.fullScreen = true;
  g.Press(MouseButton::Left, At(495, 395, MouseTarget::MovieControl));
  EXPECT_EQ(g.MouseAction(), "");
  EXPECT_EQ(w.calls.back(), "actPlayPause");  // full screen: the picture toggles playing
}

TEST_F(GestureTest, SizingCursorOnlyOverTheCorner) {
  g.Move(At(495, 395), false);
  EXPECT_TRUE(w.sizing);
  g.Move(At(470, 395), false);
  EXPECT_FALSE(w.sizing);
  g.Move(At(495, 395, MouseTarget::MovieControl), false);
  EXPECT_FALSE(w.sizing);
}

// The controller runs an area's command; the popup menu opens at the press
// and a Minimize area waits for the release.
TEST_F(GestureTest, AClickAreaTakesThePressInWindowCoordinates) {
  using E = AreaPress::Effect;
  const struct {
    AreaPress hit;
    std::vector<std::string> calls;
    const char* action;
  } cases[] = {
      {{E::Action, "actStop"}, {"hit 30,40", "area actStop"}, ""},
      {{E::Seek}, {"hit 30,40", "area track"}, ""},
      {{E::PopUp}, {"hit 30,40", "popMain"}, ""},
      {{E::Minimize}, {"hit 30,40"}, "Minimize"},
      {{E::Taken}, {"hit 30,40"}, ""},
  };
  for (const auto& c : cases) {
    w.calls.clear();
    action.Clear();
    w.hit = c.hit;
    g.Press(MouseButton::Left, At(130, 140));
    EXPECT_EQ(w.calls, c.calls) << c.calls.back();
    EXPECT_EQ(g.MouseAction(), c.action) << c.calls.back();
  }
}

TEST_F(GestureTest, ThumbDragStopsAtTheTrackEndsAndSeeksOnlyOnRelease) {
  MouseEvent e{300, 110, MouseTarget::Thumb, 0};
  g.Press(MouseButton::Left, e);
  EXPECT_EQ(g.MouseAction(), "Bar");
  g.Move(MouseEvent{1000, 110, MouseTarget::Window, -1}, true);
  EXPECT_EQ(w.thumbLeft, 200);
  g.Move(MouseEvent{0, 110, MouseTarget::Window, -1}, true);
  EXPECT_EQ(w.thumbLeft, 10);
  g.Move(MouseEvent{320, 110, MouseTarget::Window, -1}, true);
  EXPECT_EQ(w.thumbLeft, 70);
  EXPECT_TRUE(w.calls.empty());  // nothing seeks while dragging
  w.hit = AreaPress{AreaPress::Effect::Seek};
  g.Release(MouseEvent{320, 110, MouseTarget::Window, -1});
  EXPECT_EQ(w.calls, (std::vector<std::string>{"hit 75,7", "area track"}));
}

TEST_F(GestureTest, AReleaseOutsideTheWindowIsCaughtByTheNextMove) {
  g.Press(MouseButton::Left, At(200, 120));
  g.Move(At(900, 700), false);  // button found up
  EXPECT_EQ(g.MouseAction(), "");
  EXPECT_EQ(w.calls.back(), "show");
}

TEST_F(GestureTest, ANewPressStartsNothingWhileAGestureIsUnderWay) {
  action.Set(kMouseMinimize);
  g.Press(MouseButton::Left, At(200, 120));
  EXPECT_EQ(g.MouseAction(), "Minimize");
  EXPECT_TRUE(w.calls.empty());
  g.Release(At(200, 120));
  EXPECT_EQ(w.calls, (std::vector<std::string>{"actMinimize"}));
}

TEST_F(GestureTest, DoubleClickPlaysOrOpens) {
  g.DoubleClick();
  g.Release(At(200, 120));
  w.hasPicture = true;
  g.DoubleClick();
  g.Press(MouseButton::Left, At(200, 120));  // the double click's own press
  g.Release(At(200, 120));
  EXPECT_EQ(w.calls, (std::vector<std::string>{"actOpen", "actPlayPause"}));
}

TEST_F(GestureTest, RightButtonPopsUpTheMenuOfWhereItIs) {
  g.Press(MouseButton::Right, At(200, 120, MouseTarget::PlayListView));
  g.Press(MouseButton::Right, At(200, 120));
  EXPECT_EQ(w.calls, (std::vector<std::string>{"popPlayList", "popMain"}));
  EXPECT_EQ(g.MouseAction(), "");
  EXPECT_FALSE(g.PressUnderWay());
}

}  // namespace
}  // namespace orves
