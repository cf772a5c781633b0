#pragma once
// The playlist panel `pnlPlayList` as TPlayList drives it: the panel's
// geometry rules (size limits, the list view inside it, the zone in which
// the pointer brings it up), the list captions, and the small interface the
// Windows panel implements. Pixels throughout; the media panel `pnlMedia`
// holds the panel, below the state-text panel.
#include <string>
#include <vector>

#include "player/window/Layout.h"

namespace orves {

// What the panel is laid out in: the media panel's size and its screen
// origin, and the state-text panel's top and height inside the media panel.
struct PlayListFrame {
  int mediaWidth = 0;
  int mediaHeight = 0;
  int mediaScreenLeft = 0;
  int mediaScreenTop = 0;
  int stateTop = 0;
  int stateHeight = 0;
};

// The panel in the media panel, the list view in the panel, and the list's
// one column.
struct PlayListPlace {
  PanelRect panel;
  PanelRect list;
  int columnWidth = 0;
};

inline constexpr int kPlayListMinHeight = 50;
inline constexpr int kPlayListCornerEllipse = 10;
// Ticks the panel stays up after it is switched on, wherever the pointer is.
inline constexpr int kPlayListShowTicks = 4;

// Size and place of the panel for `count` entries whose widest caption is
// `widest` pixels. The height never goes below the minimum, not even when
// the window is too small to give it that much room.
PlayListPlace ArrangePlayList(int widest, int count, const PlayListFrame& frame);

// The screen area in which the pointer keeps the panel up: the panel's width,
// from its top to 10 pixels above the media panel's bottom, edges included.
bool InPlayListZone(const PlayListPlace& place, const PlayListFrame& frame, int screenX, int screenY);

// One tick of the visibility rule: whether the panel is shown, counting
// down `showTicks` while the pointer is outside the zone.
bool PlayListShownThisTick(bool enabled, bool inZone, int& showTicks);

// "● 3: name.avi" for the current entry, "　 3: name.avi" for the others
// (UTF-8); `index` counts from 0.
std::string PlayListCaption(int index, bool current, const std::string& displayName);

// The panel on screen. Texts are UTF-8.
class IPlayListPanel {
 public:
  virtual ~IPlayListPanel() = default;
  // Replaces the rows with these captions; returns the widest caption's
  // width in pixels in the main window's font.
  virtual int SetRows(const std::vector<std::string>& captions) = 0;
  virtual PlayListFrame Frame() const = 0;
  virtual void Place(const PlayListPlace& place) = 0;
  virtual void SetVisible(bool visible) = 0;
};

}  // namespace orves
