#include "player/controller/AppCommands.h"

namespace orves {

namespace {

struct AppCommandAction {
  AppCommand command;
  const char* action;
};

constexpr AppCommandAction kAppCommands[] = {
    {AppCommand::PlayPause, "actPlayPause"},   {AppCommand::Play, "actPlay"},
    {AppCommand::Pause, "actPause"},           {AppCommand::Stop, "actStop"},
    {AppCommand::PreviousTrack, "actPlayPre"}, {AppCommand::NextTrack, "actPlayNext"},
    {AppCommand::VolumeUp, "actVolumeUp"},     {AppCommand::VolumeDown, "actVolumeDown"},
    {AppCommand::VolumeMute, "actToggleMute"},
};

}  // namespace

const char* ActionForAppCommand(int appCommand) {
  for (const AppCommandAction& entry : kAppCommands) {
    if (static_cast<int>(entry.command) == appCommand) return entry.action;
  }
  return nullptr;
}

}  // namespace orves
