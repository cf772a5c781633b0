#pragma once
// DirectShowPlayer: the media player control `mpMovie`, our own class over a
// DirectShow filter graph, offering exactly the members of IMediaPlayer.
//
// Hosting (what TfrmMain does):
//   MoviePanel pnlMovie, pnlInnerMovie;                 // MoviePanel_win32.h
//   pnlMovie.Create(pnlMedia, kIdMovie);
//   pnlInnerMovie.Create(pnlMovie.Handle(), kIdInnerMovie, /*fillChildren=*/true);
//   DirectShowPlayer mpMovie;                          // COM initialised (STA)
//   mpMovie.Create(pnlInnerMovie.Handle());              // fills pnlInnerMovie
//   mpMovie.SetEvents(this);         // IMediaPlayerEvents: play state, buffering
//   mpMovie.SetWindowEvents(this);   // IMovieWindowEvents: mouse, focus
//   MoviePanels panels(pnlMovie, pnlInnerMovie, &mpMovie);  // for TMovie
//   pnlMovie.SetOnResize([&](int, int) { movie.FitInnerPanel(); });
//
// The control's window holds the video window of the graph (an owned child);
// the graph's events come to that window as a message, so both events of
// IMediaPlayerEvents arrive from the message loop of the GUI thread.
//
// A file is opened through our own decoding module (OwnCodecs_win32.h) first
// when the module is beside the program, else, or when that fails, with the
// graph builder's RenderFile and the system's filters.
//
// Seeking a running or paused graph is done as Stop, set position, then Run
// or Pause again: seeking a running graph can hang some splitters at the next
// Stop. That internal stop is never reported as a play-state change.
//
// While paused the control paints the paused frame itself, at its window's
// size (PausedFrame_win32.h): a zoom, a resize or a caption moved away while
// the movie stands still shows the picture whole, never an old one.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <string>

#include "player/core/MediaPlayer.h"

namespace orves {

// Mouse and focus of the control's window, for the main window's handlers.
class IMovieWindowEvents {
 public:
  virtual ~IMovieWindowEvents() = default;
  // Any mouse message (WM_MOUSEMOVE, button presses, releases, double clicks,
  // the wheel) over the picture; `screen` is the cursor in screen pixels.
  virtual void OnMovieMouse(UINT message, WPARAM keys, POINT screen) = 0;
  // The control took the keyboard focus (the main window moves it away).
  virtual void OnMovieFocus() = 0;
};

class DirectShowPlayer final : public IMediaPlayer {
 public:
  DirectShowPlayer();
  ~DirectShowPlayer() override;  // closes the media (up to ~2 s for a graph)
  DirectShowPlayer(const DirectShowPlayer&) = delete;
  DirectShowPlayer& operator=(const DirectShowPlayer&) = delete;

  // Creates the control's window as a child of `parent`, filling its client
  // area. Call once, before opening anything. False when the window cannot be
  // created.
  bool Create(HWND parent);
  HWND Window() const;
  // Sizes the control's window to the parent's client area (MoviePanel with
  // fillChildren does this on every resize).
  void FitToParent();
  // Redraws the current frame.
  void Repaint();

  void SetWindowEvents(IMovieWindowEvents* events);
  // The HRESULT of the last failed open, S_OK after a successful one.
  HRESULT LastOpenResult() const;
  // The graph of the open media (not AddRef'ed; null when nothing is open),
  // for diagnostics and tests.
  IGraphBuilder* Graph() const;

  // IMediaPlayer
  void SetFileName(const std::string& name) override;
  std::string FileName() const override;
  bool IsOpen() const override;
  void Play() override;
  void Pause() override;
  double CurrentPosition() const override;
  void SetCurrentPosition(double seconds) override;
  double Duration() const override;
  int ImageSourceWidth() const override;
  int ImageSourceHeight() const override;
  void SetVolume(int volume) override;
  int Volume() const override;
  void SetMute(bool mute) override;
  bool Mute() const override;
  void SetRate(double rate) override;
  double Rate() const override;
  int PlayState() const override;
  int StreamCount() const override;
  void StreamSelect(int stream) override;
  std::string GetStreamName(int stream) const override;
  bool GetStreamSelected(int stream) const override;
  int TextTrackCount() const override;
  TMovieTextTrack TextTrack(int track) const override;
  std::optional<std::vector<TMovieTextCue>> TextTrackCues(int track) override;
  void SetOwnDecoders(bool on) override;
  void SetEvents(IMediaPlayerEvents* events) override;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orves
