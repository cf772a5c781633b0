#pragma once
// The services the player's long-lived objects offer each other, one
// interface per provider. Each object receives the services it uses as
// references in its constructor; the main window makes the objects in the
// player's fixed order and binds the few that exist only later (see
// LateServices.h). Every method is declared once, here.
//
// Texts are UTF-8. Paths and playlist entries are byte text in the system's
// ANSI code page ("ANSI" below); caption files are std::filesystem paths.
#include <filesystem>
#include <string>
#include <vector>

#include "player/core/MediaPlayer.h"

namespace orves {

// TStateText: the one-line on-screen message. Every message is a pair of a
// Korean and an English text; the state text shows one of them.
class IStateText {
 public:
  virtual ~IStateText() = default;
  virtual void ShowState(const std::string& korean, const std::string& english) = 0;
  // The main timer's countdown and time display.
  virtual void Tick() = 0;
  virtual bool ShowTime() const = 0;
  virtual void SetShowTime(bool on) = 0;
};

// What the other objects read of TMedia: the open picture and the position.
class IMediaView {
 public:
  virtual ~IMediaView() = default;
  // True when the control shows a picture (its source width is not 0).
  virtual bool HasPicture() const = 0;
  virtual double CurrentPosition() const = 0;  // seconds
  virtual double Duration() const = 0;
  // The picture as the captions are laid out over it: the visible (cropped)
  // source width, 0 without a picture, and the source height.
  virtual int PictureWidth() const = 0;
  virtual int PictureHeight() const = 0;
  // The Media setting CaptionEnabled: captions switched on.
  virtual bool CaptionsOn() const = 0;
};

// TMedia: opening, playing and seeking the current movie.
class IMedia : public IMediaView {
 public:
  virtual int PlayState() const = 0;
  // Opens a movie (UTF-8 name or address) with the caption files found for it
  // (none, one, or a Korean and an English one) and plays it. False when it
  // cannot be played: nothing is open then and the state text says so.
  virtual bool Open(const std::string& fileName, const std::vector<std::filesystem::path>& captionFiles) = 0;
  virtual void Close() = 0;
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual void FastFind() = 0;
  virtual void Rewind() = 0;
  virtual void FastFind2() = 0;
  virtual void Rewind2() = 0;
  virtual void SpeedUp() = 0;
  virtual void SpeedDown() = 0;
  virtual void ToggleCaption() = 0;
  // Only with a picture: to `seconds`, clamped to the movie, with its message.
  virtual void SeekTo(double seconds) = 0;
  // Reopens the current movie with its caption file at the current position.
  virtual void Reload() = 0;
  virtual void ResumeBookmark() = 0;
  virtual void SaveBookmark() = 0;
  virtual void ShowPlayingMessage() const = 0;
  // The seek steps of FastFind/Rewind and FastFind2/Rewind2, in seconds.
  virtual int ShortStep() const = 0;
  virtual int LongStep() const = 0;
  // The captions inside a movie opened without a caption file: handed to the
  // captions once read (on the timer), the track chosen in the caption menu,
  // and whether a track is one the captions were given.
  virtual void PollMovieCaptions() = 0;
  virtual void ChooseMovieTrack(int track) = 0;
  virtual bool MovieTrackInUse(int track) const = 0;
};

// TMovie: the control's volume, picture values, cropping and audio stream.
class IMovie {
 public:
  virtual ~IMovie() = default;
  virtual void VolumeUp() = 0;
  virtual void VolumeDown() = 0;
  // Hundredths of a decibel, clamped to -3200 .. 0, with its message.
  virtual void SetVolume(int volume) = 0;
  virtual void BrightnessUp() = 0;
  virtual void BrightnessDown() = 0;
  virtual void AddCuttingBlock() = 0;
  virtual void MinusCuttingBlock() = 0;
  virtual void SelectAudioStream(int stream) = 0;
};

// TPlayList's place, for the playing message "(i/n)".
class IPlayListPosition {
 public:
  virtual ~IPlayListPosition() = default;
  virtual int ItemIndex() const = 0;  // current entry, -1 when none
  virtual int Count() const = 0;
};

// TPlayList and its panel. Entries are ANSI paths.
class IPlayList : public IPlayListPosition {
 public:
  virtual void Clear() = 0;
  virtual void Add(const std::string& path) = 0;
  virtual void Delete(int index) = 0;
  virtual void DeleteMissing() = 0;
  virtual void PlayIndex(int index) = 0;
  virtual void PlayCurrent() = 0;
  virtual void PlayNext() = 0;
  virtual void PlayPrevious() = 0;
  virtual void SaveList(const std::string& path) const = 0;
  virtual int Current() const = 0;
  // The entry's file name, UTF-8.
  virtual std::string DisplayName(int index) const = 0;
  virtual bool AutoSort() const = 0;
  virtual void ToggleAutoSort() = 0;
  virtual bool PanelEnabled() const = 0;
  virtual void TogglePanel() = 0;
  // The panel's visibility rule for one timer tick, cursor in screen pixels.
  virtual void TickPanel(int cursorX, int cursorY) = 0;
  // Places the panel beside the picture.
  virtual void ArrangePanel() = 0;
};

// What a press on one of the skin's click areas or bar tracks asks for: the
// layout finds it, the controller carries it out.
struct AreaPress {
  enum class Effect {
    Nothing,   // no area under the point
    Taken,     // an area of a name the player does not know: nothing runs
    Action,    // runs `action` of the command table
    PopUp,     // the main popup menu at the cursor
    Minimize,  // minimises when the button is released
    Seek,      // position track: to `share` of the movie
    Volume,    // volume track: to `volume`
  };
  Effect effect = Effect::Nothing;
  const char* action = nullptr;
  double share = 0;  // 0 .. 1
  int volume = 0;    // -3200 .. 0
  bool Hit() const { return effect != Effect::Nothing; }
};

// TLayout: window geometry, full screen, the control bar and the cursor.
class ILayout {
 public:
  virtual ~ILayout() = default;
  virtual bool IsFullScreen() const = 0;
  virtual bool AlwaysShowFullScreenBar() const = 0;
  virtual void ToggleFullScreen() = 0;
  virtual void ToggleFullScreenBar() = 0;
  virtual void ShowFullScreenBar() = 0;
  virtual void HideFullScreenBar() = 0;
  virtual void ShowMouseCursor() = 0;
  virtual void HideMouseCursor() = 0;
  // The setting that pauses the movie before the window is minimised.
  virtual bool PauseAtMinimize() const = 0;
  virtual void MinimizeWindow() = 0;
  virtual void Zoom(double factor) = 0;
  // Bracket every change of window size or state; showing lays everything
  // out again.
  virtual void HideMovieForResize() = 0;
  virtual void ShowMovieAfterResize() = 0;
  // The window takes the picture's aspect within the given outer size, or
  // within its current size; then everything is laid out again.
  virtual void ResizeKeepingAspect(int width, int height) = 0;
  virtual void ResizeKeepingAspect() = 0;
  // The window keeps its height and takes the width the picture needs.
  virtual void ResizeFromCurrentHeight() = 0;
  // The start-size rule when playing starts; `newlyOpened` says whether a
  // file dialog chose the movie.
  virtual void ApplyStartSize(bool newlyOpened) = 0;
  // What the click area or bar track at this point (window coordinates) asks.
  virtual AreaPress HitTest(int x, int y) = 0;
  virtual bool CaptionPanelVisible() const = 0;
};

// TSkin: the skin folder, the painted texts and the bar thumbs.
class ISkin {
 public:
  virtual ~ISkin() = default;
  // Names in the skin folder, "." and ".." left out, sorted without regard to case.
  virtual std::vector<std::string> SkinNames() const = 0;
  virtual std::string CurrentSkin() const = 0;
  virtual void LoadSkin(const std::string& name) = 0;
  virtual int FullScreenBarHeight() const = 0;
  virtual void PaintTexts() = 0;
  virtual void PlaceThumbs() = 0;
  // Bar thumbs: the left edge, its limits while dragging, moving it, and the
  // point (window coordinates) that hit-tests it on release.
  virtual int ThumbLeft(int thumb) const = 0;
  virtual void ThumbLimits(int thumb, int& minLeft, int& maxLeft) const = 0;
  virtual void MoveThumb(int thumb, int left) = 0;
  virtual void ThumbReleasePoint(int thumb, int& x, int& y) const = 0;
};

// TCaptionView: the caption document, its timing and the caption commands.
class ICaptions {
 public:
  virtual ~ICaptions() = default;
  // Loads the caption document from a file (an unreadable file leaves it empty).
  virtual void LoadCaptionFile(const std::filesystem::path& file) = 0;
  // Loads it from the files found for a movie: one, or a Korean and an
  // English one (one per table).
  virtual void LoadCaptionFiles(const std::vector<std::filesystem::path>& files) = 0;
  // Loads the document from a movie's text tracks, each into the table its
  // tag names, else the one its texts name, while that table is empty. At
  // open (`chosen` false) a caption file already loaded stays and the table
  // shown follows the counts as for files; a track chosen from the menu
  // (first in `tracks`) replaces what was loaded and is shown.
  virtual void LoadMovieTracks(const std::vector<TLoadedTextTrack>& tracks, bool chosen) = 0;
  // Empties the document and forgets its file.
  virtual void ClearCaptions() = 0;
  // The file the document was loaded from, empty when none.
  virtual std::filesystem::path CaptionFileName() const = 0;
  virtual bool HasCaptions() const = 0;
  // The caption block's extent above and below the picture's lower edge, in
  // source pixels.
  virtual int CaptionRise() const = 0;
  virtual int CaptionBand() const = 0;
  // Shows the caption of the current position (or hides it).
  virtual void UpdateCaption() = 0;
  virtual void ShiftSync(double seconds) = 0;
  virtual void SetSyncOffset(double seconds) = 0;
  virtual void SwitchLanguage() = 0;
  virtual void CaptionMoveUp() = 0;
  virtual void CaptionMoveDown() = 0;
  virtual void ApplyPositionPreset(int preset) = 0;
  virtual void CaptionSizeUp() = 0;
  virtual void CaptionSizeDown() = 0;
  virtual void OutLineRatePlus() = 0;
  virtual void OutLineRateMinus() = 0;
  virtual void ShadowRatePlus() = 0;
  virtual void ShadowRateMinus() = 0;
  virtual void ToggleAntiAliase() = 0;
  virtual void ToggleFontBold() = 0;
  virtual bool AntiAliase() const = 0;
  virtual bool FontBold() const = 0;
};

}  // namespace orves
