#pragma once
// TMedia: the player's single media object. It opens and closes a movie
// together with its caption file, plays, pauses, stops and seeks with the
// matching on-screen messages, sets the speed, switches captions on and off,
// keeps resume positions in "Bookmark.ini" beside the program, and lays the
// picture, caption and state-text panels out inside the media panel. A movie
// counts as open exactly when the control shows a picture. Section `Media` of
// the settings file: read in the constructor, written in the destructor.
#include <filesystem>
#include <string>

#include "player/core/LateServices.h"
#include "player/core/MediaPlayer.h"
#include "player/core/Services.h"
#include "player/playback/Bookmarks.h"
#include "player/playback/MovieCaptions.h"

namespace orves {

class TSetup;
class TMovie;
template <class Owner>
class SettingsTable;

// The panels the media object lays out inside the media panel `pnlMedia`:
// `pnlMovie` (the picture), `pnlCaption` and `pnlStateText`.
class IMediaPanels {
 public:
  virtual ~IMediaPanels() = default;
  virtual int MediaPanelWidth() const = 0;
  virtual int MediaPanelHeight() const = 0;
  virtual bool MovieVisible() const = 0;
  virtual void SetMovieBounds(int left, int top, int width, int height) = 0;
  virtual void SetCaptionBounds(int left, int top, int width, int height) = 0;
  virtual void SetStateTextBounds(int left, int top, int width, int height) = 0;
};

// The services of the media object. TMovie, which it drives, is made after
// it.
struct TMediaServices {
  IMediaPlayer& player;  // mpMovie, read directly
  IStateText& stateText;
  ICaptions& captions;
  ISkin& skin;
  IPlayList& playList;
  ILayout& layout;
  IMediaPanels& panels;  // pnlMedia and the panels inside it
  const LateBound<TMovie>& movie;
};

class TMedia final : public IMedia {
 public:
  TMedia(TSetup& setup, const TMediaServices& services);
  ~TMedia() override;
  TMedia(const TMedia&) = delete;
  TMedia& operator=(const TMedia&) = delete;

  static const SettingsTable<TMedia>& SettingsKeys();
  static constexpr int kMargin = 3;  // free pixels around the picture in a window
  static constexpr int kMinSpeed = 10;
  static constexpr int kMaxSpeed = 200;
  static constexpr int kSpeedStep = 5;
  static constexpr double kResumeLead = 5;  // resume this many seconds early

  // The bookmark file; by default "Bookmark.ini" beside the settings file
  // (both live in the program folder).
  void SetBookmarkFile(std::filesystem::path path) { bookmarks_.SetPath(std::move(path)); }
  const TBookmarks& Bookmarks() const { return bookmarks_; }

  // Called once when the main window is created: fits the (empty) picture.
  void Start();

  // Close, load the caption files (none when empty), hand the movie to TMovie
  // and play it. The caption files are remembered for Reload until Close. A
  // movie the control cannot open is closed again at once, as if none had
  // been given, and the state text says "CANNOT PLAY THIS FILE"; false then
  // (and for an empty name).
  bool Open(const std::string& fileName, const std::vector<std::filesystem::path>& captionFiles) override;
  bool Open(const std::string& fileName) { return Open(fileName, {}); }
  // SaveBookmark, TMovie ClearFileName, clear the captions, refit.
  void Close() override;
  // Plays when a file name is set; shows "PLAYING : (i/n) "name"".
  void Play() override;
  // Only with a picture: pause and show "PAUSED".
  void Pause() override;
  // Pause and go to 0; no message.
  void Stop() override;
  // Only with a picture: clamp to 0 .. Duration, seek, "MOVE TO : t / d".
  void SeekTo(double seconds) override;
  void FastFind() override { SeekTo(CurrentPosition() + shortStep_); }
  void Rewind() override { SeekTo(CurrentPosition() - shortStep_); }
  void FastFind2() override { SeekTo(CurrentPosition() + longStep_); }
  void Rewind2() override { SeekTo(CurrentPosition() - longStep_); }

  // Captions on or off; the window takes the picture's new aspect.
  void ToggleCaption() override;

  // Per cent, clamped to 10 .. 200; kept when another file is opened.
  void SetSpeed(int percent);
  void SpeedUp() override { SetSpeed(speed_ + kSpeedStep); }
  void SpeedDown() override { SetSpeed(speed_ - kSpeedStep); }
  int Speed() const { return speed_; }

  // Run when the control goes from stopped to playing: seek to 5 s before the
  // stored place (0 for a movie left at its end).
  void ResumeBookmark() override;
  // Run by Close and at the end of a movie: store the current position, or 0
  // when the movie is at its very end.
  void SaveBookmark() override;

  // The picture's size in source pixels: cropped width, and the source height
  // plus the caption band when captions are on and there are any.
  int DisplayWidth() const;
  int DisplayHeight() const;
  // Places pnlMovie, pnlCaption and pnlStateText inside pnlMedia. Without
  // `force` nothing happens while pnlMovie is hidden.
  void FitPicture(bool force = false);

  // The control's properties, read directly.
  bool HasPicture() const override;
  double CurrentPosition() const override;
  double Duration() const override;
  int PlayState() const override;
  int PictureWidth() const override;
  int PictureHeight() const override;
  // Reopen the current movie and seek back to where it was.
  void Reload() override;

  // The playing message of Play; also shown when buffering ends.
  void ShowPlayingMessage() const override;

  void PollMovieCaptions() override { movieCaptions_.Poll(); }
  void ChooseMovieTrack(int track) override { movieCaptions_.Choose(track); }
  bool MovieTrackInUse(int track) const override { return movieCaptions_.InUse(track); }

  // Settings, read and set by the options dialog.
  int ShortStep() const override { return shortStep_; }
  void SetShortStep(int seconds) { shortStep_ = seconds; }
  int LongStep() const override { return longStep_; }
  void SetLongStep(int seconds) { longStep_ = seconds; }
  bool UseBookmarks() const { return useBookmarks_; }
  void SetUseBookmarks(bool on) { useBookmarks_ = on; }
  bool CaptionsOn() const override { return captionsOn_; }
  void SetCaptionsOn(bool on) { captionsOn_ = on; }
  bool AddToRecent() const { return addToRecent_; }
  void SetAddToRecent(bool on) { addToRecent_ = on; }
  // Files open through our own decoding module first (else the system's
  // filters only); handed to the control at every Open.
  bool OwnDecoders() const { return ownDecoders_; }

 private:
  void ShowState(const std::string& korean, const std::string& english) const;
  bool HasCaptions() const;
  TMovie& Movie() const { return services_.movie.Target(); }

  TSetup& setup_;
  TMediaServices services_;
  TBookmarks bookmarks_;
  std::vector<std::filesystem::path> captionFiles_;  // of the open movie
  TMovieCaptions movieCaptions_;                     // used when it has none
  int speed_ = 100;
  int shortStep_{};
  int longStep_{};
  bool useBookmarks_{};
  bool captionsOn_{};
  bool addToRecent_{};
  bool ownDecoders_{};
};

}  // namespace orves
