#include "player/playback/GraphRoutes.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace orves {

std::vector<GraphRoute> GraphRoutesFor(bool ownDecoders, bool moduleLoaded) {
  if (ownDecoders && moduleLoaded) return {GraphRoute::OwnFilters, GraphRoute::RenderFile};
  return {GraphRoute::RenderFile};
}

bool KeepOwnGraph(int renderedPins) { return renderedPins > 0; }

PictureSize ShownPictureSize(int width, int height, int aspectX, int aspectY) {
  if (width <= 0 || height <= 0 || aspectX <= 0 || aspectY <= 0) return {width, height};
  // Square pixels already when the ratios agree: no rounding may change a
  // plain 640 x 480 4:3 picture.
  if (int64_t{width} * aspectY == int64_t{height} * aspectX) return {width, height};
  const double shown = std::round(static_cast<double>(height) * aspectX / aspectY);
  if (shown < 1 || shown > std::numeric_limits<int>::max()) return {width, height};
  return {static_cast<int>(shown), height};
}

}  // namespace orves
