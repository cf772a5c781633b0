// Media keys and application commands reach the command table's actions.
#include <gtest/gtest.h>

#include "player/controller/AppCommands.h"
#include "player/controller/CommandTable.h"
#include "tests/unit/controller/ControllerFakes.h"

namespace orves {
namespace {

TEST(AppCommandsTest, ApplicationCommandsRunExistingActions) {
  struct Case {
    int appCommand;      // APPCOMMAND_*
    const char* action;  // in the command table
  };
  const Case cases[] = {
      {14, "actPlayPause"}, {46, "actPlay"},      {47, "actPause"},
      {13, "actStop"},      {12, "actPlayPre"},   {11, "actPlayNext"},
      {10, "actVolumeUp"},  {9, "actVolumeDown"}, {8, "actToggleMute"},
  };
  for (const Case& c : cases) {
    ASSERT_NE(ActionForAppCommand(c.appCommand), nullptr) << c.appCommand;
    EXPECT_STREQ(ActionForAppCommand(c.appCommand), c.action);
    EXPECT_NE(FindCommand(c.action), nullptr) << c.action;
  }
  // The browser's Back is not the player's.
  EXPECT_EQ(ActionForAppCommand(1), nullptr);
}

TEST(AppCommandsTest, MuteTogglesTheSoundAndSaysSo) {
  test::FakeWorld world;
  TMainController controller(world.Ports());
  ASSERT_TRUE(controller.Execute("actToggleMute"));
  EXPECT_TRUE(world.player.Mute());
  EXPECT_TRUE(world.Called("state 음소거 / MUTE"));
  controller.Execute("actToggleMute");
  EXPECT_FALSE(world.player.Mute());
  EXPECT_TRUE(world.Called("state 음소거 해제 / SOUND ON"));
}

}  // namespace
}  // namespace orves
