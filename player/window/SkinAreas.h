#pragma once
// The named rectangles and texts a skin places on the main window. Every
// coordinate is relative to the window's top-left corner; a negative one
// counts from the right (horizontal) or bottom (vertical) edge and is
// resolved against the window's size at each use, so areas follow resizing.
#include <string>

namespace orves {

// A coordinate of a skin file resolved against the window extent it counts in.
constexpr int SkinCoordinate(int value, int extent) { return value < 0 ? extent + value : value; }

// Items whose name begins with "FullScreen" belong to the full-screen bar.
inline bool OnFullScreenBar(const std::string& name) { return name.rfind("FullScreen", 0) == 0; }

// One section of ClickAreas.ini: the section name is the command it runs.
struct TClickArea {
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
  std::string name;
};

// One section of BarAreas.ini: a slider track ("Position", "Volume",
// "FullScreenPosition", "FullScreenVolume"); its thumb's top is the track's.
struct TBarArea {
  int top = 0;
  int left = 0;
  int right = 0;
  int bottom = 0;
  int halfThumbWidth = 0;
  std::string name;
};

// One section of Texts.ini.
struct TSkinText {
  std::string name;
  int x = 0;
  int y = 0;
  int fontSize = 0;
  unsigned color = 0;
  unsigned backgroundColor = 0;
  std::string fontName;
};

}  // namespace orves
