#pragma once
// The click-area hit test: which of a skin's click areas and bar tracks lies
// under a window point, and what a press there does. Areas whose name begins
// with "FullScreen" count only in full screen, the others only in a window;
// both names of a pair run the same command.
#include <string>
#include <vector>

#include "player/core/Services.h"
#include "player/window/LayoutGeometry.h"
#include "player/window/SkinAreas.h"

namespace orves {

struct AreaHit {
  std::string name;  // empty: no area under the point
  bool onBar = false;
  BarTrack track;  // the bar's track resolved against the window, when onBar
};

// Click areas first, in table order, then bar tracks, whose hit replaces an
// area's; both edges of every rectangle belong to it.
AreaHit FindArea(const std::vector<TClickArea>& areas, const std::vector<TBarArea>& bars, int x, int y,
                 int windowWidth, int windowHeight, bool fullScreen);

// What a press on the area `name` (windowed or full-screen form) asks for;
// a name the player does not know takes the press and asks nothing. A track
// leaves its share or volume for the caller, who knows the point.
AreaPress CommandOfArea(const std::string& name);

}  // namespace orves
