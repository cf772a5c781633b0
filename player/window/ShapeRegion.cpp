#include "player/window/ShapeRegion.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace orves {
namespace {

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

  const uint32_t transparentPixel = ColourToPixel(options.transparentColor);
  Yielder yielder(options.round > 0 && !options.fast);
  for (int r = 0; r < rows; ++r) {
    int start = -1;
    // Up to and including the width: the column past the edge is transparent,
    // so every run is closed.
    for (int c = 0; c <= b.width; ++c) {
      const bool transparent = c == b.width || b.At(c, r) == transparentPixel;
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

namespace orves {
namespace {

const RoundedOutline* FindOutline(const std::vector<RoundedOutline>& outlines, const RegionShape& s) {
  for (const RoundedOutline& o : outlines) {
    if (o.ellipse == s.ellipse && o.height == s.bottom - s.top &&
        static_cast<int>(o.rows.size()) == o.height) {
      return &o;
    }
  }
  return nullptr;
}

// Per row, +1 where a covered span starts and -1 where it ends; the running
// sum along a row is then the number of shapes covering each pixel.
class SpanCounter {
 public:
  SpanCounter(int left, int top, int width, int height)
      : left_(left),
        top_(top),
        width_(width),
        height_(height),
        marks_(static_cast<size_t>(width + 1) * static_cast<size_t>(height), 0) {}

  void AddSpan(int y, int from, int to) {
    from = std::max(from, left_) - left_;
    to = std::min(to, left_ + width_) - left_;
    y -= top_;
    if (from >= to || y < 0 || y >= height_) return;
    ++marks_[Index(from, y)];
    --marks_[Index(to, y)];
  }

  CoverageMask Coverage() const {
    CoverageMask mask{left_, top_, width_, height_,
                      std::vector<uint8_t>(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0)};
    for (int y = 0; y < height_; ++y) {
      int count = 0;
      for (int x = 0; x < width_; ++x) {
        count += marks_[Index(x, y)];
        mask.cells[static_cast<size_t>(y) * width_ + x] = count > 0;
      }
    }
    return mask;
  }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * (width_ + 1) + x; }

  int left_, top_, width_, height_;
  std::vector<int32_t> marks_;
};

using Runs = std::vector<std::pair<int, int>>;

void RowRuns(const CoverageMask& mask, int y, Runs& runs) {
  runs.clear();
  const uint8_t* row = mask.cells.data() + static_cast<size_t>(y) * mask.width;
  for (int x = 0; x < mask.width;) {
    if (!row[x]) {
      ++x;
      continue;
    }
    const int start = x;
    while (x < mask.width && row[x]) ++x;
    runs.push_back({mask.left + start, mask.left + x});
  }
}

}  // namespace

std::vector<RoundedKey> RoundedKeys(const std::vector<RegionShape>& shapes) {
  std::vector<RoundedKey> keys;
  for (const RegionShape& s : shapes) {
    if (s.ellipse == 0) continue;
    const RoundedKey key{s.ellipse, s.bottom - s.top, s.right - s.left};
    auto same = std::find_if(keys.begin(), keys.end(), [&](const RoundedKey& k) {
      return k.ellipse == key.ellipse && k.height == key.height;
    });
    if (same == keys.end()) {
      keys.push_back(key);
    } else {
      same->width = std::min(same->width, key.width);
    }
  }
  return keys;
}

CoverageMask RasteriseShapes(const std::vector<RegionShape>& shapes,
                             const std::vector<RoundedOutline>& outlines) {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  for (const RegionShape& s : shapes) {
    if (s.right <= s.left || s.bottom <= s.top) continue;
    left = any ? std::min(left, s.left) : s.left;
    top = any ? std::min(top, s.top) : s.top;
    right = any ? std::max(right, s.right) : s.right;
    bottom = any ? std::max(bottom, s.bottom) : s.bottom;
    any = true;
  }
  if (!any) return {};
  SpanCounter counter(left, top, right - left, bottom - top);
  for (const RegionShape& s : shapes) {
    if (s.right <= s.left || s.bottom <= s.top) continue;
    const RoundedOutline* outline = s.ellipse != 0 ? FindOutline(outlines, s) : nullptr;
    for (int y = s.top; y < s.bottom; ++y) {
      if (outline) {
        const auto& inset = outline->rows[static_cast<size_t>(y - s.top)];
        if (inset.first < 0) continue;
        counter.AddSpan(y, s.left + inset.first, s.right - inset.second);
      } else {
        counter.AddSpan(y, s.left, s.right);
      }
    }
  }
  return counter.Coverage();
}

std::vector<RegionShape> MaskToRectangles(const CoverageMask& mask) {
  std::vector<RegionShape> out;
  if (mask.width <= 0 || mask.height <= 0 ||
      mask.cells.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height)) {
    return out;
  }
  Runs band, row;
  int bandTop = mask.top;
  auto closeBand = [&](int bottom) {
    for (const auto& run : band) out.push_back({run.first, bandTop, run.second, bottom, 0});
  };
  for (int y = 0; y < mask.height; ++y) {
    RowRuns(mask, y, row);
    if (row == band) continue;
    closeBand(mask.top + y);
    band.swap(row);
    bandTop = mask.top + y;
  }
  closeBand(mask.top + mask.height);
  return out;
}

}  // namespace orves
