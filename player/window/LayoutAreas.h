#pragma once
// The click-area hit test: which of a skin's click areas and bar tracks lies
// under a window point, and what a press there does. Areas whose name begins
// with "FullScreen" count only in full screen, the others only in a window;
// both names of a pair run the same command.
#include <string>
#include <vector>

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

enum class AreaEffect {
  None,      // a name the player does not know: the press is taken, nothing runs
  Action,    // runs `action` of the command table
  PopUp,     // the main popup menu at the cursor
  Minimize,  // minimises when the button is released
  Seek,      // position track
  Volume,    // volume track
};

struct AreaCommand {
  AreaEffect effect = AreaEffect::None;
  const char* action = nullptr;
};

// What the area `name` (windowed or full-screen form) does.
AreaCommand CommandOfArea(const std::string& name);

}  // namespace orves
