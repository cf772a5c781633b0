#pragma once
// The two popup menus of the main window as data: their items (each bound to
// an action of the command table, captioned from it unless given), and what
// changes each time the main menu opens: check marks, the seek captions and
// the stream, skin and playlist items. The Windows side turns this into menus.
#include <string>
#include <vector>

namespace orves {

struct ControllerServices;  // MainController.h

struct MenuNode {
  std::string name;     // "mnuRewind", or the action's name; "-" for a separator
  std::string action;   // the action it runs; empty for a submenu or a separator
  std::string caption;  // UTF-8
  std::vector<MenuNode> children;

  bool IsSeparator() const { return name == "-"; }
};

// popMain and popPlayList, item by item.
std::vector<MenuNode> MainMenuItems();
std::vector<MenuNode> PlayListMenuItems();

// Items filled in at popup time, after the fixed items of their submenu.
struct FilledItem {
  std::string caption;
  bool checked = false;
};

struct MainMenuState {
  bool fullScreen = false;                           // mnuToggleFullScreen
  bool captionsOn = false;                           // mnuShowCaptionToggle
  bool openCaptionEnabled = false;                   // mnuOpenCaption
  bool playListPanel = false;                        // mnuTogglePlayList
  bool antiAliase = false;                           // mnuAntiAliase
  bool showTime = false;                             // mnuToggleShowTime
  bool alwaysShowFullScreenBar = false;              // mnuToggleFullScreenBar
  bool fontBold = false;                             // actToggleFontBold
  std::string rewind, fastFind, rewind2, fastFind2;  // seek captions
  bool changeStreamEnabled = false;                  // mnuChangeStream
  std::vector<FilledItem> captionTracks;             // after the fixed items of mnuCaption
  std::vector<FilledItem> streams;                   // after the first four items of mnuSound
  std::vector<FilledItem> skins;                     // after the first three items of mnuSkin
  std::vector<FilledItem> entries;                   // after the first three items of mnuPlayList
};

// Fixed items kept at the top of the filled submenus.
inline constexpr int kSoundFixedItems = 4;
inline constexpr int kSkinFixedItems = 3;
inline constexpr int kPlayListFixedItems = 3;
// At most this many stream items, and caption track items.
inline constexpr int kMaxStreamItems = 10;
inline constexpr int kMaxCaptionTrackItems = 20;

// "10초 되감기", "60초 빨리감기".
std::string SeekCaption(int seconds, bool forward);

// Everything the main menu shows at this moment.
MainMenuState PrepareMainMenu(const ControllerServices& services);

}  // namespace orves
