#pragma once
// The mouse gesture under way in the main window: none, dragging a bar thumb
// ("Bar"), resizing from the lower right corner ("Resize"), moving the window
// ("WindowDrag"), a press on a Minimize area ("Minimize") or a double click
// ("DoubleClick"). The mouse gestures set it; the layout reads it (full
// screen does not change during a gesture) and so does the skin (playback
// does not move a thumb being dragged). The main window keeps it from the
// start, before any of them is made.
#include <string>

namespace orves {

inline constexpr const char* kMouseNone = "";
inline constexpr const char* kMouseBar = "Bar";
inline constexpr const char* kMouseResize = "Resize";
inline constexpr const char* kMouseWindowDrag = "WindowDrag";
inline constexpr const char* kMouseMinimize = "Minimize";
inline constexpr const char* kMouseDoubleClick = "DoubleClick";

class TMouseAction {
 public:
  const std::string& Name() const { return name_; }
  bool Is(const char* name) const { return name_ == name; }
  bool None() const { return name_.empty(); }
  void Set(const std::string& name) { name_ = name; }
  void Clear() { name_.clear(); }

 private:
  std::string name_;
};

}  // namespace orves
