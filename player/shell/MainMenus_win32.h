#pragma once
// The two popup menus built from their data (PopupMenus.h) each time they
// open, shown at a screen point; the choice comes back to the caller rather
// than as a window message, so the caller runs it through the controller.
#include <windows.h>

#include <string>
#include <vector>

#include "player/controller/PopupMenus.h"

namespace orves {

struct MenuChoice {
  enum class Kind { None, Action, CaptionTrack, Stream, Skin, Entry };
  Kind kind = Kind::None;
  std::string action;  // Kind::Action
  int index = -1;      // caption track, stream number, skin index or playlist entry
};

MenuChoice TrackMainMenu(HWND owner, int screenX, int screenY, const MainMenuState& state);
MenuChoice TrackPlayListMenu(HWND owner, int screenX, int screenY, bool autoSort);

// The steps of the two above, apart: a built menu (the caller destroys it)
// with the action of each command id, and the choice a command id makes.
struct BuiltMenu {
  HMENU menu = nullptr;
  std::vector<std::string> actions;
};
BuiltMenu BuildMainMenu(const MainMenuState& state);
BuiltMenu BuildPlayListMenu(bool autoSort);
MenuChoice ChoiceOf(UINT id, const std::vector<std::string>& actions);

}  // namespace orves
