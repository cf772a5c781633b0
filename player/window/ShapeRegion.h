#pragma once
// The portable half of TShapePanel: turns a bitmap into the list of shapes
// whose union is the window region — one rectangle per opaque run in the
// pixel-exact mode, one rounded rectangle per run (plus an optional shadow
// copy) in the rounded mode. The Windows half unites them into an HRGN.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orves {

// A 32-bit top-down pixel view as GDI's DIB sections hold it: each pixel is
// 0xAARRGGBB in memory order B, G, R, A. Alpha is ignored.
struct PixelView {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row, >= width
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * stride + x] & 0x00FFFFFFu; }
};

// Region rectangles use the platform convention: left and top inclusive,
// right and bottom exclusive. `ellipse` is 0 for a plain rectangle, else the
// width and height of the rounded corners.
struct RegionShape {
  int left, top, right, bottom;
  int ellipse;
  bool operator==(const RegionShape&) const = default;
};

struct ShapeOptions {
  int round = 0;                  // 0: pixel-exact; n > 0: runs grown by n, corners n x n
  int shadowOffset = 0;           // rounded mode: each shape again, moved (d, d)
  uint32_t transparentColor = 0;  // 0x00BBGGRR; pixels of exactly this colour are left out
  bool fast = true;               // false: yield 2 ms every 2 ms of work (rounded mode)
};

// The shapes of bitmap `b` placed at (x, y), shaping only its top `rows` rows;
// the rows below are added as one solid rectangle. `rows` is clamped to
// 0 .. height. Shapes are appended to `out`.
void BuildShapes(const PixelView& b, int x, int y, int rows, const ShapeOptions& options,
                 std::vector<RegionShape>& out);

// The pixels a rounded shape of one ellipse and height covers, as the
// platform's rounded-rectangle region covers them: row i of a shape spans
// [left + rows[i].first, right - rows[i].second); a row whose `first` is
// negative covers nothing.
// The corners do not depend on the width, so one outline serves every width.
struct RoundedOutline {
  int ellipse = 0;
  int height = 0;
  std::vector<std::pair<int, int>> rows;  // `height` entries
};

// The distinct (ellipse, height) pairs of the rounded shapes, each with the
// narrowest width it has: the outlines RasteriseShapes needs.
struct RoundedKey {
  int ellipse, height, width;
  bool operator==(const RoundedKey&) const = default;
};
std::vector<RoundedKey> RoundedKeys(const std::vector<RegionShape>& shapes);

// Covered pixels of a box: cells[(y - top) * width + (x - left)] is 1 when
// pixel (x, y) is covered.
struct CoverageMask {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> cells;
};

// The union of `shapes` as a mask: plain rectangles whole, rounded ones row
// by row after the outline of their ellipse and height (a rounded shape with
// no outline counts as its plain rectangle).
CoverageMask RasteriseShapes(const std::vector<RegionShape>& shapes,
                             const std::vector<RoundedOutline>& outlines);

// Plain rectangles covering exactly the mask's set cells: the runs of each
// row, with consecutive rows of the same runs merged into one band. Ordered
// top to bottom, then left to right, bands never overlapping.
std::vector<RegionShape> MaskToRectangles(const CoverageMask& mask);

// Colour 0x00BBGGRR as it appears in a PixelView (0x00RRGGBB).
constexpr uint32_t ColourToPixel(uint32_t colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

}  // namespace orves
