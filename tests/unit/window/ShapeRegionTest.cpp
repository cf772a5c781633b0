#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "player/window/ShapeRegion.h"

namespace orves {
namespace {

constexpr uint32_t kBlue = 0xFF0000;  // 0x00BBGGRR: the thumbs' transparent colour
constexpr uint32_t kBluePixel = 0x0000FF;
constexpr uint32_t kWhitePixel = 0xFFFFFF;

struct Bitmap {
  int width, height;
  std::vector<uint32_t> pixels;
  Bitmap(int w, int h, uint32_t fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  void Set(int x, int y, uint32_t p) { pixels[static_cast<size_t>(y) * width + x] = p | 0xFF000000u; }
  PixelView View() const { return {pixels.data(), width, height, width}; }
};

using Cells = std::set<std::pair<int, int>>;

// The pixels covered by pixel-exact shapes (plain rectangles only).
Cells Cover(const std::vector<RegionShape>& shapes) {
  Cells cells;
  for (const auto& s : shapes) {
    EXPECT_EQ(s.ellipse, 0);
    for (int y = s.top; y < s.bottom; ++y)
      for (int x = s.left; x < s.right; ++x) cells.insert({x, y});
  }
  return cells;
}

Cells Rect(int l, int t, int r, int b) {
  Cells cells;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) cells.insert({x, y});
  return cells;
}

TEST(ShapeRegionTest, TransparentAndOpaqueExtremes) {
  const ShapeOptions exact{0, 0, kBlue, true};
  std::vector<RegionShape> shapes;
  BuildShapes(Bitmap(20, 7, kBluePixel).View(), 3, 4, 7, exact, shapes);
  EXPECT_TRUE(shapes.empty());

  BuildShapes(Bitmap(20, 7, kWhitePixel).View(), 3, 4, 7, exact, shapes);
  EXPECT_EQ(Cover(shapes), Rect(3, 4, 23, 11));
  EXPECT_EQ(shapes.size(), 7u);  // one run per row, not one per pixel
}

TEST(ShapeRegionTest, WidenedMaskAddsNoPhantomColumn) {
  // 15 and 17 pixels wide: widened to 16 and 32 for scanning; runs still stop at the edge.
  for (int width : {1, 15, 16, 17}) {
    Bitmap b(width, 3, kWhitePixel);
    b.Set(0, 1, kBluePixel);
    std::vector<RegionShape> shapes;
    BuildShapes(b.View(), 0, 0, 3, {0, 0, kBlue, true}, shapes);
    Cells expected = Rect(0, 0, width, 3);
    expected.erase({0, 1});
    EXPECT_EQ(Cover(shapes), expected) << width;
  }
}

TEST(ShapeRegionTest, RunsSplitAtTransparentPixelsAndAlphaIsIgnored) {
  Bitmap b(10, 1, kWhitePixel);
  b.Set(3, 0, kBluePixel);
  b.Set(4, 0, kBluePixel);
  b.pixels[8] = 0x12FFFFFF;  // another alpha, same colour
  std::vector<RegionShape> shapes;
  BuildShapes(b.View(), 0, 0, 1, {0, 0, kBlue, true}, shapes);
  EXPECT_EQ(shapes, (std::vector<RegionShape>{{0, 0, 3, 1, 0}, {5, 0, 10, 1, 0}}));
}

TEST(ShapeRegionTest, RoundedRunsGrowAndCastAShadow) {
  Bitmap b(12, 12, kBluePixel);
  b.Set(5, 5, kWhitePixel);
  std::vector<RegionShape> shapes;
  BuildShapes(b.View(), 0, 0, 12, {2, 0, kBlue, true}, shapes);
  EXPECT_EQ(shapes, (std::vector<RegionShape>{{3, 3, 9, 9, 2}}));

  shapes.clear();
  BuildShapes(b.View(), 10, 20, 12, {2, 3, kBlue, false}, shapes);
  EXPECT_EQ(shapes, (std::vector<RegionShape>{{13, 23, 19, 29, 2}, {16, 26, 22, 32, 2}}));
}

TEST(ShapeRegionTest, RowLimitTakesTheRestSolid) {
  Bitmap b(8, 6, kBluePixel);
  b.Set(2, 1, kWhitePixel);
  b.Set(2, 4, kWhitePixel);
  const ShapeOptions exact{0, 0, kBlue, true};

  std::vector<RegionShape> none;
  BuildShapes(b.View(), 1, 1, 0, exact, none);
  EXPECT_EQ(none, (std::vector<RegionShape>{{1, 1, 9, 7, 0}}));

  std::vector<RegionShape> beyond, whole;
  BuildShapes(b.View(), 1, 1, 99, exact, beyond);
  BuildShapes(b.View(), 1, 1, 6, exact, whole);
  EXPECT_EQ(beyond, whole);
  EXPECT_EQ(Cover(whole), (Cells{{3, 2}, {3, 5}}));

  std::vector<RegionShape> two;
  BuildShapes(b.View(), 1, 1, 2, exact, two);
  Cells expected = Rect(1, 3, 9, 7);
  expected.insert({3, 2});
  EXPECT_EQ(Cover(two), expected);

  std::vector<RegionShape> negative;
  BuildShapes(b.View(), 0, 0, -5, exact, negative);
  EXPECT_EQ(negative, (std::vector<RegionShape>{{0, 0, 8, 6, 0}}));
}

TEST(ShapeRegionTest, EmptyBitmapAddsNothing) {
  std::vector<RegionShape> shapes;
  BuildShapes(PixelView{}, 0, 0, 10, {2, 1, kBlue, true}, shapes);
  EXPECT_TRUE(shapes.empty());
}

}  // namespace
}  // namespace orves
