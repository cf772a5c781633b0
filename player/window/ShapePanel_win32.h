#pragma once
// TShapePanel: cuts a window to the shape of one or more bitmaps, leaving
// out one transparent colour. Created for one shaping job: create, AddBitmap
// and/or AddBitmapRows, Apply, free. The window takes ownership of the
// region at Apply; a panel freed without Apply deletes its region.
#include <windows.h>

#include "player/window/ShapeRegion.h"

namespace orves {

// A 32-bit top-down DIB section: the same pixels whatever the screen's depth,
// and the layout TShapePanel reads in place. `dc` may be null.
HBITMAP CreateTopDownBitmap32(HDC dc, int width, int height);

class TShapePanel {
 public:
  TShapePanel(HWND control, int round, COLORREF transparentColor, int shadowOffset);
  TShapePanel(HWND control, int round, bool fast, COLORREF transparentColor, int shadowOffset);
  ~TShapePanel();
  TShapePanel(const TShapePanel&) = delete;
  TShapePanel& operator=(const TShapePanel&) = delete;

  void AddBitmap(HBITMAP bitmap, int x, int y);
  void AddBitmapRows(HBITMAP bitmap, int x, int rows, int y);
  void Apply();

  HRGN Region() const { return region_; }

 private:
  void Add(HBITMAP bitmap, int x, int y, int rows, bool allRows);
  void Unite(const std::vector<RegionShape>& shapes);

  HWND control_;
  ShapeOptions options_;
  HRGN region_;
};

}  // namespace orves
