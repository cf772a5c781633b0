#include <cstdint>
#include <set>
#include <string>
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

CoverageMask MaskOf(int left, int top, const std::vector<std::string>& rows) {
  CoverageMask mask{
      left, top, rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), {}};
  for (const std::string& row : rows)
    for (char c : row) mask.cells.push_back(c == '#');
  return mask;
}

TEST(ShapeRegionTest, MaskBecomesBandedRectanglesCoveringExactlyItsCells) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    std::vector<RegionShape> expected;
  };
  const Case cases[] = {
      {"empty", {"....", "...."}, {}},
      {"full rows merge into one", {"###", "###", "###"}, {{10, 20, 13, 23, 0}}},
      {"runs touching both edges", {"#..#", "#..#"}, {{10, 20, 11, 22, 0}, {13, 20, 14, 22, 0}}},
      {"a change of runs starts a band",
       {".##.", ".##.", "####", ".##."},
       {{11, 20, 13, 22, 0}, {10, 22, 14, 23, 0}, {11, 23, 13, 24, 0}}},
      {"a gap row ends a band", {"##", "..", "##"}, {{10, 20, 12, 21, 0}, {10, 22, 12, 23, 0}}},
  };
  for (const Case& c : cases) {
    const CoverageMask mask = MaskOf(10, 20, c.rows);
    const std::vector<RegionShape> rects = MaskToRectangles(mask);
    EXPECT_EQ(rects, c.expected) << c.name;
    Cells set;
    for (int y = 0; y < mask.height; ++y)
      for (int x = 0; x < mask.width; ++x)
        if (c.rows[y][x] == '#') set.insert({mask.left + x, mask.top + y});
    EXPECT_EQ(Cover(rects), set) << c.name;
  }
  EXPECT_TRUE(MaskToRectangles(CoverageMask{0, 0, 4, 4, {1, 1}}).empty());  // cells shorter than the box
}

TEST(ShapeRegionTest, RasterisedShapesFollowTheirOutlinesAndOverlap) {
  // Ellipse 2, height 4: the top and bottom rows lose one pixel at each side,
  // the last row is empty (the platform leaves out the lower edge).
  const RoundedOutline outline{2, 4, {{1, 1}, {0, 0}, {1, 1}, {-1, 0}}};
  const std::vector<RegionShape> shapes{
      {0, 0, 6, 4, 2}, {3, 2, 9, 6, 2}, {20, 0, 22, 1, 0}, {30, 0, 32, 4, 3}};
  const CoverageMask mask = RasteriseShapes(shapes, {outline});
  Cells expected = Rect(1, 0, 5, 1);
  for (const Cells& part : {Rect(0, 1, 6, 2), Rect(1, 2, 5, 3), Rect(4, 2, 8, 3), Rect(3, 3, 9, 4),
                            Rect(4, 4, 8, 5), Rect(20, 0, 22, 1), Rect(30, 0, 32, 4)})
    expected.insert(part.begin(), part.end());
  EXPECT_EQ(Cover(MaskToRectangles(mask)), expected);
  EXPECT_EQ(RoundedKeys(shapes), (std::vector<RoundedKey>{{2, 4, 6}, {3, 4, 2}}));
  EXPECT_TRUE(RasteriseShapes({}, {}).cells.empty());
}

}  // namespace
}  // namespace orves
