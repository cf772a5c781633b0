// What the desktop sees of the player: the display kept awake only while a
// movie plays in a visible window, and the title the taskbar shows.
#include <gtest/gtest.h>

#include <vector>

#include "player/shell/StayAwake.h"
#include "player/shell/WindowTitle.h"

namespace orves {
namespace {

struct RecordingSleep final : ISystemSleep {
  std::vector<bool> calls;
  void KeepAwake(bool on) override { calls.push_back(on); }
};

TEST(StayAwakeTest, AwakeOnlyWhilePlayingAndNotMinimised) {
  RecordingSleep system;
  {
    TStayAwake awake(system);
    awake.Update(false, false);  // stopped: nothing to ask
    awake.Update(true, false);   // playing
    awake.Update(true, false);   // the next ticks ask nothing more
    awake.Update(true, true);    // minimised while playing
    awake.Update(true, false);
    awake.Update(false, false);  // paused or stopped
    awake.Update(true, false);
  }  // the player ends while playing
  EXPECT_EQ(system.calls, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST(WindowTitleTest, ShowsTheMovieNameBeforeTheApplication) {
  EXPECT_EQ(MainWindowTitle(""), "Orve's MP");
  EXPECT_EQ(MainWindowTitle("C:\\Movies\\10.avi"), "10.avi - Orve's MP");
  EXPECT_EQ(MainWindowTitle("http://example.org/live/show.asf"), "show.asf - Orve's MP");
  EXPECT_EQ(MainWindowTitle("http://example.org/"), "http://example.org/ - Orve's MP");
}

}  // namespace
}  // namespace orves
