#pragma once
// TMedia: the player's single media object. It opens and closes a movie,
// plays, pauses, stops and seeks with the matching on-screen messages, and
// answers the few read-only queries of the control. Section `Media` of the
// settings file: read in the constructor, written in the destructor in the
// order FFSpaceTime, FFSpaceTime2, DoBookMark, CaptionEnabled, AddToRecent.
//
// Bookmarks, captions, the speed and the picture layout arrive with their own
// objects; the settings that drive them are kept here already.
#include <string>

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
};

class TMedia : public IMediaView {
 public:
  explicit TMedia(TSetup& setup);
  ~TMedia() override;
  TMedia(const TMedia&) = delete;
  TMedia& operator=(const TMedia&) = delete;

  static constexpr const char* Section = "Media";

  void SetLinks(const MediaLinks& links) { links_ = links; }

  // Called once when the main window is created: fits the (empty) picture.
  void Start();

  // Close, then hand the movie to TMovie and play it.
  void Open(const std::string& fileName);
  // TMovie ClearFileName and refit.
  void Close();
  // Plays when a file name is set; shows "PLAYING : (i/n) "name"".
  void Play();
  // Only with a picture: pause and show "PAUSED".
  void Pause();
  // Pause and go to 0; no message.
  void Stop();
  // Only with a picture: clamp to 0 .. Duration, seek, "MOVE TO : t / d".
  void SeekTo(double seconds);

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

  TSetup& setup_;
  MediaLinks links_;
  int shortStep_ = 10;
  int longStep_ = 60;
  bool useBookmarks_ = true;
  bool captionsOn_ = true;
  bool addToRecent_ = true;
};

}  // namespace orves
