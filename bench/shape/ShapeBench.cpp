// Region building for a caption-sized bitmap: 640 x 48 pixels, two lines of
// letter-like strokes on the transparent background colour.
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "player/window/ShapeRegion.h"

namespace {

constexpr uint32_t kBackground = 0x000000;

std::vector<uint32_t> CaptionLikeBitmap(int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, kBackground);
  std::mt19937 rng(1);
  const int lineHeight = height / 2;
  for (int line = 0; line < 2; ++line) {
    // Glyph cells 14 px wide with 2 px gaps; each glyph a few strokes.
    for (int x0 = 8; x0 + 14 < width - 8; x0 += 16) {
      for (int stroke = 0; stroke < 4; ++stroke) {
        const bool vertical = rng() & 1;
        const int sx = x0 + static_cast<int>(rng() % 12),
                  sy = line * lineHeight + 3 + static_cast<int>(rng() % 16);
        for (int i = 0; i < 8; ++i) {
          const int x = vertical ? sx : sx + i / 2, y = vertical ? sy + i / 2 : sy;
          if (x < width && y < height) pixels[static_cast<size_t>(y) * width + x] = 0xFFFFFF;
        }
      }
    }
  }
  return pixels;
}

void BuildCaptionShapes(benchmark::State& state) {
  const int width = 640, height = 48;
  const auto pixels = CaptionLikeBitmap(width, height);
  const orves::PixelView view{pixels.data(), width, height, width};
  const orves::ShapeOptions options{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                    kBackground, true};
  std::vector<orves::RegionShape> shapes;
  for (auto _ : state) {
    shapes.clear();
    orves::BuildShapes(view, 0, 0, height, options, shapes);
    benchmark::DoNotOptimize(shapes.data());
  }
  state.counters["shapes"] = static_cast<double>(shapes.size());
}
// Args: round, shadow offset. (0,0) pixel-exact; (2,0) state text; (2,2) outlined caption with shadow.
BENCHMARK(BuildCaptionShapes)->Args({0, 0})->Args({2, 0})->Args({2, 2})->Unit(benchmark::kMicrosecond);

}  // namespace
