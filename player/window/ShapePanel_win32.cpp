#include "player/window/ShapePanel_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orves {

HBITMAP CreateTopDownBitmap32(HDC dc, int width, int height) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

namespace {

// The bitmap's pixels as a 32-bit top-down buffer; empty when it cannot be read.
std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int& width, int& height) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    return {};
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

// A 32-bit top-down DIB section is read in place, without a copy.
bool TopDownDibView(HBITMAP bitmap, PixelView& view) {
  DIBSECTION dib{};
  if (!bitmap || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) return false;
  if (!dib.dsBm.bmBits || dib.dsBm.bmBitsPixel != 32 || dib.dsBmih.biHeight >= 0 || dib.dsBm.bmWidth <= 0 ||
      dib.dsBmih.biCompression != BI_RGB) {
    return false;
  }
  GdiFlush();  // drawing still queued must reach the pixels first
  view = PixelView{static_cast<const uint32_t*>(dib.dsBm.bmBits), dib.dsBm.bmWidth, dib.dsBm.bmHeight,
                   dib.dsBm.bmWidthBytes / 4};
  return true;
}

// One region of the rectangles, through RGNDATA in one call.
HRGN RegionOfRectangles(const RECT* rects, size_t count) {
  if (count == 0) return CreateRectRgn(0, 0, 0, 0);
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(count);
  data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  RECT bounds = rects[0];
  for (size_t i = 0; i < count; ++i) {
    bounds.left = std::min(bounds.left, rects[i].left);
    bounds.top = std::min(bounds.top, rects[i].top);
    bounds.right = std::max(bounds.right, rects[i].right);
    bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
  }
  data->rdh.rcBound = bounds;
  std::memcpy(data->Buffer, rects, count * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

// Unites `parts` into their first and deletes the others. Neighbours are
// united in pairs, level by level, so each union joins regions of similar size.
HRGN UnitePairwise(std::vector<HRGN>& parts) {
  for (size_t step = 1; step < parts.size(); step *= 2) {
    for (size_t i = 0; i + step < parts.size(); i += 2 * step) {
      CombineRgn(parts[i], parts[i], parts[i + step], RGN_OR);
      DeleteObject(parts[i + step]);
    }
  }
  return parts.empty() ? nullptr : parts.front();
}

// The union of the rectangles. The system builds a region from a rectangle
// list in time that grows with the square of its length, so the list is cut
// into short pieces whose regions are united in pairs.
HRGN RectanglesRegion(const std::vector<RECT>& rects) {
  constexpr size_t kPiece = 32;
  if (rects.size() <= kPiece) return RegionOfRectangles(rects.data(), rects.size());
  std::vector<HRGN> parts;
  for (size_t i = 0; i < rects.size(); i += kPiece) {
    HRGN part = RegionOfRectangles(rects.data() + i, std::min(kPiece, rects.size() - i));
    if (!part) {
      for (HRGN made : parts) DeleteObject(made);
      return nullptr;
    }
    parts.push_back(part);
  }
  return UnitePairwise(parts);
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
      outline.rows[y] = empty ? std::pair<int, int>{-1, 0}
                              : std::pair<int, int>{spans[y].first, key.width - spans[y].second};
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
    : control_(control),
      options_{round, shadowOffset, transparentColor, fast},
      region_(CreateRectRgn(0, 0, 0, 0)) {}

TShapePanel::~TShapePanel() {
  if (region_) DeleteObject(region_);
}

void TShapePanel::AddBitmap(HBITMAP bitmap, int x, int y) { Add(bitmap, x, y, 0, true); }

void TShapePanel::AddBitmapRows(HBITMAP bitmap, int x, int rows, int y) { Add(bitmap, x, y, rows, false); }

void TShapePanel::Add(HBITMAP bitmap, int x, int y, int rows, bool allRows) {
  PixelView view{};
  std::vector<uint32_t> pixels;
  if (!TopDownDibView(bitmap, view)) {
    int width = 0, height = 0;
    pixels = ReadPixels(bitmap, width, height);
    if (pixels.empty()) return;  // an unreadable bitmap adds nothing; the region so far stays
    view = PixelView{pixels.data(), width, height, width};
  }
  const int height = view.height;
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
