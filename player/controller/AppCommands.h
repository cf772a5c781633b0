#pragma once
// The system's application commands (WM_APPCOMMAND: the keyboard's media
// keys, remote controls, the shell) as actions of the command table. The
// numbers are the system's own APPCOMMAND_* values, checked against the
// Windows headers where the Windows side uses them. The media keys need no
// table of their own: the key a window does not handle becomes its
// application command.

namespace orves {

enum class AppCommand : int {
  VolumeMute = 8,
  VolumeDown = 9,
  VolumeUp = 10,
  NextTrack = 11,
  PreviousTrack = 12,
  Stop = 13,
  PlayPause = 14,
  Play = 46,
  Pause = 47,
};

// The action an application command runs; null for one the player has no
// use for (the browser's, the mail's, ...), which goes on to the system.
const char* ActionForAppCommand(int appCommand);

}  // namespace orves
