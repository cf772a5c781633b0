#pragma once
// How the movie control builds a filter graph for a file. With our own
// decoding module at hand (and the `OwnDecoders` setting on) it first builds
// the graph from our source and decoders; when our source refuses the file or
// none of its streams can be rendered, it clears the graph and lets the
// system's graph builder render the file with the installed filters.
#include <vector>

namespace orves {

enum class GraphRoute {
  OwnFilters,  // our source and decoders, rendered pin by pin
  RenderFile,  // the system's filters, chosen by the graph builder
};

// The routes to try, in order, until one of them builds a graph.
std::vector<GraphRoute> GraphRoutesFor(bool ownDecoders, bool moduleLoaded);

// A graph from our source is kept when at least one of its output pins was
// rendered: a stream with a codec we do not decode stays unconnected while
// the others play.
bool KeepOwnGraph(int renderedPins);

// The picture's size in square pixels for the layout: the stored width
// stretched (or narrowed) to the picture aspect ratio aspectX:aspectY, the
// height kept. An unknown ratio (either part 0 or negative) keeps the stored
// size.
struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};
PictureSize ShownPictureSize(int width, int height, int aspectX, int aspectY);

}  // namespace orves
