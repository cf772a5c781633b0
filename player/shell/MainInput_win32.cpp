// TfrmMain's keys, popup menus and mouse: each goes to the controller, the
// mouse gestures or the menus' data; nothing here decides what a command does.
#include "player/shell/MainMenus_win32.h"
#include "player/shell/Main_win32.h"

namespace orves {

namespace {

uint8_t HeldModifiers(UINT message, LPARAM flags) {
  uint8_t modifiers = kModNone;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= kModShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= kModCtrl;
  // Bit 29 of a system key message: Alt is down.
  if (GetKeyState(VK_MENU) < 0 || (message == WM_SYSKEYDOWN && (flags & (1 << 29)) != 0))
    modifiers |= kModAlt;
  return modifiers;
}

// Tick counts wrap every 49.7 days: compared by their difference.
bool PressedBefore(DWORD pressed, DWORD moment) { return static_cast<int32_t>(pressed - moment) < 0; }

}  // namespace

TfrmMain::InputScope::InputScope(TfrmMain& form) : form_(form) {
  if (++form_.inputDepth_ > 1) {
    form_.waitedForInput_ = true;
  }
}

TfrmMain::InputScope::~InputScope() {
  if (form_.inputDepth_ == 1 && form_.waitedForInput_) {
    form_.waitedForInput_ = false;
    form_.waitEndedAt_ = GetTickCount();
  }
  if (--form_.inputDepth_ == 0 && form_.closePending_ && form_.Handle() != nullptr) {
    form_.closePending_ = false;
    PostMessageW(form_.Handle(), WM_CLOSE, 0, 0);
  }
}

// A key of the command table runs its action; any other key goes on to the
// system (Alt+F4 still closes the window).
bool TfrmMain::OnKey(UINT message, WPARAM key, LPARAM flags) {
  if (message == WM_SYSCHAR && swallowSysChar_) {
    swallowSysChar_ = false;
    return true;
  }
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) {
    return false;
  }
  // A command waiting in a dialog or menu runs no second one, and a key
  // pressed meanwhile that arrives after the wait was the dialog's.
  if (inputDepth_ > 1 || PressedBefore(static_cast<DWORD>(GetMessageTime()), waitEndedAt_)) {
    return false;
  }
  const KeyStroke stroke{HeldModifiers(message, flags), static_cast<uint16_t>(key)};
  if (!controller_->ExecuteKey(stroke)) {
    return false;
  }
  swallowSysChar_ = message == WM_SYSKEYDOWN;
  return true;
}

bool TfrmMain::OnMouse(UINT message, WPARAM keys, POINT screen, MouseTarget target, int thumb) {
  const MouseEvent event{screen.x, screen.y, target, thumb};
  switch (message) {
    case WM_LBUTTONDBLCLK:
      gestures_->DoubleClick();
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Moves and the release reach the window wherever the cursor goes.
      SetCapture(Handle());
      gestures_->Press(message == WM_MBUTTONDOWN ? MouseButton::Middle : MouseButton::Left, event);
      return true;
    case WM_RBUTTONDOWN:
      gestures_->Press(MouseButton::Right, event);
      return true;
    case WM_MOUSEMOVE:
      gestures_->Move(event, (keys & MK_LBUTTON) != 0 || GetKeyState(VK_LBUTTON) < 0);
      return true;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
      if (GetCapture() == Handle()) {
        ReleaseCapture();
      }
      gestures_->Release(event);
      return true;
    case WM_MOUSEWHEEL:
      // The playlist view, once it takes the focus, scrolls instead.
      controller_->Execute(GET_WHEEL_DELTA_WPARAM(keys) > 0 ? "actVolumeUp" : "actVolumeDown");
      return true;
    default:
      return false;
  }
}

void TfrmMain::OnMovieMouse(UINT message, WPARAM keys, POINT screen) {
  if (controller_ != nullptr) {
    const InputScope input(*this);
    OnMouse(message, keys, screen, MouseTarget::MovieControl);
  }
}

// The keys must keep reaching the window's shortcuts.
void TfrmMain::OnMovieFocus() { SetFocus(Handle()); }

void TfrmMain::PopupMain(int screenX, int screenY) {
  const MainMenuState state = PrepareMainMenu(Services());
  const MenuChoice choice = TrackMainMenu(Handle(), screenX, screenY, state);
  // The window may have gone while the menu was open.
  if (controller_ == nullptr) {
    return;
  }
  switch (choice.kind) {
    case MenuChoice::Kind::Action:
      controller_->Execute(choice.action);
      break;
    case MenuChoice::Kind::CaptionTrack:
      controller_->SelectCaptionTrack(choice.index);
      break;
    case MenuChoice::Kind::Stream:
      controller_->SelectStream(choice.index);
      break;
    case MenuChoice::Kind::Skin:
      controller_->SelectSkin(state.skins.at(static_cast<size_t>(choice.index)).caption);
      break;
    case MenuChoice::Kind::Entry:
      playList_->PlayIndex(choice.index);
      break;
    case MenuChoice::Kind::None:
      break;
  }
}

void TfrmMain::PopupPlayList(int screenX, int screenY) {
  const MenuChoice choice = TrackPlayListMenu(Handle(), screenX, screenY, playList_->autoSort);
  if (controller_ != nullptr && choice.kind == MenuChoice::Kind::Action) {
    controller_->Execute(choice.action);
  }
}

void TfrmMain::RunAction(const char* action) { controller_->Execute(action); }

// The list's keys go to the shortcuts, its right button to the gestures
// (which open popPlayList), its labels to their commands. A double click on
// a selected row plays it, the keyboard going back to the window so that Del
// no longer acts on the list; on no row it adds movies.
void TfrmMain::BindPlayListPanel() {
  PlayListPanelEvents events;
  events.key = [this](UINT message, WPARAM key, LPARAM flags) {
    if (controller_ == nullptr) return false;
    const InputScope input(*this);
    return OnKey(message, key, flags);
  };
  events.doubleClick = [this](int row) {
    if (controller_ == nullptr) return;
    const InputScope input(*this);
    if (row < 0) {
      RunAction("actPlayListAdd");
      return;
    }
    SetFocus(Handle());
    playList_->PlayIndex(row);
  };
  events.rightClick = [this](POINT screen) {
    if (controller_ == nullptr) return;
    const InputScope input(*this);
    OnMouse(WM_RBUTTONDOWN, 0, screen, MouseTarget::PlayListView);
  };
  events.label = [this](const char* action) {
    if (controller_ == nullptr) return;
    const InputScope input(*this);
    RunAction(action);
  };
  pnlPlayList_.SetEvents(std::move(events));
}

}  // namespace orves
