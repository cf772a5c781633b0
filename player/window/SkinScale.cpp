#include "player/window/SkinScale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace orves {
namespace {

// The source pixels one target pixel covers along an axis, and how much of
// it each covers (the weights add up to one).
struct Span {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Span> AreaSpans(int source, int target) {
  std::vector<Span> spans(static_cast<size_t>(target));
  const double step = static_cast<double>(source) / target;
  for (int i = 0; i < target; ++i) {
    const double from = i * step;
    const double to = std::min<double>(source, (i + 1) * step);
    Span& span = spans[static_cast<size_t>(i)];
    span.first = static_cast<int>(from);
    for (int k = span.first; k < source && k < to; ++k) {
      const double covered = std::min<double>(to, k + 1) - std::max<double>(from, k);
      span.weights.push_back(static_cast<float>(covered / step));
    }
  }
  return spans;
}

// A pixel being averaged: colour weighted by how much of it is not a hole,
// and that amount.
struct Mix {
  float r = 0, g = 0, b = 0, solid = 0;
  void Add(const Mix& m, float w) {
    r += m.r * w;
    g += m.g * w;
    b += m.b * w;
    solid += m.solid * w;
  }
};

uint8_t Channel(float weighted, float solid) {
  return static_cast<uint8_t>(std::clamp(std::lround(weighted / solid), 0L, 255L));
}

SkinBitmap RepeatPixels(const SkinBitmap& source, int factor) {
  SkinBitmap out;
  out.width = source.width * factor;
  out.height = source.height * factor;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  uint32_t* row = out.pixels.data();
  for (int y = 0; y < source.height; ++y) {
    const uint32_t* from = source.pixels.data() + static_cast<size_t>(y) * source.width;
    for (int x = 0; x < source.width; ++x) std::fill_n(row + x * factor, factor, from[x]);
    for (int copy = 1; copy < factor; ++copy) std::copy_n(row, out.width, row + copy * out.width);
    row += static_cast<size_t>(out.width) * factor;
  }
  return out;
}

SkinBitmap Resample(const SkinBitmap& source, int width, int height, std::optional<uint32_t> cut) {
  const std::vector<Span> across = AreaSpans(source.width, width);
  const std::vector<Span> down = AreaSpans(source.height, height);
  // Across first, into one row of mixes per source row; then down.
  std::vector<Mix> rows(static_cast<size_t>(source.height) * width);
  for (int y = 0; y < source.height; ++y) {
    const uint32_t* in = source.pixels.data() + static_cast<size_t>(y) * source.width;
    for (int x = 0; x < width; ++x) {
      const Span& span = across[static_cast<size_t>(x)];
      Mix mix;
      for (size_t k = 0; k < span.weights.size(); ++k) {
        const uint32_t p = in[span.first + static_cast<int>(k)];
        if (cut && p == *cut) continue;
        const float w = span.weights[k];
        mix.r += static_cast<float>((p >> 16) & 0xFF) * w;
        mix.g += static_cast<float>((p >> 8) & 0xFF) * w;
        mix.b += static_cast<float>(p & 0xFF) * w;
        mix.solid += w;
      }
      rows[static_cast<size_t>(y) * width + x] = mix;
    }
  }
  SkinBitmap out;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const Span& span = down[static_cast<size_t>(y)];
    for (int x = 0; x < width; ++x) {
      Mix mix;
      for (size_t k = 0; k < span.weights.size(); ++k) {
        mix.Add(rows[static_cast<size_t>(span.first + static_cast<int>(k)) * width + x], span.weights[k]);
      }
      uint32_t& p = out.pixels[static_cast<size_t>(y) * width + x];
      if (mix.solid < 0.5f) {
        p = cut.value_or(0);
        continue;
      }
      p = (uint32_t{Channel(mix.r, mix.solid)} << 16) | (uint32_t{Channel(mix.g, mix.solid)} << 8) |
          Channel(mix.b, mix.solid);
      // A mixed colour that happens to be the cut colour must not become a hole.
      if (cut && p == *cut) p ^= 1;
    }
  }
  return out;
}

void ScaleArea(TClickArea& a, const DpiScale& s) {
  a.width = s.ScaleLength(a.left, a.width);
  a.height = s.ScaleLength(a.top, a.height);
  a.left = s.Scale(a.left);
  a.top = s.Scale(a.top);
}

void ScaleArea(TBarArea& a, const DpiScale& s) {
  a.left = s.Scale(a.left);
  a.top = s.Scale(a.top);
  a.right = s.Scale(a.right);
  a.bottom = s.Scale(a.bottom);
}

void ScaleSizes(SkinSizes& z, const DpiScale& s) {
  for (int* v : {&z.width, &z.height, &z.marginUp, &z.marginDown, &z.marginLeft, &z.marginRight, &z.minWidth,
                 &z.minHeight, &z.fullScreenBarHeight}) {
    *v = s.Scale(*v);
  }
}

}  // namespace

int DpiScale::Scale(int value) const {
  const int64_t magnitude = (std::llabs(value) * int64_t{dpi_} + kBaseDpi / 2) / kBaseDpi;
  const int64_t clamped = std::min<int64_t>(magnitude, INT32_MAX);
  return static_cast<int>(value < 0 ? -clamped : clamped);
}

SkinBitmap ScaleSkinBitmap(const SkinBitmap& source, DpiScale scale, std::optional<uint32_t> cutColour) {
  if (scale.Identity() || source.Empty()) return source;
  const int factor = scale.WholeFactor();
  if (factor > 0) return RepeatPixels(source, factor);
  const int width = std::max(1, scale.Scale(source.width));
  const int height = std::max(1, scale.Scale(source.height));
  return Resample(source, width, height, cutColour);
}

SkinData ScaleSkin(const SkinData& source, DpiScale scale) {
  SkinData out = source;
  if (scale.Identity()) return out;
  for (size_t i = 0; i < out.frame.size(); ++i) out.frame[i] = ScaleSkinBitmap(source.frame[i], scale);
  for (size_t i = 0; i < out.thumbs.size(); ++i) {
    out.thumbs[i] = ScaleSkinBitmap(source.thumbs[i], scale, kThumbCutColour);
  }
  for (TClickArea& a : out.clickAreas) ScaleArea(a, scale);
  // The half thumb is the loaded one scaled, not half the scaled thumb: a
  // thumb's place at a whole multiple is then exactly its 96-DPI place
  // multiplied (an odd width's half is rounded down once, at 96 DPI).
  for (TBarArea& a : out.barAreas) {
    ScaleArea(a, scale);
    a.halfThumbWidth = scale.Scale(a.halfThumbWidth);
  }
  for (TSkinText& t : out.texts) {
    t.x = scale.Scale(t.x);
    t.y = scale.Scale(t.y);
    t.fontSize = scale.Scale(t.fontSize);
  }
  ScaleSizes(out.sizes, scale);
  return out;
}

}  // namespace orves
