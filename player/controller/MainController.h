#pragma once
// TMainController: what the main window does with its commands, its 200 ms
// timer and the media player control's events. Every action of the command
// table runs here by name, whether it came from a key, a menu or a click
// area; the objects it works on are reached through their services and the
// main window through IControllerWindow, so all of it runs without a window.
#include <string>
#include <string_view>

#include "player/controller/CommandTable.h"
#include "player/controller/ControllerWindow.h"
#include "player/controller/MouseGestures.h"
#include "player/core/AppInfo.h"
#include "player/core/MediaPlayer.h"
#include "player/core/Services.h"

namespace orves {

// The objects the controller drives.
struct ControllerServices {
  IMedia& media;
  IMovie& movie;
  IMediaPlayer& player;  // the audio streams
  IPlayList& playList;
  ILayout& layout;
  ISkin& skin;
  ICaptions& captions;
  IStateText& stateText;
  IControllerWindow& window;
};

// What a timer tick needs to know of the screen.
struct TickInput {
  int cursorX = 0;
  int cursorY = 0;
  bool windowActive = false;
};

class TMainController final : public IGestureCommands {
 public:
  static constexpr int kCursorHideTicks = 15;  // 3 s of a still cursor in full screen

  explicit TMainController(const ControllerServices& services) : p_(services) {}

  // Runs the named action. False for a name that is no action; actions
  // without a handler (actFontConfig, actProperty) do nothing and are true.
  bool Execute(std::string_view action);
  // Runs the action of a key stroke; false when no action has that key.
  bool ExecuteKey(KeyStroke key);

  // IGestureCommands: an action, or what a click area or bar track asks.
  void RunAction(std::string_view action) override { Execute(action); }
  void RunArea(const AreaPress& press) override;

  // The main timer's eight duties, in order.
  void OnTimer(const TickInput& input);
  // The control's events.
  void OnPlayStateChange(int oldState, int newState);
  void OnBuffering(bool start);

  // Set when an open or add dialog chose files; read and cleared by the start
  // size rule when playing starts. Also set at program start.
  bool NewlyOpened() const { return newlyOpened_; }
  void SetNewlyOpened(bool on) { newlyOpened_ = on; }
  int IdleTicks() const { return idleTicks_; }

  // Menu choices filled at popup time.
  void SelectStream(int stream);
  // A text track of the movie, from the caption menu.
  void SelectCaptionTrack(int track);
  void SelectSkin(const std::string& name);

 private:
  struct Table;
  friend struct Table;

  void PlayPause();
  void Play();
  void ToggleMute();
  void OpenMovies();
  void AddMovies();
  void OpenCaption();
  void OpenInternetFile();
  void SavePlayList();
  void SaveCaption();
  void ChangeStream();
  void ChangeSkin();
  void Minimize();
  void DeleteSelectedEntries();
  void EndOfMovie();
  void TickFullScreenBar(const TickInput& input);
  void TickCursor(const TickInput& input);

  ControllerServices p_;
  bool newlyOpened_ = true;
  bool atEnd_ = false;  // the end of the movie was seen at the last tick
  int idleTicks_ = 0;
  int lastCursorX_ = -1;
  int lastCursorY_ = -1;
};

}  // namespace orves
