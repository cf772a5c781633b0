#include "player/playback/Movie.h"

#include <algorithm>

#include "player/core/SettingsTable.h"

namespace orves {

namespace {
constexpr int kMinBrightness = -100;
constexpr int kMaxBrightness = 100;
constexpr int kMaxProcessing = 60;

// The fixed aspects: none, 16:9, 4:3.
constexpr DialogChoice kFixRates[] = {{"그대로", 0}, {"16:9", 169}, {"4:3", 43}};

constexpr bool ValidFixRate(int rate) {
  return std::any_of(std::begin(kFixRates), std::end(kFixRates),
                     [rate](const DialogChoice& c) { return c.value == rate; });
}
}  // namespace

const SettingsTable<TMovie>& TMovie::SettingsKeys() {
  using M = TMovie;
  static constexpr SettingKey<M> keys[] = {
      IntegerKey("DivxBrightness", &M::brightness_, 0, kMinBrightness, kMaxBrightness)
          .Shown(Spin("spinDivxBrightness", "밝기", 150, {kPagePlay, 170, 68, 70, 22}, 203, 10)
                     .AppliedBy(ApplyBy::Picture)),
      IntegerKey("DivxProcess", &M::processing_, 0, 0, kMaxProcessing)
          .Shown(Spin("spinDivxProcess", "화질", 150, {kPagePlay, 170, 96, 70, 22}, 204, 10)
                     .AppliedBy(ApplyBy::Picture)),
      IntegerKey("Volume", &M::volume_, 0, kMinVolume, kMaxVolume),
      ChoiceKey("DoFixRate", &M::fixRate_, 0, &ValidFixRate)
          .Shown(Radios("rdoDoFixRate", "화면 비율", {kPageFullScreen, 12, 218, 412, 48}, 602, kFixRates, 3)),
      FlagKey("CutWhenWindow", &M::cutWhenWindow_, false)
          .Shown(Check("chkCutWhenWindow", "창화면에서도 강제비율설정, 팬스캔(양쪽자르기) 적용",
                       {kPageAdvanced, 12, 140, 420, 20}, 807)),
      FlagKey("Force43", &M::force43_, true)
          .Shown(Check("chkForce43", "4:3 모드에서 무조건 꽉차게", {kPageAdvanced, 12, 162, 400, 20}, 808)),
  };
  static constexpr SettingsTable<M> table("Movie", keys);
  return table;
}

TMovie::TMovie(TSetup& setup, const TMovieServices& services) : setup_(setup), services_(services) {
  SettingsKeys().Read(setup_, *this);
}

TMovie::~TMovie() { SettingsKeys().Write(setup_, *this); }

void TMovie::Start() {
  ClearFileName();
  SetVolume(volume_);
}

void TMovie::SetFileName(const std::string& name) {
  fileName_ = name;
  services_.player.SetFileName(name);
}

void TMovie::ClearFileName() { SetFileName(std::string()); }

void TMovie::Play() { services_.player.Play(); }

void TMovie::Pause() { services_.player.Pause(); }

void TMovie::Stop() {
  Pause();
  SetPosition(0);
}

void TMovie::SetPosition(double seconds) {
  const double duration = services_.player.Duration();
  // NaN compares false everywhere: treat it as the start.
  if (!(seconds > 0)) seconds = 0;
  if (seconds > duration) seconds = duration > 0 ? duration : 0;
  services_.player.SetCurrentPosition(seconds);
}

void TMovie::SetVolume(int volume) {
  volume_ = std::clamp(volume, kMinVolume, kMaxVolume);
  services_.skin.PlaceThumbs();
  services_.player.SetVolume(volume_);
  services_.player.SetMute(volume_ == kMinVolume);
  const std::string percent = std::to_string((volume_ - kMinVolume) * 100 / (kMaxVolume - kMinVolume)) + "%";
  ShowState("소리크기 : " + percent, "VOLUME : " + percent);
}

void TMovie::SetBrightness(int brightness) {
  brightness_ = std::clamp(brightness, kMinBrightness, kMaxBrightness);
  // The video decoder takes the value when it is connected anew.
  services_.media.Reload();
  if (brightness_ == 0) {
    ShowState("밝기조절 : 기본값", "BRIGHTNESS : DEFAULT");
  } else if (brightness_ > 0) {
    const std::string v = std::to_string(brightness_);
    ShowState("밝기조절 : " + v + "% 밝게", "BRIGHTNESS : " + v + "% BRIGHT");
  } else {
    const std::string a = std::to_string(-brightness_);
    ShowState("밝기조절 : " + a + "% 어둡게", "BRIGHTNESS : " + a + "% DARK");
  }
}

void TMovie::SetCuttingBlock(int blocks) {
  // Cropping is refused while an aspect is fixed.
  if (fixRate_ == 43) {
    ShowState(" 4:3 고정모드 입니다", " 4:3 FIX MODE");
    return;
  }
  if (fixRate_ == 169) {
    ShowState(" 16:9 고정모드 입니다", " 16:9 FIX MODE");
    return;
  }
  if (blocks < 0) return;
  services_.layout.HideMovieForResize();
  cuttingBlocks_ = blocks;
  if (cutWhenWindow_) services_.layout.ResizeFromCurrentHeight();
  services_.layout.ShowMovieAfterResize();
  const std::string n = std::to_string(cuttingBlocks_);
  ShowState("양쪽 자르기 : " + n + " BLOCK", "CUTTINIG SIDE : " + n + " BLOCK");
}

void TMovie::SelectAudioStream(int stream) {
  services_.player.StreamSelect(stream);
  const std::string name = services_.player.GetStreamName(stream);
  ShowState("오디오 언어 : " + name, "AUDIO LANGUAGE : " + name);
}

int TMovie::SourceHeight() const {
  const int height = services_.player.ImageSourceHeight();
  return height > 0 ? height : 1;
}

int TMovie::VisibleWidth() const {
  if (!services_.media.HasPicture()) return 1;
  const int width = services_.player.ImageSourceWidth();
  if (!CropApplies()) return width;
  const int height = SourceHeight();
  // The largest numbers of blocks that still leave a 4:3 or a 16:9 picture.
  const int width43 = static_cast<int>(static_cast<long long>(height) * 4 / 3);
  const int width169 = static_cast<int>(static_cast<long long>(height) * 16 / 9);
  const int blocks43 = (width - width43) / kBlockPixels;
  const int blocks169 = (width - width169) / kBlockPixels;
  int blocks = fixRate_ == 43 ? blocks43 : fixRate_ == 169 ? blocks169 : std::min(cuttingBlocks_, blocks43);
  if (blocks < 0) blocks = 0;
  if (force43_ && blocks == blocks43) return width43;
  return width - kBlockPixels * blocks;
}

void TMovie::FitInnerPanel() {
  IMoviePanels& panels = services_.panels;
  int left = -20, top = -20, width = 10, height = 10;  // out of sight
  if (services_.media.HasPicture()) {
    height = panels.MoviePanelHeight();
    top = 0;
    if ((cuttingBlocks_ != 0 || fixRate_ != 0) && CropApplies()) {
      // The whole source picture at the panel's height, centred: the movie
      // panel, narrower than that, clips the two sides.
      width = static_cast<int>(static_cast<long long>(height) * services_.player.ImageSourceWidth() /
                               SourceHeight());
      left = (panels.MoviePanelWidth() - width) / 2 - 2;
    } else {
      width = panels.MoviePanelWidth();
      left = 0;
    }
  }
  // Move first when going left of the panel, else size first, so the
  // control never shows a wrong intermediate geometry.
  if (left < 0) {
    panels.SetInnerPosition(left, top);
    panels.SetInnerSize(width, height);
  } else {
    panels.SetInnerSize(width, height);
    panels.SetInnerPosition(left, top);
  }
  panels.RepaintInner();
}

void TMovie::SetProcessing(int level) {
  if (level >= 0 && level <= kMaxProcessing) processing_ = level;
}

void TMovie::SetFixRate(int rate) {
  if (ValidFixRate(rate)) fixRate_ = rate;
}

bool TMovie::CropApplies() const { return services_.layout.IsFullScreen() || cutWhenWindow_; }

void TMovie::ShowState(const std::string& korean, const std::string& english) const {
  services_.stateText.ShowState(korean, english);
}

}  // namespace orves
