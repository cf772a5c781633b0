// The caption view behind TMedia's caption link: a caption file with a
// Korean name loads, its name comes back unchanged, and clearing empties it.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "player/captions/CaptionView.h"
#include "player/captions/TextCodec.h"
#include "player/playback/CaptionViewLink.h"
#include "player/shell/Setup.h"
#include "tests/unit/playback/PlaybackFakes.h"

namespace orves {
namespace {

using testing::FakeStateText;
using testing::TempSettings;

TEST(CaptionViewLinkTest, LoadsByUtf8NameAndClears) {
  TempSettings settings("caption-link");
  const std::string name = (settings.Folder() / "").string() + "영화 자막.smi";
  std::ofstream(std::filesystem::path(std::u8string(name.begin(), name.end())), std::ios::binary)
      << "<SAMI><BODY>\n<SYNC Start=1000><P Class=KRCC>Hello\n<SYNC Start=2000><P Class=KRCC>&nbsp;\n"
         "</BODY></SAMI>\n";
  TSetup setup(settings.Path());
  auto codec = MakeSystemTextCodec();
  FakeStateText state;
  TCaptionView view(setup, *codec, state);
  CaptionViewLink link(view);
  EXPECT_FALSE(link.HasCaptions());
  link.LoadCaptionFile(name);
  EXPECT_TRUE(link.HasCaptions());
  EXPECT_EQ(link.CaptionFileName(), name);
  link.ClearCaptions();
  EXPECT_FALSE(link.HasCaptions());
  link.LoadCaptionFile(name + ".missing");
  EXPECT_FALSE(link.HasCaptions());
}

}  // namespace
}  // namespace orves
