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

// Plain rectangles are united in one call through RGNDATA; rounded ones one by one.
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
  if (!region_) return;
  std::vector<RECT> rects;
  for (const RegionShape& s : shapes) {
    if (s.ellipse == 0) {
      rects.push_back(RECT{s.left, s.top, s.right, s.bottom});
      continue;
    }
    HRGN round = CreateRoundRectRgn(s.left, s.top, s.right, s.bottom, s.ellipse, s.ellipse);
    if (round) {
      CombineRgn(region_, region_, round, RGN_OR);
      DeleteObject(round);
    }
  }
  if (rects.empty()) return;
  HRGN plain = RectanglesRegion(rects);
  if (plain) {
    CombineRgn(region_, region_, plain, RGN_OR);
    DeleteObject(plain);
  }
}

void TShapePanel::Apply() {
  if (!region_ || !control_) return;
  // The window owns the region from here on; it must not be deleted by us.
  if (SetWindowRgn(control_, region_, TRUE)) region_ = nullptr;
}

}  // namespace orves
