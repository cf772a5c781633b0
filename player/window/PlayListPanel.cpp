#include "player/window/PlayListPanel.h"

#include <algorithm>

namespace orves {

namespace {

constexpr int kWidthBeyondWidest = 54;
constexpr int kRowHeight = 16;
constexpr int kHeightBeyondRows = 47;
constexpr int kRoomBelow = 20;
constexpr int kPanelLeft = 10;
constexpr int kGapBelowStateText = 10;
constexpr int kListLeft = 7;
constexpr int kListTop = 30;
constexpr int kListRightMargin = 7;
constexpr int kListBottomMargin = 7;
constexpr int kColumnInset = 20;
constexpr int kZoneBottomMargin = 10;

constexpr const char* kCurrentMarker = "\u25CF ";  // black circle, space
constexpr const char* kOtherMarker = "\u3000 ";    // ideographic space, space

int PanelWidth(int widest, int mediaWidth) {
  int width = widest + kWidthBeyondWidest;
  if (mediaWidth / 4 > width) {
    width = mediaWidth / 4;
  }
  if (mediaWidth / 2 < width) {
    width = mediaWidth / 2;
  }
  return width;
}

// The room below the state text can be less than the minimum height (or
// negative) in a small window; the panel then keeps the minimum.
int PanelHeight(int count, const PlayListFrame& frame) {
  const int wanted = count * kRowHeight + kHeightBeyondRows;
  if (wanted < kPlayListMinHeight) {
    return kPlayListMinHeight;
  }
  const int limit =
      std::max(frame.mediaHeight - frame.stateTop - frame.stateHeight - kRoomBelow, kPlayListMinHeight);
  return std::min(wanted, limit);
}

}  // namespace

PlayListPlace ArrangePlayList(int widest, int count, const PlayListFrame& frame) {
  PlayListPlace place;
  place.panel.width = PanelWidth(widest, frame.mediaWidth);
  place.panel.height = PanelHeight(count, frame);
  place.panel.left = kPanelLeft;
  place.panel.top = frame.stateTop + frame.stateHeight + kGapBelowStateText;
  place.list.left = kListLeft;
  place.list.top = kListTop;
  place.list.width = std::max(place.panel.width - kListLeft - kListRightMargin, 0);
  place.list.height = count > 0 ? place.panel.height - kListTop - kListBottomMargin : 0;
  place.columnWidth = std::max(place.list.width - kColumnInset, 0);
  return place;
}

bool InPlayListZone(const PlayListPlace& place, const PlayListFrame& frame, int screenX, int screenY) {
  const int left = frame.mediaScreenLeft + place.panel.left;
  const int right = left + place.panel.width;
  const int top = frame.mediaScreenTop + place.panel.top;
  const int bottom = frame.mediaScreenTop + frame.mediaHeight - kZoneBottomMargin;
  return screenX >= left && screenX <= right && screenY >= top && screenY <= bottom;
}

bool PlayListShownThisTick(bool enabled, bool inZone, int& showTicks) {
  if (!enabled) {
    return false;
  }
  if (inZone) {
    return true;
  }
  if (showTicks > 0) {
    --showTicks;
    return true;
  }
  return false;
}

std::string PlayListCaption(int index, bool current, const std::string& displayName) {
  return std::string(current ? kCurrentMarker : kOtherMarker) + std::to_string(index + 1) + ": " +
         displayName;
}

}  // namespace orves
