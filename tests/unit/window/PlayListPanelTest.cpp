#include "player/window/PlayListPanel.h"

#include <gtest/gtest.h>

namespace orves {
namespace {

struct ArrangeCase {
  const char* what;
  PlayListFrame frame;
  int widest;
  int count;
  PanelRect panel;
  PanelRect list;
  int column;
};

TEST(PlayListPanelTest, ArrangeKeepsTheWidthAndHeightLimits) {
  constexpr PlayListFrame k640{640, 480, 0, 0, 10, 20};
  const ArrangeCase cases[] = {
      {"at least a quarter of the media width", k640, 100, 3, {10, 40, 160, 95}, {7, 30, 146, 58}, 126},
      {"widest caption plus room", k640, 200, 3, {10, 40, 254, 95}, {7, 30, 240, 58}, 220},
      {"at most half the media width", k640, 400, 3, {10, 40, 320, 95}, {7, 30, 306, 58}, 286},
      {"an empty list is 50 high with no list view", k640, 0, 0, {10, 40, 160, 50}, {7, 30, 146, 0}, 126},
      {"many entries stop 20 above the bottom", k640, 100, 100, {10, 40, 160, 430}, {7, 30, 146, 393}, 126},
      {"a small window keeps the minimum height",
       {200, 60, 0, 0, 10, 20},  // no room below
       100,
       5,
       {10, 40, 100, 50},
       {7, 30, 86, 13},
       66},
      {"a window with no room at all", {0, 0, 0, 0, 0, 0}, 100, 5, {10, 10, 0, 50}, {7, 30, 0, 13}, 0},
  };
  for (const ArrangeCase& c : cases) {
    const PlayListPlace place = ArrangePlayList(c.widest, c.count, c.frame);
    EXPECT_EQ(place.panel, c.panel) << c.what;
    EXPECT_EQ(place.list, c.list) << c.what;
    EXPECT_EQ(place.columnWidth, c.column) << c.what;
  }
}

TEST(PlayListPanelTest, TheZoneRunsFromThePanelTopTo10AboveTheMediaBottomEdgesIncluded) {
  // Media panel 640 x 480 at (100, 50) on the screen; panel at (10, 40), 160 wide.
  const PlayListFrame frame{640, 480, 100, 50, 10, 20};
  const PlayListPlace place = ArrangePlayList(100, 3, frame);
  const struct {
    int x, y;
    bool inside;
  } points[] = {{110, 90, true},   {270, 520, true}, {200, 300, true}, {109, 200, false},
                {271, 200, false}, {200, 89, false}, {200, 521, false}};
  for (const auto& p : points) {
    EXPECT_EQ(InPlayListZone(place, frame, p.x, p.y), p.inside) << p.x << "," << p.y;
  }
}

TEST(PlayListPanelTest, ShowTicksKeepThePanelUpOnlyWhileThePointerIsOutside) {
  const struct {
    bool enabled, inZone, shown;
    int ticksAfter;
  } steps[] = {
      {true, true, true, 2},    // inside: shown, no tick used
      {true, false, true, 1},   // outside: the ticks keep it up
      {true, false, true, 0},   //
      {true, false, false, 0},  // then it goes
      {true, true, true, 0},    // and comes back with the pointer
      {false, true, false, 0},  // never while switched off
  };
  int showTicks = 2;
  for (const auto& s : steps) {
    EXPECT_EQ(PlayListShownThisTick(s.enabled, s.inZone, showTicks), s.shown);
    EXPECT_EQ(showTicks, s.ticksAfter);
  }
}

TEST(PlayListPanelTest, CaptionsMarkTheCurrentEntryAndNumberFromOne) {
  EXPECT_EQ(PlayListCaption(2, true, "a.avi"), "\u25CF 3: a.avi");
  EXPECT_EQ(PlayListCaption(0, false, "\xEC\x98\x81.avi"), "\u3000 1: \xEC\x98\x81.avi");
}

}  // namespace
}  // namespace orves
