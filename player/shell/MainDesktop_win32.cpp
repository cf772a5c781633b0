// TfrmMain and the desktop: the media keys and application commands, the
// title the taskbar shows, keeping the display awake while a movie plays,
// and moving between monitors of different scales.
#include "player/controller/AppCommands.h"
#include "player/core/TextConvert_win32.h"
#include "player/playback/Movie.h"
#include "player/shell/Main_win32.h"
#include "player/shell/WindowTitle.h"
#include "player/window/Skin.h"

namespace orves {

static_assert(static_cast<int>(AppCommand::PlayPause) == APPCOMMAND_MEDIA_PLAY_PAUSE);
static_assert(static_cast<int>(AppCommand::Play) == APPCOMMAND_MEDIA_PLAY);
static_assert(static_cast<int>(AppCommand::Pause) == APPCOMMAND_MEDIA_PAUSE);
static_assert(static_cast<int>(AppCommand::Stop) == APPCOMMAND_MEDIA_STOP);
static_assert(static_cast<int>(AppCommand::PreviousTrack) == APPCOMMAND_MEDIA_PREVIOUSTRACK);
static_assert(static_cast<int>(AppCommand::NextTrack) == APPCOMMAND_MEDIA_NEXTTRACK);
static_assert(static_cast<int>(AppCommand::VolumeUp) == APPCOMMAND_VOLUME_UP);
static_assert(static_cast<int>(AppCommand::VolumeDown) == APPCOMMAND_VOLUME_DOWN);
static_assert(static_cast<int>(AppCommand::VolumeMute) == APPCOMMAND_VOLUME_MUTE);

// As with keys, a command waiting in a dialog or menu runs no second one.
bool TfrmMain::RunAppCommand(int command) {
  const char* action = ActionForAppCommand(command);
  if (action == nullptr || inputDepth_ > 1) {
    return false;
  }
  controller_->Execute(action);
  return true;
}

void TfrmMain::UpdateDesktopState() {
  stayAwake_.Update(mpMovie_.PlayState() == kPlayStatePlaying, IsIconic(Handle()) != FALSE);
  std::string title = MainWindowTitle(movie_->FileName());
  if (title != title_) {
    title_ = std::move(title);
    SetWindowTextW(Handle(), Utf8ToWide(title_).c_str());
  }
}

// The skin is made again for the new scale and the window takes the place
// the system suggests (the same size on screen); full screen keeps covering
// its monitor.
void TfrmMain::OnDpiChanged(const RECT& suggested) {
  if (skin_ == nullptr || layout_ == nullptr) {
    return;
  }
  skin_->Rescale();
  if (layout_->IsFullScreen()) {
    layout_->Arrange();
    return;
  }
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orves
