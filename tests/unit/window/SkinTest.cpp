// The skin loader and its arithmetic over skin folders written to a
// temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "player/core/Setup.h"
#include "player/window/Skin.h"
#include "tests/unit/window/DiskFiles.h"
#include "tests/unit/window/SkinFakes.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

void Put16(std::string& b, uint32_t v) { b += char(v & 0xFF), b += char((v >> 8) & 0xFF); }
void Put32(std::string& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A 24-bit bottom-up BMP of one colour (0x00RRGGBB).
std::string Bmp(int width, int height, uint32_t rgb = 0x336699) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::string b = "BM";
  Put32(b, 54 + stride * height), Put32(b, 0), Put32(b, 54);
  Put32(b, 40), Put32(b, width), Put32(b, height), Put16(b, 1), Put16(b, 24);
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b += char(rgb & 0xFF), b += char((rgb >> 8) & 0xFF), b += char(rgb >> 16);
    b.append(stride - width * 3, '\0');
  }
  return b;
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.root = fs::temp_directory_path() / ("orves-skin-" + std::to_string(getpid()));
    fs::remove_all(files_.root);
    fs::create_directories(files_.root / "Skin");
  }
  void TearDown() override { fs::remove_all(files_.root); }

  void Write(const std::string& skin, const std::string& file, const std::string& bytes) {
    fs::create_directories(files_.root / "Skin" / skin);
    std::ofstream(files_.root / "Skin" / skin / file, std::ios::binary) << bytes;
  }
  // A whole skin: every frame piece, a 15-pixel thumb for each bar.
  void MakeSkin(const std::string& name, const std::string& bars, const std::string& skinIni = "") {
    for (int i = 0; i < kFramePieces; ++i) Write(name, FramePieceFile(static_cast<FramePiece>(i)), Bmp(4, 4));
    Write(name, "BarAreas.ini", bars);
    for (const char* bar : {"Position", "Volume"}) Write(name, std::string("Bar") + bar + ".bmp", Bmp(15, 9));
    Write(name, "Skin.ini", skinIni);
  }
  std::unique_ptr<TSkin> MakeTSkin() {
    setup_ = std::make_unique<TSetup>(files_.root / "OrvesMP.ini");
    return std::make_unique<TSkin>(*setup_, files_, "Skin", window_.Services());
  }

  testing::DiskFiles files_;
  testing::FakeSkinWindow window_;
  std::unique_ptr<TSetup> setup_;
};

TEST(SkinIntegerTest, ReadsDecimalAndBothHexForms) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"12", 12}, {" -40 ", -40}, {"$FF", 255}, {"0x10", 16}, {"$FFFFFFFF", -1},
               {"", 7},    {"abc", 7},     {"12x", 7},   {"$", 7},     {"99999999999", 7}};
  for (const auto& c : cases) EXPECT_EQ(ParseSkinInteger(c.text, 7), c.value) << c.text;
}

TEST(SkinAreaTest, NegativeCoordinatesCountFromTheFarEdge) {
  const TClickArea area{-30, -40, 30, 20, "Stop"};
  EXPECT_EQ(TSkin::Resolve(area, 400, 300), (AreaRect{360, 270, 390, 290}));
  EXPECT_EQ(TSkin::Resolve(area, 500, 300), (AreaRect{460, 270, 490, 290}));
}

TEST(SkinBitmapTest, RefusesCorruptAndHugeFiles) {
  const std::string good = Bmp(3, 2, 0xFF0000);
  std::string hugeSize = good;
  hugeSize[18] = hugeSize[19] = hugeSize[20] = '\x7F';
  std::string badFormat = good;
  badFormat[28] = 16;
  std::string badOffset = good;
  badOffset[13] = '\x7F';
  const std::string cases[] = {"",       "BM",      good.substr(0, 60), "XX" + good.substr(2),
                               hugeSize, badFormat, badOffset};
  for (const std::string& bytes : cases) {
    SkinBitmap out;
    std::string error;
    EXPECT_FALSE(DecodeBmp(bytes, out, error));
    EXPECT_FALSE(error.empty());
  }
  SkinBitmap out;
  std::string error;
  ASSERT_TRUE(DecodeBmp(good, out, error)) << error;
  EXPECT_EQ(out.width, 3);
  EXPECT_EQ(out.pixels.at(5), 0xFF0000u);
}

TEST_F(SkinTest, LoadsAtTheWindowsScaleAndRemakesItselfForANewOne) {
  MakeSkin("Default", "[Position]\nLeft=10\nTop=-20\nRight=-10\n",
           "[Sizes]\nWidth=320\nHeight=200\nMinWidth=100\n");
  Write("Default", "Texts.ini", "[Position]\nX=-60\nY=3\n");
  window_.dpi = 192;
  auto skin = MakeTSkin();
  skin->LoadSkinFromSettings();
  EXPECT_EQ(skin->Sizes().width, 640);
  EXPECT_TRUE(window_.resized);
  // The painter is handed texts and thumbs already at the scale.
  skin->PaintTexts();
  skin->PlaceThumbs();
  ASSERT_EQ(window_.drawn.size(), 1u);
  EXPECT_EQ(window_.drawn[0].x, 400 - 120);
  EXPECT_EQ(window_.drawn[0].y, 6);
  EXPECT_EQ(window_.thumbAt[0], std::make_pair(20, 300 - 40));

  // Another monitor: made again from the files' bitmaps, the window keeps its size.
  window_.dpi = 144;
  const int applied = window_.applied;
  skin->Rescale();
  EXPECT_EQ(window_.applied, applied + 1);
  EXPECT_FALSE(window_.resized);
  EXPECT_EQ(skin->Sizes().minWidth, 150);
  EXPECT_EQ(skin->Data().thumbs.at(0).width, 23);
  skin->PlaceThumbs();
  EXPECT_EQ(window_.thumbAt[0], std::make_pair(15, 300 - 30));
  skin->Rescale();
  EXPECT_EQ(window_.applied, applied + 1);
  window_.dpi = 96;
  skin->Rescale();
  EXPECT_EQ(skin->Sizes().width, 320);
  EXPECT_EQ(skin->Data().thumbs.at(0).width, 15);
}

TEST_F(SkinTest, MissingValuesTakeTheirDefaults) {
  MakeSkin("Plain", "");
  auto skin = MakeTSkin();
  skin->LoadSkin("Plain");
  EXPECT_EQ(skin->Name(), "Plain");
  EXPECT_EQ(skin->Values().formColor, 0xEBEBEBu);
  EXPECT_EQ(skin->Values().playListFontColor, 0xFFFFFFu);
  EXPECT_TRUE(skin->Texts().empty());
}

TEST_F(SkinTest, NothingOpenShowsZeroTimesAndThumbsAtTheLeft) {
  MakeSkin("Default", "[Position]\nLeft=10\nTop=-20\nRight=-10\n[Volume]\nLeft=$14\nTop=5\nRight=120\n");
  Write("Default", "Texts.ini", "[Position]\nX=-60\nY=3\n[FullScreenDuration]\nX=5\n[Logo]\n");
  auto skin = MakeTSkin();
  window_.volume = -3200;
  skin->LoadSkinFromSettings();
  ASSERT_EQ(skin->BarAreas().size(), 2u);
  EXPECT_EQ(skin->BarAreas()[0].halfThumbWidth, 7);
  skin->PaintTexts();
  ASSERT_EQ(window_.drawn.size(), 3u);
  EXPECT_EQ(window_.drawn[0].content, "00:00:00");
  EXPECT_EQ(window_.drawn[0].x, 340);
  EXPECT_EQ(window_.drawn[1].content, "00:00:00");
  EXPECT_TRUE(window_.drawn[1].onFullScreenBar);
  EXPECT_EQ(window_.drawn[2].content, "");
  skin->PlaceThumbs();
  EXPECT_EQ(window_.thumbAt[0], std::make_pair(10, 280));
  EXPECT_EQ(window_.thumbAt[1], std::make_pair(20, 5));
}

TEST_F(SkinTest, ThumbsFollowPlaybackAndMoveOnlyWhenTheirPlaceChanges) {
  MakeSkin("Default", "[Position]\nLeft=10\nRight=110\n[Volume]\nLeft=10\nRight=110\n");
  auto skin = MakeTSkin();
  skin->LoadSkinFromSettings();
  const struct {
    int volume;
    double position;
    int volumeLeft;
    int positionLeft;
  } cases[] = {{-3200, 0, 10, 10}, {0, 100, 96, 96}, {-1600, 50, 53, 53}, {-1600, 500, 53, 96}};
  window_.open = true;
  window_.duration = 100;
  for (const auto& c : cases) {
    window_.volume = c.volume;
    window_.position = c.position;
    skin->PlaceThumbs();
    EXPECT_EQ(window_.thumbAt[1].first, c.volumeLeft) << c.volume;
    EXPECT_EQ(window_.thumbAt[0].first, c.positionLeft) << c.position;
  }
  const int moves = window_.thumbMoves;
  skin->PlaceThumbs();
  window_.mouseAction.Set(kMouseBar);
  window_.volume = -3200;
  skin->PlaceThumbs();
  EXPECT_EQ(window_.thumbMoves, moves);
}

TEST_F(SkinTest, AFailedLoadKeepsThePreviousSkinWhole) {
  MakeSkin("Good", "[Volume]\nLeft=1\n", "[Values]\nFormColor=255\n");
  MakeSkin("Broken", "[Volume]\nLeft=2\n[Position]\n", "[Values]\nFormColor=0x10\n");
  fs::remove(files_.root / "Skin" / "Broken" / "Down.bmp");
  auto skin = MakeTSkin();
  skin->LoadSkin("Good");
  skin->LoadSkin("Broken");
  EXPECT_EQ(skin->Name(), "Good");
  EXPECT_EQ(skin->BarAreas().size(), 1u);
  EXPECT_EQ(skin->Values().formColor, 255u);
  ASSERT_EQ(window_.errors.size(), 1u);
  EXPECT_NE(window_.errors[0].find("Down.bmp"), std::string::npos);
  EXPECT_EQ(window_.applied, 1);
}

TEST_F(SkinTest, AStoredSkinThatFailsFallsBackToDefault) {
  MakeSkin("Default", "");
  setup_ = std::make_unique<TSetup>(files_.root / "OrvesMP.ini");
  setup_->WriteString("Skin", "Name", "Gone");
  auto skin = std::make_unique<TSkin>(*setup_, files_, "Skin", window_.Services());
  skin->LoadSkinFromSettings();
  EXPECT_EQ(skin->Name(), "Default");
  EXPECT_TRUE(window_.errors.empty());
}

TEST_F(SkinTest, OnlyFoldersAreSkinsAndLoadsInFullScreenKeepTheWindowSize) {
  MakeSkin("beta", "");
  MakeSkin("Alpha", "");
  std::ofstream(files_.root / "Skin" / "readme.txt") << "x";
  auto skin = MakeTSkin();
  EXPECT_EQ(skin->SkinNames(), (std::vector<std::string>{"Alpha", "beta"}));
  window_.fullScreen = true;
  skin->LoadSkin("beta");
  EXPECT_FALSE(window_.resized);
  skin->PlaceThumbs();
  EXPECT_FALSE(window_.frameThumbsShown);  // full screen covers the frame
  skin->LoadSkin("..");
  EXPECT_EQ(skin->Name(), "beta");
}

}  // namespace
}  // namespace orves
