#pragma once
// TMedia: the player's single media object. It opens and closes a movie
// together with its caption file, plays, pauses, stops and seeks with the
// matching on-screen messages, sets the speed, switches captions on and off,
// keeps resume positions in "Bookmark.ini" beside the program, and lays the
// picture, caption and state-text panels out inside the media panel. A movie
// counts as open exactly when the control shows a picture. Section `Media` of
// the settings file: read in the constructor, written in the destructor in
// the order FFSpaceTime, FFSpaceTime2, DoBookMark, CaptionEnabled,
// AddToRecent.
#include <filesystem>
#include <string>

#include "player/playback/Bookmarks.h"
#include "player/playback/MediaPlayer.h"
#include "player/playback/PlaybackLinks.h"
#include "player/playback/StateTextSink.h"

namespace orves {

class TSetup;
class TMovie;

// The objects TMedia talks to. Any of them may be null (skipped).
struct MediaLinks {
  IMediaPlayer* player = nullptr;  // mpMovie, read directly
  TMovie* movie = nullptr;
  ISkinThumbs* skin = nullptr;
  IPlayListPosition* playList = nullptr;
  IStateText* stateText = nullptr;
  IMediaCaptions* captions = nullptr;  // TCaptionView
  IMediaPanels* panels = nullptr;      // pnlMedia and the panels inside it
  IMediaLayout* layout = nullptr;      // TLayout, TSkin, TPlayList
};

class TMedia : public IMediaView {
 public:
  explicit TMedia(TSetup& setup);
  ~TMedia() override;
  TMedia(const TMedia&) = delete;
  TMedia& operator=(const TMedia&) = delete;

  static constexpr const char* Section = "Media";
  static constexpr int kMargin = 3;  // free pixels around the picture in a window
  static constexpr int kMinSpeed = 10;
  static constexpr int kMaxSpeed = 200;
  static constexpr int kSpeedStep = 5;
  static constexpr double kResumeLead = 5;  // resume this many seconds early

  void SetLinks(const MediaLinks& links) { links_ = links; }
  // The bookmark file; by default "Bookmark.ini" beside the settings file
  // (both live in the program folder).
  void SetBookmarkFile(std::filesystem::path path) { bookmarks_.SetPath(std::move(path)); }
  // How movie names become bookmark keys (see TBookmarks; ExactAnsiFromUtf8 on
  // Windows).
  void SetBookmarkKeyEncoder(TBookmarks::KeyEncoder encoder) { bookmarks_.SetKeyEncoder(std::move(encoder)); }
  const TBookmarks& Bookmarks() const { return bookmarks_; }

  // Called once when the main window is created: fits the (empty) picture.
  void Start();

  // Close, load the caption file (none when empty), hand the movie to TMovie
  // and play it.
  void Open(const std::string& fileName, const std::string& captionFileName);
  void Open(const std::string& fileName) { Open(fileName, std::string()); }
  // SaveBookmark, TMovie ClearFileName, clear the captions, refit.
  void Close();
  // Plays when a file name is set; shows "PLAYING : (i/n) "name"".
  void Play();
  // Only with a picture: pause and show "PAUSED".
  void Pause();
  // Pause and go to 0; no message.
  void Stop();
  // Only with a picture: clamp to 0 .. Duration, seek, "MOVE TO : t / d".
  void SeekTo(double seconds);
  void FastFind() { SeekTo(CurrentPosition() + shortStep_); }
  void Rewind() { SeekTo(CurrentPosition() - shortStep_); }
  void FastFind2() { SeekTo(CurrentPosition() + longStep_); }
  void Rewind2() { SeekTo(CurrentPosition() - longStep_); }

  // Captions on or off; the window takes the picture's new aspect.
  void ToggleCaption();

  // Per cent, clamped to 10 .. 200; kept when another file is opened.
  void SetSpeed(int percent);
  void SpeedUp() { SetSpeed(speed_ + kSpeedStep); }
  void SpeedDown() { SetSpeed(speed_ - kSpeedStep); }
  int Speed() const { return speed_; }

  // Run when the control goes from stopped to playing: seek to 5 s before the
  // stored place (0 for a movie left at its end).
  void ResumeBookmark();
  // Run by Close and at the end of a movie: store the current position, or 0
  // when the movie is at its very end.
  void SaveBookmark();

  // The picture's size in source pixels: cropped width, and the source height
  // plus the caption band when captions are on and there are any.
  int DisplayWidth() const;
  int DisplayHeight() const;
  // Places pnlMovie, pnlCaption and pnlStateText inside pnlMedia. Without
  // `force` nothing happens while pnlMovie is hidden.
  void FitPicture(bool force = false);

  // IMediaView: the control's properties, read directly.
  bool HasPicture() const override;
  double CurrentPosition() const override;
  double Duration() const override;
  // Reopen the current movie and seek back to where it was.
  void Reload() override;
  int PlayState() const;

  // The playing message of Play; also shown when buffering ends.
  void ShowPlayingMessage() const;

  // Settings, read and set by the options dialog.
  int ShortStep() const { return shortStep_; }
  void SetShortStep(int seconds) { shortStep_ = seconds; }
  int LongStep() const { return longStep_; }
  void SetLongStep(int seconds) { longStep_ = seconds; }
  bool UseBookmarks() const { return useBookmarks_; }
  void SetUseBookmarks(bool on) { useBookmarks_ = on; }
  bool CaptionsOn() const { return captionsOn_; }
  void SetCaptionsOn(bool on) { captionsOn_ = on; }
  bool AddToRecent() const { return addToRecent_; }
  void SetAddToRecent(bool on) { addToRecent_ = on; }

 private:
  void ShowState(const std::string& korean, const std::string& english) const;
  bool HasCaptions() const;

  TSetup& setup_;
  MediaLinks links_;
  TBookmarks bookmarks_;
  int speed_ = 100;
  int shortStep_ = 10;
  int longStep_ = 60;
  bool useBookmarks_ = true;
  bool captionsOn_ = true;
  bool addToRecent_ = true;
};

}  // namespace orves
