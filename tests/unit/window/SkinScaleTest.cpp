// A 96-DPI skin made for other monitor scales: whole multiples are the same
// picture with every pixel repeated and every place multiplied; other scales
// keep edges meeting and thumbs' holes clean.
#include <gtest/gtest.h>

#include "player/window/SkinScale.h"

namespace orves {
namespace {

SkinBitmap Filled(int width, int height, uint32_t colour) {
  return SkinBitmap{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

TEST(DpiScaleTest, RoundsLengthsAndMirrorsEdgeCoordinates) {
  const struct {
    int dpi, value, scaled;
  } cases[] = {{96, 37, 37},   {192, 20, 40}, {192, -20, -40}, {144, 7, 11},
               {144, -7, -11}, {120, 4, 5},   {0, 9, 9},       {-5, 9, 9}};
  for (const auto& c : cases) EXPECT_EQ(DpiScale(c.dpi).Scale(c.value), c.scaled) << c.dpi << " " << c.value;
  EXPECT_EQ(DpiScale(288).WholeFactor(), 3);
  EXPECT_EQ(DpiScale(144).WholeFactor(), 0);
}

TEST(SkinScaleTest, WholeMultiplesRepeatPixelsAndMultiplyEveryPlace) {
  SkinData skin;
  skin.frame[0] = SkinBitmap{2, 1, {0x112233, 0x445566}};
  skin.thumbs.push_back(Filled(15, 9, 0x808080));
  skin.barAreas.push_back(TBarArea{-20, 10, -10, -12, 7, "Position"});
  skin.clickAreas.push_back(TClickArea{-30, -40, 30, 20, "Stop"});
  skin.texts.push_back(TSkinText{"Position", -60, 3, -11, 0, 0, "Gulim"});
  skin.sizes = SkinSizes{320, 200, 20, 30, 4, 5, 160, 120, 25};

  const SkinData big = ScaleSkin(skin, DpiScale(192));
  EXPECT_EQ(big.frame[0].pixels, (std::vector<uint32_t>{0x112233, 0x112233, 0x445566, 0x445566, 0x112233,
                                                        0x112233, 0x445566, 0x445566}));
  EXPECT_EQ(big.thumbs[0].width, 30);
  EXPECT_EQ(big.barAreas[0].halfThumbWidth, 14);  // the 96-DPI place doubled
  // Resolved against the doubled window, every area is the 96-DPI one doubled.
  const AreaRect click = TSkin::Resolve(skin.clickAreas[0], 400, 300);
  EXPECT_EQ(TSkin::Resolve(big.clickAreas[0], 800, 600),
            (AreaRect{2 * click.left, 2 * click.top, 2 * click.right, 2 * click.bottom}));
  const AreaRect bar = TSkin::Resolve(skin.barAreas[0], 400, 300);
  EXPECT_EQ(TSkin::Resolve(big.barAreas[0], 800, 600),
            (AreaRect{2 * bar.left, 2 * bar.top, 2 * bar.right, 2 * bar.bottom}));
  EXPECT_EQ((std::vector<int>{big.texts[0].x, big.texts[0].y, big.texts[0].fontSize}),
            (std::vector<int>{-120, 6, -22}));
  EXPECT_EQ((std::vector<int>{big.sizes.width, big.sizes.marginUp, big.sizes.marginRight, big.sizes.minWidth,
                              big.sizes.minHeight, big.sizes.fullScreenBarHeight}),
            (std::vector<int>{640, 40, 10, 320, 240, 50}));

  // 100 % is the skin as loaded, pixel for pixel.
  EXPECT_EQ(ScaleSkin(skin, DpiScale(96)).frame[0].pixels, skin.frame[0].pixels);
}

TEST(SkinScaleTest, OtherScalesKeepNeighbouringAreasTouchingAndBitmapsTheirMargins) {
  SkinData skin;
  skin.clickAreas = {TClickArea{3, 5, 7, 9, "A"}, TClickArea{3, 12, 7, 9, "B"}};
  skin.frame[0] = Filled(7, 13, 0x336699);
  skin.sizes.marginLeft = 7;
  skin.sizes.marginUp = 13;
  for (const int dpi : {120, 144, 168}) {
    const SkinData scaled = ScaleSkin(skin, DpiScale(dpi));
    const TClickArea& a = scaled.clickAreas[0];
    EXPECT_EQ(a.left + a.width, scaled.clickAreas[1].left) << dpi;
    EXPECT_EQ(scaled.frame[0].width, scaled.sizes.marginLeft) << dpi;
    EXPECT_EQ(scaled.frame[0].height, scaled.sizes.marginUp) << dpi;
    // A plain colour stays exactly that colour when smoothed.
    for (const uint32_t p : scaled.frame[0].pixels) ASSERT_EQ(p, 0x336699u) << dpi;
  }
}

TEST(SkinScaleTest, SmoothingNeverMixesAThumbsHolesIntoItsPicture) {
  // A red square in a blue (cut) border, as thumbs are drawn.
  SkinBitmap thumb = Filled(6, 6, kThumbCutColour);
  for (int y = 1; y < 5; ++y) {
    for (int x = 1; x < 5; ++x) thumb.pixels[static_cast<size_t>(y * 6 + x)] = 0xFF0000;
  }
  const SkinBitmap scaled = ScaleSkinBitmap(thumb, DpiScale(144), kThumbCutColour);
  ASSERT_EQ(scaled.width, 9);
  int holes = 0;
  for (const uint32_t p : scaled.pixels) {
    ASSERT_TRUE(p == kThumbCutColour || p == 0xFF0000u) << std::hex << p;
    holes += p == kThumbCutColour;
  }
  // The border of 1 of 6 pixels stays about 1.5 of 9 wide all round.
  EXPECT_GT(holes, 81 - 7 * 7);
  EXPECT_LT(holes, 81 - 5 * 5);
}

}  // namespace
}  // namespace orves
