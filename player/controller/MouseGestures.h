#pragma once
// TMouseGestures: the main window's mouse handling. A left press starts one
// gesture (the mouse action): dragging a bar thumb ("Bar"), resizing from the
// lower right corner ("Resize") or moving the window ("WindowDrag"); a click
// area may set "Minimize", a double click "DoubleClick". Moves carry the
// gesture on, the release finishes it. Every panel, paint box, thumb and the
// control's window report here, with the cursor in screen pixels. A press on
// a click area or bar track goes to the controller's commands.
#include <string>
#include <string_view>

#include "player/core/MouseAction.h"
#include "player/core/Services.h"

namespace orves {

// A dragged window snaps to the screen's edges within this distance.
inline constexpr int kSnapDistance = 15;
// The lower right corner zone that starts a resize.
inline constexpr int kResizeCorner = 20;

// The shown coordinate of a dragged window edge: 0 when within the snap
// distance of 0, `farEdge` when within it of that, else `value` itself.
int SnapCoordinate(int value, int farEdge);

struct WindowPoint {
  int left = 0;
  int top = 0;
  bool operator==(const WindowPoint&) const = default;
};
// The far snap values are the maximised size less the window's size less 8
// (the frame a maximised window would hide).
WindowPoint SnapWindow(WindowPoint unsnapped, int width, int height, int maxWidth, int maxHeight);

enum class MouseButton { Left, Right, Middle };
// What the press is on.
enum class MouseTarget { Window, Thumb, MovieControl, PlayListView };

struct MouseEvent {
  int x = 0;  // screen pixels
  int y = 0;
  MouseTarget target = MouseTarget::Window;
  int thumb = -1;  // which bar thumb, for MouseTarget::Thumb
};

struct WindowBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// What the gestures need of the main window itself.
class IGestureWindow {
 public:
  virtual ~IGestureWindow() = default;
  virtual WindowBounds Bounds() const = 0;
  virtual void PopupMain(int screenX, int screenY) = 0;
  virtual void PopupPlayList(int screenX, int screenY) = 0;
  virtual void MoveWindow(int left, int top) = 0;
  // The usable screen as a maximised window would have it.
  virtual void MaximizedSize(int& width, int& height) const = 0;
  virtual void RepaintControl() = 0;
  virtual void SetSizingCursor(bool sizing) = 0;
};

// What a gesture runs: an action of the command table, or the command of a
// click area or bar track.
class IGestureCommands {
 public:
  virtual ~IGestureCommands() = default;
  virtual void RunAction(std::string_view action) = 0;
  virtual void RunArea(const AreaPress& press) = 0;
};

struct TMouseGestureServices {
  IGestureWindow& window;
  ILayout& layout;
  ISkin& skin;
  const IMediaView& media;
  IGestureCommands& commands;
  TMouseAction& action;  // the gesture under way, shared with the layout and the skin
};

class TMouseGestures {
 public:
  explicit TMouseGestures(const TMouseGestureServices& services)
      : w_(services.window),
        layout_(services.layout),
        skin_(services.skin),
        media_(services.media),
        commands_(services.commands),
        action_(services.action) {}

  void Press(MouseButton button, const MouseEvent& event);
  // `leftDown`: whether the left button is still held.
  void Move(const MouseEvent& event, bool leftDown);
  void Release(const MouseEvent& event);
  void DoubleClick();

  const std::string& MouseAction() const { return action_.Name(); }
  bool PressUnderWay() const { return pressX_ != -1; }

 private:
  bool InResizeCorner(const MouseEvent& event) const;
  // True when a click area or bar track took the press.
  bool PressArea(const MouseEvent& event, int x, int y);
  void DragThumb(const MouseEvent& event);
  void DragWindow(const MouseEvent& event);

  IGestureWindow& w_;
  ILayout& layout_;
  ISkin& skin_;
  const IMediaView& media_;
  IGestureCommands& commands_;
  TMouseAction& action_;
  int pressX_ = -1;
  int pressY_ = 0;
  int thumb_ = -1;
  int startA_ = 0;  // thumb left, window width or unsnapped window left
  int startB_ = 0;  // window height or unsnapped window top
};

}  // namespace orves
