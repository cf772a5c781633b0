#include "player/window/LayoutAreas.h"

#include <vector>

#include <gtest/gtest.h>

namespace orves {
namespace {

constexpr SkinSizes kMargins{.marginUp = 30, .marginDown = 40, .marginLeft = 10, .marginRight = 10};

TEST(LayoutAreas, NegativeCoordinatesCountFromTheFarEdge) {
  const std::vector<TClickArea> areas{{0, -40, 30, 10, "Stop"}};
  struct Case {
    int windowWidth, x;
    bool hit;
  } cases[] = {{400, 360, true}, {400, 390, true}, {400, 359, false}, {400, 391, false},
               {500, 460, true}, {500, 490, true}, {500, 459, false}, {500, 491, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(FindArea(areas, {}, c.x, 5, c.windowWidth, 300, false).name == "Stop", c.hit)
        << c.windowWidth << " px, x " << c.x;
  }
}

TEST(LayoutAreas, FullScreenNamesCountOnlyInFullScreenAndBarsWin) {
  const std::vector<TClickArea> areas{{0, 0, 50, 50, "PlayPause"}, {0, 0, 50, 50, "FullScreenPlayPause"}};
  const std::vector<TBarArea> bars{{40, 10, 110, 60, 10, "Volume"}};
  EXPECT_EQ(FindArea(areas, bars, 5, 5, 400, 300, false).name, "PlayPause");
  EXPECT_EQ(FindArea(areas, bars, 5, 5, 400, 300, true).name, "FullScreenPlayPause");
  const AreaHit bar = FindArea(areas, bars, 45, 45, 400, 300, false);
  EXPECT_TRUE(bar.onBar);
  EXPECT_EQ(bar.name, "Volume");
  EXPECT_TRUE(FindArea(areas, bars, 45, 45, 400, 300, true).name == "FullScreenPlayPause");
  EXPECT_EQ(CommandOfArea("FullScreenStop").action, std::string("actStop"));
  EXPECT_EQ(CommandOfArea("Pause").action, std::string("actPlayPause"));
  EXPECT_EQ(CommandOfArea("Unknown").effect, AreaPress::Effect::Taken);
}

TEST(LayoutGeometry, TrackValuesAtTheEndsAndBetween) {
  const BarTrack track{10, 110, 10};
  struct Case {
    int x, volume;
    double seconds;
  } cases[] = {{20, -3200, 0}, {60, -1600, 50}, {99, -40, 98.75},
               {100, 0, 100},  {0, -3200, 0},   {500, 0, 100}};
  for (const Case& c : cases) {
    EXPECT_EQ(TrackVolume(track, c.x), c.volume) << c.x;
    EXPECT_DOUBLE_EQ(TrackShare(track, c.x) * 100, c.seconds) << c.x;
  }
  EXPECT_EQ(TrackVolume({0, 2'000'000'000, -2'000'000'000}, 1'000'000'000), -1600);  // no overflow
}

TEST(LayoutGeometry, WindowSizeFollowsThePictureWithinTheMinimum) {
  const PictureSize picture{true, 640, 480, 0};
  SkinSizes tall = kMargins;
  tall.minHeight = 400;
  SkinSizes wide = kMargins;
  wide.minWidth = 300;
  struct Case {
    const char* what;
    WindowSize size;
    WindowSize expected;
  } cases[] = {
      {"660 wide", SizeFromWidth(kMargins, picture, {660, 1}), {660, 550}},
      {"661 wide rounds up", SizeFromWidth(kMargins, picture, {661, 1}), {661, 551}},
      {"too low for the minimum", SizeFromWidth(tall, picture, {100, 1}), {460, 400}},
      {"no picture", SizeFromWidth(wide, {}, {10, 10}), {300, 10}},
      {"from a height", SizeFromHeight(kMargins, picture, {1, 550}), {660, 550}},
      {"from a height, at least the minimum width",
       SizeFromHeight(wide, {true, 100, 800, 0}, {1, 150}),
       {300, 150}},
      {"picture of no height", SizeFromHeight(kMargins, {true, 640, 0, 0}, {50, 60}), {50, 60}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.size, c.expected) << c.what;
  }
}

// A 1024 x 738 work area (the task bar below) at (0, 0), or at (1024, 0) for
// a second monitor.
TEST(LayoutGeometry, AZoomedWindowStaysInsideTheWorkArea) {
  const PictureSize picture{true, 640, 480, 0};  // frame 20 x 70
  const ScreenRect area{0, 0, 1024, 738};
  SkinSizes huge = kMargins;
  huge.minWidth = 2000;
  struct Case {
    const char* what;
    ScreenRect window;
    ScreenRect expected;
    ScreenRect workArea = {0, 0, 1024, 738};
    SkinSizes skin = kMargins;
  } cases[] = {
      {"inside: untouched", {100, 50, 760, 600}, {100, 50, 760, 600}},
      {"past the right and bottom edges: moved back", {600, 400, 1260, 950}, {364, 188, 1024, 738}},
      {"past the top left: moved back", {-50, -20, 610, 530}, {0, 0, 660, 550}},
      {"wider than the area: the aspect kept", {0, 0, 1300, 1045}, {0, 0, 910, 738}},
      {"taller than the area: the aspect kept", {10, 10, 1000, 1300}, {10, 0, 920, 738}},
      {"on a second monitor", {1500, 700, 2160, 1250}, {1388, 188, 2048, 738}, {1024, 0, 2048, 738}},
      {"even the minimum does not fit", {300, 300, 2300, 1800}, {0, 0, 2000, 738}, area, huge},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeepInWorkArea(c.skin, picture, c.window, c.workArea), c.expected) << c.what;
  }
}

TEST(LayoutGeometry, FullScreenModeIsTheLastMatch) {
  const std::vector<DisplayMode> modes{{800, 600, 32}, {1024, 768, 16}, {1024, 768, 32}, {1024, 600, 32}};
  EXPECT_EQ(FindFullScreenMode(modes, 1024, 32)->height, 600);
  EXPECT_FALSE(FindFullScreenMode(modes, 1280, 32).has_value());
}

}  // namespace
}  // namespace orves
