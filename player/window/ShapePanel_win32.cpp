#include "player/window/ShapePanel_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orves {
namespace {

// The bitmap's pixels as a 32-bit top-down buffer; empty when it cannot be read.
std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int& width, int& height) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return {};
  width = info.bmWidth;
  height = info.bmHeight;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  const int copied = GetDIBits(screen, bitmap, 0, height, pixels.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (copied != height) return {};
  return pixels;
}

// Plain rectangles are united in one call through RGNDATA.
HRGN RectanglesRegion(const std::vector<RECT>& rects) {
  if (rects.empty()) return CreateRectRgn(0, 0, 0, 0);
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bounds = rects.front();
  for (const RECT& r : rects) {
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  data->rdh.rcBound = bounds;
  std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

// How the system's own rounded-rectangle region covers a shape of this
// ellipse and height, row by row; read from one such region so that the
// mask-built region matches the system's pixel for pixel.
RoundedOutline MeasureOutline(const RoundedKey& key) {
  RoundedOutline outline{key.ellipse, key.height,
                         std::vector<std::pair<int, int>>(static_cast<size_t>(key.height), {0, 0})};
  HRGN round = CreateRoundRectRgn(0, 0, key.width, key.height, key.ellipse, key.ellipse);
  if (!round) return outline;
  const DWORD size = GetRegionData(round, 0, nullptr);
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (size >= sizeof(RGNDATAHEADER) && GetRegionData(round, size, data) == size) {
    std::vector<std::pair<int, int>> spans(static_cast<size_t>(key.height), {key.width, 0});
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
      for (LONG y = std::max<LONG>(rects[i].top, 0); y < std::min<LONG>(rects[i].bottom, key.height); ++y) {
        spans[y].first = std::min<int>(spans[y].first, rects[i].left);
        spans[y].second = std::max<int>(spans[y].second, rects[i].right);
      }
    }
    for (int y = 0; y < key.height; ++y) {
      const bool empty = spans[y].first >= spans[y].second;
      outline.rows[y] = empty ? std::pair<int, int>{-1, 0} : std::pair<int, int>{spans[y].first, key.width - spans[y].second};
    }
  }
  DeleteObject(round);
  return outline;
}

// The union of the shapes in one region: rounded shapes are drawn into a
// coverage mask and the mask's rectangles become one region in one call, far
// cheaper than uniting thousands of rounded regions one with another.
HRGN ShapesRegion(const std::vector<RegionShape>& shapes) {
  std::vector<RoundedOutline> outlines;
  for (const RoundedKey& key : RoundedKeys(shapes)) outlines.push_back(MeasureOutline(key));
  std::vector<RECT> rects;
  if (outlines.empty()) {
    for (const RegionShape& s : shapes) rects.push_back(RECT{s.left, s.top, s.right, s.bottom});
  } else {
    for (const RegionShape& s : MaskToRectangles(RasteriseShapes(shapes, outlines))) {
      rects.push_back(RECT{s.left, s.top, s.right, s.bottom});
    }
  }
  return RectanglesRegion(rects);
}

}  // namespace

TShapePanel::TShapePanel(HWND control, int round, COLORREF transparentColor, int shadowOffset)
    : TShapePanel(control, round, true, transparentColor, shadowOffset) {}

TShapePanel::TShapePanel(HWND control, int round, bool fast, COLORREF transparentColor, int shadowOffset)
    : control_(control), options_{round, shadowOffset, transparentColor, fast}, region_(CreateRectRgn(0, 0, 0, 0)) {}

TShapePanel::~TShapePanel() {
  if (region_) DeleteObject(region_);
}

void TShapePanel::AddBitmap(HBITMAP bitmap, int x, int y) { Add(bitmap, x, y, 0, true); }

void TShapePanel::AddBitmapRows(HBITMAP bitmap, int x, int rows, int y) { Add(bitmap, x, y, rows, false); }

void TShapePanel::Add(HBITMAP bitmap, int x, int y, int rows, bool allRows) {
  int width = 0, height = 0;
  const std::vector<uint32_t> pixels = ReadPixels(bitmap, width, height);
  if (pixels.empty()) return;  // an unreadable bitmap adds nothing; the region so far stays
  const PixelView view{pixels.data(), width, height, width};
  std::vector<RegionShape> shapes;
  BuildShapes(view, x, y, allRows ? height : rows, options_, shapes);
  Unite(shapes);
}

void TShapePanel::Unite(const std::vector<RegionShape>& shapes) {
  if (!region_ || shapes.empty()) return;
  if (HRGN part = ShapesRegion(shapes)) {
    CombineRgn(region_, region_, part, RGN_OR);
    DeleteObject(part);
  }
}

void TShapePanel::Apply() {
  if (!region_ || !control_) return;
  // The window owns the region from here on; it must not be deleted by us.
  if (SetWindowRgn(control_, region_, TRUE)) region_ = nullptr;
}

}  // namespace orves
