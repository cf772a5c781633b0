#pragma once
// TMovie: the player's single wrapper around the media player control. It
// keeps the file name, the volume, the picture-quality values, the fixed
// aspect and the side cropping, and computes the picture geometry the cropping
// and the fixed aspect produce. Section `Movie` of the settings file: read in
// the constructor, written in the destructor.
#include <string>

#include "player/core/MediaPlayer.h"
#include "player/core/Services.h"
#include "player/window/Skin.h"

namespace orves {

class TSetup;
template <class Owner>
class SettingsTable;

// Geometry of the movie panel `pnlMovie` and the inner panel `pnlInnerMovie`
// that holds the media player control.
class IMoviePanels {
 public:
  virtual ~IMoviePanels() = default;
  virtual int MoviePanelWidth() const = 0;
  virtual int MoviePanelHeight() const = 0;
  // Position and size are separate so the caller decides their order.
  virtual void SetInnerPosition(int left, int top) = 0;
  virtual void SetInnerSize(int width, int height) = 0;
  virtual void RepaintInner() = 0;
};

// The services of the movie wrapper.
struct TMovieServices {
  IMediaPlayer& player;  // mpMovie
  IMoviePanels& panels;  // pnlMovie / pnlInnerMovie
  ILayout& layout;
  ISkin& skin;
  IMedia& media;
  IStateText& stateText;
};

// Also what the skin shows of playback: the open file's position, duration
// and volume.
class TMovie final : public IMovie, public ISkinPlayback {
 public:
  TMovie(TSetup& setup, const TMovieServices& services);
  ~TMovie() override;
  TMovie(const TMovie&) = delete;
  TMovie& operator=(const TMovie&) = delete;

  static const SettingsTable<TMovie>& SettingsKeys();
  static constexpr int kMinVolume = -3200;  // silent
  static constexpr int kMaxVolume = 0;
  static constexpr int kBlockPixels = 32;  // one cutting block of source width

  // ClearFileName, then SetVolume with the stored volume.
  void Start();

  void SetFileName(const std::string& name);
  void ClearFileName();
  const std::string& FileName() const { return fileName_; }

  void Play();
  void Pause();
  void Stop();                       // Pause, then position 0
  void SetPosition(double seconds);  // clamped to 0 .. Duration

  void SetVolume(int volume) override;  // clamped to -3200 .. 0; bars, control, message
  void VolumeUp() override { SetVolume(volume_ + 100); }
  void VolumeDown() override { SetVolume(volume_ - 100); }

  void SetBrightness(int brightness);  // clamped to -100 .. 100; reloads the media
  void BrightnessUp() override { SetBrightness(brightness_ + 10); }
  void BrightnessDown() override { SetBrightness(brightness_ - 10); }

  void SetCuttingBlock(int blocks);
  void AddCuttingBlock() override { SetCuttingBlock(cuttingBlocks_ + 1); }
  void MinusCuttingBlock() override { SetCuttingBlock(cuttingBlocks_ - 1); }

  void SelectAudioStream(int stream) override;

  // ImageSourceHeight, or 1 when that is 0 (never a zero divisor).
  int SourceHeight() const;
  // Source width left after cropping, in source pixels; 1 without a picture.
  int VisibleWidth() const;
  // Places pnlInnerMovie inside pnlMovie (hidden away without a picture).
  void FitInnerPanel();

  // ISkinPlayback
  bool FullScreen() const override { return services_.layout.IsFullScreen(); }
  bool MovieOpen() const override { return !fileName_.empty(); }
  double Position() const override { return services_.player.CurrentPosition(); }
  double Duration() const override { return services_.player.Duration(); }

  // Fields the options dialog reads and sets. Out-of-range values are ignored
  // by the setters, as the dialog only offers valid ones.
  int Volume() const override { return volume_; }
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
  bool CropApplies() const;  // full screen, or crop in window
  void ShowState(const std::string& korean, const std::string& english) const;

  TSetup& setup_;
  TMovieServices services_;
  std::string fileName_;
  int cuttingBlocks_ = 0;
  int fixRate_{};
  int brightness_{};
  int processing_{};
  int volume_{};
  bool cutWhenWindow_{};
  bool force43_{};
};

}  // namespace orves
