#include "player/shell/MainMenus_win32.h"

#include <vector>

#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {

// Command ids: fixed items by their place in `actions`, filled items by base.
constexpr UINT kFirstActionId = 1;
constexpr UINT kCaptionTrackBase = 1900;
constexpr UINT kStreamBase = 2000;
constexpr UINT kSkinBase = 3000;
constexpr UINT kEntryBase = 4000;
constexpr UINT kEntryLimit = kEntryBase + 20000;

// A filled-in text shows every "&" (no accelerator letters).
std::wstring Literal(const std::string& utf8) {
  std::wstring out;
  for (wchar_t c : Utf8ToWide(utf8)) {
    out.push_back(c);
    if (c == L'&') out.push_back(L'&');
  }
  return out;
}

void AppendItem(HMENU menu, UINT id, const std::wstring& caption, bool checked, bool enabled, bool radio) {
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
  item.fType = MFT_STRING | (radio ? MFT_RADIOCHECK : 0);
  item.fState = (checked ? MFS_CHECKED : 0) | (enabled ? MFS_ENABLED : MFS_DISABLED);
  item.wID = id;
  item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item);
}

void AppendFilled(HMENU menu, UINT base, const std::vector<FilledItem>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    AppendItem(menu, base + static_cast<UINT>(i), Literal(items[i].caption), items[i].checked, true, true);
  }
}

class MenuBuilder {
 public:
  // `state` is null for the playlist menu, which only marks its auto-sort item.
  MenuBuilder(const MainMenuState* state, bool autoSort) : state_(state), autoSort_(autoSort) {}

  HMENU Build(const std::vector<MenuNode>& nodes) {
    HMENU menu = CreatePopupMenu();
    for (const MenuNode& node : nodes) {
      Append(menu, node);
    }
    return menu;
  }

  std::vector<std::string> actions;  // by id - kFirstActionId

 private:
  void Append(HMENU menu, const MenuNode& node) {
    if (node.IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (node.action.empty()) {
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(Build(node.children)),
                  Utf8ToWide(node.caption).c_str());
    } else {
      actions.push_back(node.action);
      const UINT id = kFirstActionId + static_cast<UINT>(actions.size() - 1);
      AppendItem(menu, id, Utf8ToWide(Caption(node)), Checked(node.name), Enabled(node.name), false);
    }
  }

  std::string Caption(const MenuNode& node) const {
    if (state_ == nullptr) return node.caption;
    if (node.name == "mnuRewind") return state_->rewind;
    if (node.name == "mnuFastFind") return state_->fastFind;
    if (node.name == "mnuRewind2") return state_->rewind2;
    if (node.name == "mnuFastFind2") return state_->fastFind2;
    return node.caption;
  }

  bool Checked(const std::string& name) const {
    if (state_ == nullptr) return name == "mnuAutoSort" && autoSort_;
    if (name == "mnuToggleFullScreen") return state_->fullScreen;
    if (name == "mnuShowCaptionToggle") return state_->captionsOn;
    if (name == "mnuTogglePlayList") return state_->playListPanel;
    if (name == "mnuAntiAliase") return state_->antiAliase;
    if (name == "mnuToggleShowTime") return state_->showTime;
    if (name == "mnuToggleFullScreenBar") return state_->alwaysShowFullScreenBar;
    if (name == "actToggleFontBold") return state_->fontBold;
    return false;
  }

  bool Enabled(const std::string& name) const {
    if (state_ == nullptr) return true;
    if (name == "mnuOpenCaption") return state_->openCaptionEnabled;
    if (name == "mnuChangeStream") return state_->changeStreamEnabled;
    return true;
  }

  const MainMenuState* state_;
  bool autoSort_;
};

// The submenu of `menu` whose caption is `caption`.
HMENU SubMenuByCaption(HMENU menu, const std::string& caption) {
  const std::wstring wanted = Utf8ToWide(caption);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    if (wanted == text) return GetSubMenu(menu, i);
  }
  return nullptr;
}

MenuChoice Track(HWND owner, const BuiltMenu& built, int x, int y) {
  // The owner must be the foreground window for the menu to close when the
  // user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT id = static_cast<UINT>(
      TrackPopupMenu(built.menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(built.menu);
  return ChoiceOf(id, built.actions);
}

}  // namespace

MenuChoice ChoiceOf(UINT id, const std::vector<std::string>& actions) {
  MenuChoice choice;
  if (id >= kFirstActionId && id < kFirstActionId + actions.size()) {
    choice.kind = MenuChoice::Kind::Action;
    choice.action = actions[id - kFirstActionId];
  } else if (id >= kEntryBase && id < kEntryLimit) {
    choice.kind = MenuChoice::Kind::Entry;
    choice.index = static_cast<int>(id - kEntryBase);
  } else if (id >= kSkinBase && id < kEntryBase) {
    choice.kind = MenuChoice::Kind::Skin;
    choice.index = static_cast<int>(id - kSkinBase);
  } else if (id >= kCaptionTrackBase && id < kStreamBase) {
    choice.kind = MenuChoice::Kind::CaptionTrack;
    choice.index = static_cast<int>(id - kCaptionTrackBase);
  } else if (id >= kStreamBase && id < kSkinBase) {
    choice.kind = MenuChoice::Kind::Stream;
    choice.index = static_cast<int>(id - kStreamBase);
  }
  return choice;
}

BuiltMenu BuildMainMenu(const MainMenuState& state) {
  MenuBuilder builder(&state, false);
  BuiltMenu built;
  built.menu = builder.Build(MainMenuItems());
  built.actions = std::move(builder.actions);
  // The filled items go after the fixed items of their submenus, each list
  // cut to its id range.
  auto fill = [&](const char* caption, UINT base, UINT limit, std::vector<FilledItem> items,
                  bool separated = false) {
    if (items.size() > limit - base) items.resize(limit - base);
    HMENU sub = SubMenuByCaption(built.menu, caption);
    if (sub == nullptr) return;
    if (separated && !items.empty()) AppendMenuW(sub, MF_SEPARATOR, 0, nullptr);
    AppendFilled(sub, base, items);
  };
  // The movie's own caption tracks, below the caption commands.
  fill("자막 설정", kCaptionTrackBase, kStreamBase, state.captionTracks, true);
  fill("음향 설정", kStreamBase, kSkinBase, state.streams);
  fill("스킨 설정", kSkinBase, kEntryBase, state.skins);
  fill("플레이 리스트", kEntryBase, kEntryLimit, state.entries);
  return built;
}

BuiltMenu BuildPlayListMenu(bool autoSort) {
  MenuBuilder builder(nullptr, autoSort);
  BuiltMenu built;
  built.menu = builder.Build(PlayListMenuItems());
  built.actions = std::move(builder.actions);
  return built;
}

MenuChoice TrackMainMenu(HWND owner, int screenX, int screenY, const MainMenuState& state) {
  return Track(owner, BuildMainMenu(state), screenX, screenY);
}

MenuChoice TrackPlayListMenu(HWND owner, int screenX, int screenY, bool autoSort) {
  return Track(owner, BuildPlayListMenu(autoSort), screenX, screenY);
}

}  // namespace orves
