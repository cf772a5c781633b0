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

// Unites `parts` into `target` and deletes them. Neighbours are united in
// pairs, level by level: uniting each part into one growing region costs time
// in the square of the number of parts (thousands for a caption).
void UniteInto(HRGN target, std::vector<HRGN>& parts) {
  for (size_t step = 1; step < parts.size(); step *= 2) {
    for (size_t i = 0; i + step < parts.size(); i += 2 * step) {
      CombineRgn(parts[i], parts[i], parts[i + step], RGN_OR);
      DeleteObject(parts[i + step]);
    }
  }
  if (parts.empty()) return;
  CombineRgn(target, target, parts.front(), RGN_OR);
  DeleteObject(parts.front());
  parts.clear();
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
  std::vector<HRGN> rounds;
  for (const RegionShape& s : shapes) {
    if (s.ellipse == 0) {
      rects.push_back(RECT{s.left, s.top, s.right, s.bottom});
    } else if (HRGN round = CreateRoundRectRgn(s.left, s.top, s.right, s.bottom, s.ellipse, s.ellipse)) {
      rounds.push_back(round);
    }
  }
  if (!rects.empty()) {
    if (HRGN plain = RectanglesRegion(rects)) rounds.push_back(plain);
  }
  UniteInto(region_, rounds);
}

void TShapePanel::Apply() {
  if (!region_ || !control_) return;
  // The window owns the region from here on; it must not be deleted by us.
  if (SetWindowRgn(control_, region_, TRUE)) region_ = nullptr;
}

}  // namespace orves
