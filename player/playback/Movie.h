#pragma once
// TMovie: the player's single wrapper around the media player control. It
// keeps the file name, the volume, the picture-quality values, the fixed
// aspect and the side cropping, and computes the picture geometry the cropping
// and the fixed aspect produce. Section `Movie` of the settings file: read in
// the constructor, written in the destructor.
#include <string>

#include "player/playback/MediaPlayer.h"
#include "player/playback/PlaybackLinks.h"
#include "player/playback/StateTextSink.h"

namespace orves {

class TSetup;

// The objects TMovie talks to. Any of them may be null (skipped).
struct MovieLinks {
  IMediaPlayer* player = nullptr;  // mpMovie
  IMoviePanels* panels = nullptr;  // pnlMovie / pnlInnerMovie
  IMovieLayout* layout = nullptr;  // TLayout
  ISkinThumbs* skin = nullptr;     // TSkin
  IMediaView* media = nullptr;     // TMedia
  IStateText* stateText = nullptr;  // TStateText
};

class TMovie {
 public:
  explicit TMovie(TSetup& setup);
  ~TMovie();
  TMovie(const TMovie&) = delete;
  TMovie& operator=(const TMovie&) = delete;

  static constexpr const char* Section = "Movie";
  static constexpr int kMinVolume = -3200;  // silent
  static constexpr int kMaxVolume = 0;
  static constexpr int kBlockPixels = 32;   // one cutting block of source width

  void SetLinks(const MovieLinks& links) { links_ = links; }
  const MovieLinks& Links() const { return links_; }

  // ClearFileName, then SetVolume with the stored volume.
  void Start();

  void SetFileName(const std::string& name);
  void ClearFileName();
  const std::string& FileName() const { return fileName_; }

  void Play();
  void Pause();
  void Stop();                       // Pause, then position 0
  void SetPosition(double seconds);  // clamped to 0 .. Duration

  void SetVolume(int volume);  // clamped to -3200 .. 0; bars, control, message
  void VolumeUp() { SetVolume(volume_ + 100); }
  void VolumeDown() { SetVolume(volume_ - 100); }

  void SetBrightness(int brightness);  // clamped to -100 .. 100; reloads the media
  void BrightnessUp() { SetBrightness(brightness_ + 10); }
  void BrightnessDown() { SetBrightness(brightness_ - 10); }

  void SetCuttingBlock(int blocks);
  void AddCuttingBlock() { SetCuttingBlock(cuttingBlocks_ + 1); }
  void MinusCuttingBlock() { SetCuttingBlock(cuttingBlocks_ - 1); }

  void SelectAudioStream(int stream);

  // ImageSourceHeight, or 1 when that is 0 (never a zero divisor).
  int SourceHeight() const;
  // Source width left after cropping, in source pixels; 1 without a picture.
  int VisibleWidth() const;
  // Places pnlInnerMovie inside pnlMovie (hidden away without a picture).
  void FitInnerPanel();

  // Fields the options dialog reads and sets. Out-of-range values are ignored
  // by the setters, as the dialog only offers valid ones.
  int Volume() const { return volume_; }
  int Brightness() const { return brightness_; }
  int Processing() const { return processing_; }
  void SetProcessing(int level);  // 0 .. 60
  int FixRate() const { return fixRate_; }
  void SetFixRate(int rate);  // 0, 43 or 169
  bool CutWhenWindow() const { return cutWhenWindow_; }
  void SetCutWhenWindow(bool on) { cutWhenWindow_ = on; }
  bool Force43() const { return force43_; }
  void SetForce43(bool on) { force43_ = on; }
  int CuttingBlocks() const { return cuttingBlocks_; }

 private:
  bool HasPicture() const;
  bool CropApplies() const;  // full screen, or crop in window
  void ShowState(const std::string& korean, const std::string& english) const;

  TSetup& setup_;
  MovieLinks links_;
  std::string fileName_;
  int cuttingBlocks_ = 0;
  int fixRate_ = 0;
  int brightness_ = 0;
  int processing_ = 0;
  int volume_ = 0;
  bool cutWhenWindow_ = false;
  bool force43_ = true;
};

}  // namespace orves
