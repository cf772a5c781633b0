#pragma once
// IMediaPlayer: the embedded media player control (`mpMovie`) as the rest of
// the player sees it. Exactly the members the player uses: the file name opens
// and closes, play and pause, position and duration in seconds, the source
// picture size, volume in hundredths of a decibel with mute, rate, the play
// state and the selectable streams. The Windows implementation is
// DirectShowPlayer (DirectShowPlayer.h); tests use fakes.
//
// Texts (file names, stream names, captions) are UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orves {

// A text subtitle track inside the open movie, and its markup: the texts of
// its cues carry SubRip or WebVTT tags, an ASS event's override tags, or
// none (timed text).
enum class TTrackMarkup { Plain, SubRip, WebVtt, Ass };

struct TMovieTextTrack {
  std::string name;      // as the menu lists it ("한국어 — SubRip")
  std::string language;  // its ISO 639 tag, empty when the movie gives none
  std::string title;
  TTrackMarkup markup = TTrackMarkup::Plain;
};

struct TMovieTextCue {
  int64_t start = 0;  // milliseconds
  int64_t end = 0;
  std::string text;  // with the track's markup in place
};

struct TLoadedTextTrack {
  TMovieTextTrack track;
  std::vector<TMovieTextCue> cues;
};

// Play states as the control reports them.
enum PlayStateValue : int {
  kPlayStateStopped = 0,
  kPlayStatePaused = 1,
  kPlayStatePlaying = 2,
};

// The two events of the control. They arrive on the GUI thread from the
// message loop, never from inside a call of IMediaPlayer.
class IMediaPlayerEvents {
 public:
  virtual ~IMediaPlayerEvents() = default;
  virtual void OnPlayStateChange(int oldState, int newState) = 0;
  virtual void OnBuffering(bool start) = 0;
};

class IMediaPlayer {
 public:
  virtual ~IMediaPlayer() = default;

  // Writing a name opens that file or address (stopped at 0); writing an empty
  // name closes the media. A file that cannot be opened leaves nothing open:
  // no picture (ImageSourceWidth 0), duration 0, state stopped.
  virtual void SetFileName(const std::string& name) = 0;
  virtual std::string FileName() const = 0;
  // A file or address is open: false after writing a name that could not be
  // opened, as with no name at all.
  virtual bool IsOpen() const = 0;

  virtual void Play() = 0;
  virtual void Pause() = 0;

  // Seconds. At the end of the movie CurrentPosition equals Duration exactly.
  virtual double CurrentPosition() const = 0;
  virtual void SetCurrentPosition(double seconds) = 0;
  virtual double Duration() const = 0;

  // Source picture size in pixels; a width of 0 means no picture is open.
  virtual int ImageSourceWidth() const = 0;
  virtual int ImageSourceHeight() const = 0;

  // Hundredths of a decibel, -10000 (silent) to 0 (full).
  virtual void SetVolume(int volume) = 0;
  virtual int Volume() const = 0;
  virtual void SetMute(bool mute) = 0;
  virtual bool Mute() const = 0;

  // Playback speed factor, 1.0 normal.
  virtual void SetRate(double rate) = 0;
  virtual double Rate() const = 0;

  // kPlayStateStopped, kPlayStatePaused or kPlayStatePlaying.
  virtual int PlayState() const = 0;

  // Selectable streams, numbered 0 .. StreamCount() - 1. Out-of-range numbers
  // select nothing and yield an empty name and false.
  virtual int StreamCount() const = 0;
  virtual void StreamSelect(int stream) = 0;
  virtual std::string GetStreamName(int stream) const = 0;
  virtual bool GetStreamSelected(int stream) const = 0;

  // The movie's text subtitle tracks, numbered 0 .. TextTrackCount() - 1
  // (none when the movie plays through filters that do not offer them). The
  // cues of a track are read apart from playback: nothing while that reading
  // runs, then every cue by start time (an empty list for a track number
  // that does not exist or a track that could not be read).
  virtual int TextTrackCount() const = 0;
  virtual TMovieTextTrack TextTrack(int track) const = 0;
  virtual std::optional<std::vector<TMovieTextCue>> TextTrackCues(int track) = 0;
  // Whether files are opened through our own decoding module first (the
  // `OwnDecoders` setting); taken at the next open. On by default.
  virtual void SetOwnDecoders(bool on) = 0;

  // Where the two events go; nullptr drops them.
  virtual void SetEvents(IMediaPlayerEvents* events) = 0;
};

}  // namespace orves
