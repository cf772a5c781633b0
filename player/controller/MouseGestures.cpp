#include "player/controller/MouseGestures.h"

#include <algorithm>

namespace orves {

namespace {
constexpr int kMaximizedFrame = 8;
}  // namespace

int SnapCoordinate(int value, int farEdge) {
  if (-kSnapDistance < value && value < kSnapDistance) {
    return 0;
  }
  if (farEdge - kSnapDistance < value && value < farEdge + kSnapDistance) {
    return farEdge;
  }
  return value;
}

WindowPoint SnapWindow(WindowPoint unsnapped, int width, int height, int maxWidth, int maxHeight) {
  return {SnapCoordinate(unsnapped.left, maxWidth - width - kMaximizedFrame),
          SnapCoordinate(unsnapped.top, maxHeight - height - kMaximizedFrame)};
}

// ---- press -----------------------------------------------------------------

void TMouseGestures::Press(MouseButton button, const MouseEvent& event) {
  if (button == MouseButton::Right) {
    if (event.target == MouseTarget::PlayListView) {
      w_.PopupPlayList(event.x, event.y);
    } else {
      w_.PopupMain(event.x, event.y);
    }
    return;
  }
  pressX_ = event.x;
  pressY_ = event.y;
  if (!action_.None()) {
    return;
  }
  if (event.target == MouseTarget::Thumb) {
    action_.Set(kMouseBar);
    thumb_ = event.thumb;
    startA_ = skin_.ThumbLeft(thumb_);
    return;
  }
  const WindowBounds bounds = w_.Bounds();
  if (InResizeCorner(event)) {
    action_.Set(kMouseResize);
    startA_ = bounds.width;
    startB_ = bounds.height;
    layout_.HideMovieForResize();
    return;
  }
  if (PressArea(event, event.x - bounds.left, event.y - bounds.top)) {
    return;
  }
  if (layout_.IsFullScreen()) {
    if (event.target == MouseTarget::MovieControl) {
      commands_.RunAction("actPlayPause");
    }
    return;
  }
  action_.Set(kMouseWindowDrag);
  startA_ = bounds.left;
  startB_ = bounds.top;
}

// The popup menu opens at the press and a Minimize area waits for the
// release; the controller runs the rest.
bool TMouseGestures::PressArea(const MouseEvent& event, int x, int y) {
  const AreaPress press = layout_.HitTest(x, y);
  switch (press.effect) {
    case AreaPress::Effect::Nothing:
      return false;
    case AreaPress::Effect::PopUp:
      w_.PopupMain(event.x, event.y);
      break;
    case AreaPress::Effect::Minimize:
      action_.Set(kMouseMinimize);
      break;
    case AreaPress::Effect::Taken:
      break;
    default:
      commands_.RunArea(press);
      break;
  }
  return true;
}

bool TMouseGestures::InResizeCorner(const MouseEvent& event) const {
  if (layout_.IsFullScreen() || event.target == MouseTarget::MovieControl) {
    return false;
  }
  const WindowBounds b = w_.Bounds();
  return event.x > b.left + b.width - kResizeCorner && event.y > b.top + b.height - kResizeCorner;
}

// ---- move ------------------------------------------------------------------

void TMouseGestures::Move(const MouseEvent& event, bool leftDown) {
  w_.SetSizingCursor(InResizeCorner(event));
  if (action_.None() || pressX_ == -1) {
    return;
  }
  // A release outside the window is noticed here.
  if (!leftDown) {
    Release(event);
    return;
  }
  if (action_.Is(kMouseBar)) {
    DragThumb(event);
  } else if (action_.Is(kMouseWindowDrag)) {
    DragWindow(event);
  } else if (action_.Is(kMouseResize)) {
    layout_.ResizeKeepingAspect(startA_ + event.x - pressX_, startB_ + event.y - pressY_);
  }
}

// Only the thumb moves; playback follows on release.
void TMouseGestures::DragThumb(const MouseEvent& event) {
  int minLeft = 0;
  int maxLeft = 0;
  skin_.ThumbLimits(thumb_, minLeft, maxLeft);
  const int left = event.x + startA_ - pressX_;
  skin_.MoveThumb(thumb_, std::max(minLeft, std::min(left, maxLeft)));
}

void TMouseGestures::DragWindow(const MouseEvent& event) {
  const int dx = event.x - pressX_;
  const int dy = event.y - pressY_;
  startA_ += dx;
  startB_ += dy;
  pressX_ = event.x;
  pressY_ = event.y;
  int maxWidth = 0;
  int maxHeight = 0;
  w_.MaximizedSize(maxWidth, maxHeight);
  const WindowBounds bounds = w_.Bounds();
  const WindowPoint shown = SnapWindow({startA_, startB_}, bounds.width, bounds.height, maxWidth, maxHeight);
  w_.MoveWindow(shown.left, shown.top);
  if (dx != 0 || dy != 0) {
    layout_.HideMovieForResize();
  }
  w_.RepaintControl();
}

// ---- release ---------------------------------------------------------------

void TMouseGestures::Release(const MouseEvent& event) {
  pressX_ = -1;
  if (action_.Is(kMouseBar)) {
    int x = 0;
    int y = 0;
    skin_.ThumbReleasePoint(thumb_, x, y);
    PressArea(event, x, y);  // the seek or volume the thumb shows
  } else if (action_.Is(kMouseResize) || action_.Is(kMouseWindowDrag)) {
    layout_.ShowMovieAfterResize();
  } else if (action_.Is(kMouseMinimize)) {
    commands_.RunAction("actMinimize");
  } else if (action_.Is(kMouseDoubleClick)) {
    commands_.RunAction(media_.HasPicture() ? "actPlayPause" : "actOpen");
  }
  action_.Clear();
}

void TMouseGestures::DoubleClick() { action_.Set(kMouseDoubleClick); }

}  // namespace orves
