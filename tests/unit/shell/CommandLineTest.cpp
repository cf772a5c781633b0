#include "player/shell/CommandLine.h"

#include <gtest/gtest.h>

namespace orves {
namespace {

TEST(CommandLine, TheFiveWordsAreComparedExactly) {
  EXPECT_EQ(ClassifyFirstArgument("Help"), StartWord::Help);
  EXPECT_EQ(ClassifyFirstArgument("Install"), StartWord::Install);
  EXPECT_EQ(ClassifyFirstArgument("InstallWithCodec"), StartWord::InstallWithCodec);
  EXPECT_EQ(ClassifyFirstArgument("UnInstall"), StartWord::UnInstall);
  EXPECT_EQ(ClassifyFirstArgument("UnInstallWithCodec"), StartWord::UnInstallWithCodec);
  for (auto word : {StartWord::Help, StartWord::Install, StartWord::InstallWithCodec, StartWord::UnInstall,
                    StartWord::UnInstallWithCodec}) {
    EXPECT_TRUE(EndsProgram(word));
  }
}

TEST(CommandLine, AnyOtherSpellingIsAFileToPlay) {
  for (const char* arg : {"install", "INSTALL", "Uninstall", "help", "Install ", " Help", "InstallWithCodecs",
                          "C:\\Movies\\a.avi"}) {
    EXPECT_EQ(ClassifyFirstArgument(arg), StartWord::PlayFile) << arg;
  }
  EXPECT_FALSE(EndsProgram(StartWord::PlayFile));
  EXPECT_EQ(ClassifyFirstArgument(""), StartWord::None);
  EXPECT_FALSE(EndsProgram(StartWord::None));
}

}  // namespace
}  // namespace orves
