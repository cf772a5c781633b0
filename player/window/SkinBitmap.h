#pragma once
// A skin bitmap decoded from a Windows .bmp file into 32-bit top-down pixels,
// the form both the region builder and a DIB section take. The decoder checks
// every header field against the bytes it has, so a short, corrupt or huge
// file is refused with a reason instead of being read past its end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "player/window/ShapeRegion.h"

namespace orves {

struct SkinBitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row from the top

  bool Empty() const { return width <= 0 || height <= 0; }
  PixelView View() const { return PixelView{pixels.data(), width, height, width}; }
};

// Limits on what a skin may ask the decoder to allocate.
inline constexpr int kMaxBitmapSide = 8192;
inline constexpr int64_t kMaxBitmapPixels = 16 * 1024 * 1024;

// Uncompressed 1, 4, 8, 24 and 32 bits per pixel (32 bits also with the
// standard masks), bottom-up or top-down. False with `error` set otherwise.
bool DecodeBmp(std::string_view bytes, SkinBitmap& out, std::string& error);

}  // namespace orves
