#include "codecs/common/Aspect.h"

#include <cstdint>
#include <limits>
#include <numeric>

namespace orves::codecs {

Rational PictureAspect(int width, int height, Rational sampleAspect) {
  if (width <= 0 || height <= 0) return {0, 1};
  if (!sampleAspect.Valid()) sampleAspect = {1, 1};
  std::int64_t x = std::int64_t{width} * sampleAspect.num;
  std::int64_t y = std::int64_t{height} * sampleAspect.den;
  const std::int64_t divisor = std::gcd(x, y);
  x /= divisor;
  y /= divisor;
  // A fraction that still does not fit an int (huge co-prime terms) is
  // scaled down; the error is far below what a picture can show.
  constexpr std::int64_t kMax = std::numeric_limits<int>::max();
  while (x > kMax || y > kMax) {
    x = (x + 1) / 2;
    y = (y + 1) / 2;
  }
  return {static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace orves::codecs
