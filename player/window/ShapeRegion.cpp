#include "player/window/ShapeRegion.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace orves {
namespace {

// One-bit mask of the shaped rows, 1 = transparent, most significant bit
// first, rows widened to a multiple of 16 pixels so the rows form one
// continuous bit stream; the widened columns read as transparent.
class TransparencyMask {
 public:
  TransparencyMask(const PixelView& b, int rows, uint32_t transparentPixel)
      : width_((b.width + 15) / 16 * 16), height_(rows),
        bits_(static_cast<size_t>(width_) * static_cast<size_t>(rows) / 8, 0xFF) {
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < b.width; ++c) {
        if (b.At(c, r) != transparentPixel) Clear(c, r);
      }
    }
  }

  int Width() const { return width_; }

  // Positions outside the mask read as transparent.
  bool Transparent(int c, int r) const {
    if (c < 0 || r < 0 || c >= width_ || r >= height_) return true;
    const size_t p = static_cast<size_t>(c) + static_cast<size_t>(width_) * static_cast<size_t>(r);
    return (bits_[p / 8] >> (7 - p % 8)) & 1;
  }

 private:
  void Clear(int c, int r) {
    const size_t p = static_cast<size_t>(c) + static_cast<size_t>(width_) * static_cast<size_t>(r);
    bits_[p / 8] &= static_cast<uint8_t>(~(1u << (7 - p % 8)));
  }

  int width_;
  int height_;
  std::vector<uint8_t> bits_;
};

// Lets a playing movie keep its processor time while a large shape is built.
class Yielder {
 public:
  explicit Yielder(bool enabled) : enabled_(enabled), last_(Clock::now()) {}
  void AfterRow() {
    if (!enabled_) return;
    if (Clock::now() - last_ > std::chrono::milliseconds(2)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      last_ = Clock::now();
    }
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  Clock::time_point last_;
};

void AddRun(int x, int y, int r, int s, int e, const ShapeOptions& o, std::vector<RegionShape>& out) {
  if (o.round <= 0) {
    out.push_back({x + s, y + r, x + e, y + r + 1, 0});
    return;
  }
  const int n = o.round;
  const RegionShape shape{x + s - n, y + r - n, x + e + n + 1, y + r + n + 2, n};
  out.push_back(shape);
  if (o.shadowOffset != 0) {
    const int d = o.shadowOffset;
    out.push_back({shape.left + d, shape.top + d, shape.right + d, shape.bottom + d, n});
  }
}

}  // namespace

void BuildShapes(const PixelView& b, int x, int y, int rows, const ShapeOptions& options,
                 std::vector<RegionShape>& out) {
  if (b.width <= 0 || b.height <= 0 || b.pixels == nullptr) return;
  rows = std::clamp(rows, 0, b.height);
  if (rows < b.height) out.push_back({x, y + rows, x + b.width, y + b.height, 0});
  if (rows == 0) return;

  const TransparencyMask mask(b, rows, ColourToPixel(options.transparentColor));
  Yielder yielder(options.round > 0 && !options.fast);
  for (int r = 0; r < rows; ++r) {
    int start = -1;
    // Up to and including the width: the column past the edge is transparent,
    // so every run is closed.
    for (int c = 0; c <= mask.Width(); ++c) {
      const bool transparent = mask.Transparent(c, r);
      if (!transparent && start < 0) {
        start = c;
      } else if (transparent && start >= 0) {
        AddRun(x, y, r, start, c, options, out);
        start = -1;
      }
    }
    yielder.AfterRow();
  }
}

}  // namespace orves
