#include "player/window/Layout.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/Setup.h"
#include "tests/unit/core/NullServices.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

constexpr SkinSizes kMargins{
    .marginUp = 30, .marginDown = 40, .marginLeft = 10, .marginRight = 10, .fullScreenBarHeight = 20};

// ---- TLayout over a recorded window ------------------------------------------

struct FakeSkin final : ILayoutSkin {
  SkinSizes sizes = kMargins;
  std::vector<TClickArea> areas;
  std::vector<TBarArea> bars;
  const SkinSizes& Sizes() const override { return sizes; }
  const std::vector<TClickArea>& ClickAreas() const override { return areas; }
  const std::vector<TBarArea>& BarAreas() const override { return bars; }
};

struct FakeWindow final : ILayoutWindow {
  int left = 0, top = 0, width = 500, height = 400;
  ScreenRect workArea{0, 0, 1920, 1040};
  bool maximized = false, movieVisible = true;
  PictureSize picture{true, 320, 240, 3};
  std::vector<std::string> actions;
  void ClientSize(int& w, int& h) const override {
    w = maximized ? 1280 : width, h = maximized ? 720 : height;
  }
  void SetWindowSize(int w, int h) override { width = w, height = h; }
  ScreenRect WindowRect() const override { return {left, top, left + width, top + height}; }
  ScreenRect WorkArea() const override { return workArea; }
  void MoveWindowTo(int l, int t) override { left = l, top = t; }
  bool IsMaximized() const override { return maximized; }
  void Maximize() override { maximized = true; }
  void RestoreWindow() override { maximized = false; }
  void MinimizeApplication() override { actions.push_back("minimised"); }
  void PaintSkin() override {}
  void PlaceMediaPanel(const PanelRect&) override {}
  void PlaceFullScreenBar(const PanelRect&) override {}
  void SetFullScreenBarVisible(bool) override {}
  void SetMovieVisible(bool visible) override { movieVisible = visible; }
  void SetCaptionVisible(bool) override {}
  bool CaptionPanelVisible() const override { return false; }
  PictureSize Picture() const override { return picture; }
  void RefitPicture(bool) override {}
  void RefreshCaptions() override {}
};

struct LastState final : testing::NullStateText {
  void ShowState(const std::string&, const std::string& english) override { shown = english; }
  std::string shown;
};

struct FakeDisplay final : IDisplay {
  int cursor = 0;
  std::vector<std::string> calls;
  std::vector<DisplayMode> Modes() const override { return {{1024, 768, 32}}; }
  void SetMode(const DisplayMode& mode) override { calls.push_back("set " + std::to_string(mode.width)); }
  void RestoreMode() override { calls.push_back("restore"); }
  int ShowCursor(bool show) override { return cursor += show ? 1 : -1; }
};

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_ = fs::temp_directory_path() /
           ("orves-layout-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
            ".ini");
    fs::remove(ini_);
    setup_ = std::make_unique<TSetup>(ini_);
    layout_ = std::make_unique<TLayout>(*setup_, skin_, TLayoutServices{window_, display_, state_, mouse_});
  }
  void TearDown() override {
    layout_.reset();
    setup_.reset();
    fs::remove(ini_);
  }
  fs::path ini_;
  FakeSkin skin_;
  FakeWindow window_;
  FakeDisplay display_;
  LastState state_;
  TMouseAction mouse_;
  std::unique_ptr<TSetup> setup_;
  std::unique_ptr<TLayout> layout_;
};

// Frame 2×3 + 10 + 10 = 26 wide, 2×3 + 30 + 40 = 76 high round a 320 × 240 picture.
TEST_F(LayoutTest, StartModesAndZoomSizeTheWindow) {
  struct Case {
    int startMode;
    bool newlyOpened;
    WindowSize expected;
    bool fullScreen;
  } cases[] = {{0, true, {500, 432}, false}, {1, true, {186, 196}, false}, {2, true, {346, 316}, false},
               {3, true, {506, 436}, false}, {4, true, {666, 556}, false}, {4, false, {500, 432}, false},
               {5, true, {1280, 720}, true}};
  for (const Case& c : cases) {
    window_ = FakeWindow{};
    layout_->LeaveFullScreen();
    layout_->startMode = c.startMode;
    layout_->ApplyStartSize(c.newlyOpened);
    int w = 0, h = 0;
    window_.ClientSize(w, h);
    EXPECT_EQ((WindowSize{w, h}), c.expected) << "start mode " << c.startMode;
    EXPECT_EQ(layout_->IsFullScreen(), c.fullScreen) << "start mode " << c.startMode;
  }
  window_.picture = {};
  skin_.sizes.minWidth = 400;
  layout_->Zoom(2.0);
  EXPECT_EQ((WindowSize{window_.width, window_.height}), (WindowSize{400, 200}));
}

TEST_F(LayoutTest, AZoomedWindowIsMovedBackIntoTheWorkArea) {
  window_.left = 600;
  window_.top = 500;
  window_.workArea = {0, 0, 1024, 738};
  layout_->Zoom(2.0);
  EXPECT_EQ(window_.WindowRect(), (ScreenRect{358, 182, 1024, 738}));  // 666 x 556, as zoomed
}

TEST_F(LayoutTest, FullScreenEnterAndLeaveRestoreTheWindowAndTheDisplay) {
  layout_->fullScreenDpi = 1024;
  mouse_.Set(kMouseWindowDrag);
  layout_->ToggleFullScreen();
  EXPECT_FALSE(layout_->IsFullScreen()) << "no toggle while dragging";
  mouse_.Clear();
  layout_->ToggleFullScreen();
  EXPECT_TRUE(window_.maximized);
  EXPECT_EQ(state_.shown, "FULLSCREEN :ON");
  layout_->ToggleFullScreen();
  EXPECT_FALSE(window_.maximized);
  EXPECT_EQ((WindowSize{window_.width, window_.height}), (WindowSize{500, 432})) << "earlier width kept";
  EXPECT_EQ(display_.calls, (std::vector<std::string>{"set 1024", "restore"}));
  layout_->fullScreenDpi = 0;
  layout_->ToggleFullScreen();
  layout_->LeaveFullScreen();
  EXPECT_FALSE(window_.maximized);
  EXPECT_EQ(display_.calls.size(), 2u) << "no mode change with FullScreenDpi 0";
}

TEST_F(LayoutTest, CursorCounterSettlesWhateverItWas) {
  for (int start : {-5, -1, 0, 3}) {
    display_.cursor = start;
    layout_->HideMouseCursor();
    layout_->HideMouseCursor();
    EXPECT_EQ(display_.cursor, -1) << start;
    layout_->ShowMouseCursor();
    EXPECT_EQ(display_.cursor, 0) << start;
  }
}

TEST_F(LayoutTest, PressesFindTheirAreasCommands) {
  skin_.areas = {{0, 0, 10, 10, "Stop"}, {20, 0, 10, 10, "Minimize"}, {40, 0, 10, 10, "Skinny"}};
  skin_.bars = {{-30, 10, -10, -20, 5, "Position"}, {100, 10, 110, 120, 5, "Volume"}};
  using E = AreaPress::Effect;
  const struct {
    int x, y;
    E effect;
  } cases[] = {{5, 5, E::Action},   {5, 25, E::Minimize}, {5, 45, E::Taken},  // an unknown name is taken
               {490, 375, E::Seek}, {60, 110, E::Volume}, {200, 200, E::Nothing}};
  for (const auto& c : cases) EXPECT_EQ(layout_->HitTest(c.x, c.y).effect, c.effect) << c.x << "," << c.y;
  EXPECT_STREQ(layout_->HitTest(5, 5).action, "actStop");
  EXPECT_DOUBLE_EQ(layout_->HitTest(490, 375).share, 1);
  EXPECT_EQ(layout_->HitTest(60, 110).volume, -1600);
}

}  // namespace
}  // namespace orves
