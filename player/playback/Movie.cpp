#include "player/playback/Movie.h"

#include <algorithm>

#include "player/shell/Setup.h"

namespace orves {

namespace {
constexpr int kMinBrightness = -100;
constexpr int kMaxBrightness = 100;
constexpr int kMaxProcessing = 60;

bool ValidFixRate(int rate) { return rate == 0 || rate == 43 || rate == 169; }
}  // namespace

TMovie::TMovie(TSetup& setup) : setup_(setup) {
  brightness_ = std::clamp(setup_.ReadInteger(Section, "DivxBrightness", 0), kMinBrightness, kMaxBrightness);
  processing_ = std::clamp(setup_.ReadInteger(Section, "DivxProcess", 0), 0, kMaxProcessing);
  volume_ = std::clamp(setup_.ReadInteger(Section, "Volume", 0), kMinVolume, kMaxVolume);
  const int fixRate = setup_.ReadInteger(Section, "DoFixRate", 0);
  fixRate_ = ValidFixRate(fixRate) ? fixRate : 0;
  cutWhenWindow_ = setup_.ReadFlag(Section, "CutWhenWindow", false);
  force43_ = setup_.ReadFlag(Section, "Force43", true);
}

TMovie::~TMovie() {
  setup_.WriteInteger(Section, "DivxBrightness", brightness_);
  setup_.WriteInteger(Section, "DivxProcess", processing_);
  setup_.WriteInteger(Section, "Volume", volume_);
  setup_.WriteInteger(Section, "DoFixRate", fixRate_);
  setup_.WriteFlag(Section, "CutWhenWindow", cutWhenWindow_);
  setup_.WriteFlag(Section, "Force43", force43_);
}

void TMovie::Start() {
  ClearFileName();
  SetVolume(volume_);
}

void TMovie::SetFileName(const std::string& name) {
  fileName_ = name;
  if (links_.player) links_.player->SetFileName(name);
}

void TMovie::ClearFileName() { SetFileName(std::string()); }

void TMovie::Play() {
  if (links_.player) links_.player->Play();
}

void TMovie::Pause() {
  if (links_.player) links_.player->Pause();
}

void TMovie::Stop() {
  Pause();
  SetPosition(0);
}

void TMovie::SetPosition(double seconds) {
  if (!links_.player) return;
  const double duration = links_.player->Duration();
  // NaN compares false everywhere: treat it as the start.
  if (!(seconds > 0)) seconds = 0;
  if (seconds > duration) seconds = duration > 0 ? duration : 0;
  links_.player->SetCurrentPosition(seconds);
}

void TMovie::SetVolume(int volume) {
  volume_ = std::clamp(volume, kMinVolume, kMaxVolume);
  if (links_.skin) links_.skin->PlaceThumbs();
  if (links_.player) {
    links_.player->SetVolume(volume_);
    links_.player->SetMute(volume_ == kMinVolume);
  }
  const std::string percent = std::to_string((volume_ - kMinVolume) * 100 / (kMaxVolume - kMinVolume)) + "%";
  ShowState("소리크기 : " + percent, "VOLUME : " + percent);
}

void TMovie::SetBrightness(int brightness) {
  brightness_ = std::clamp(brightness, kMinBrightness, kMaxBrightness);
  // The video decoder takes the value when it is connected anew.
  if (links_.media) links_.media->Reload();
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
  if (links_.layout) links_.layout->HideMovieForResize();
  cuttingBlocks_ = blocks;
  if (cutWhenWindow_ && links_.layout) links_.layout->ResizeFromCurrentHeight();
  if (links_.layout) links_.layout->ShowMovieAfterResize();
  const std::string n = std::to_string(cuttingBlocks_);
  ShowState("양쪽 자르기 : " + n + " BLOCK", "CUTTINIG SIDE : " + n + " BLOCK");
}

void TMovie::SelectAudioStream(int stream) {
  if (!links_.player) return;
  links_.player->StreamSelect(stream);
  const std::string name = links_.player->GetStreamName(stream);
  ShowState("오디오 언어 : " + name, "AUDIO LANGUAGE : " + name);
}

int TMovie::SourceHeight() const {
  const int height = links_.player ? links_.player->ImageSourceHeight() : 0;
  return height > 0 ? height : 1;
}

int TMovie::VisibleWidth() const {
  if (!HasPicture()) return 1;
  const int width = links_.player->ImageSourceWidth();
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
  if (!links_.panels) return;
  IMoviePanels& panels = *links_.panels;
  int left = -20, top = -20, width = 10, height = 10;  // out of sight
  if (HasPicture()) {
    height = panels.MoviePanelHeight();
    top = 0;
    if ((cuttingBlocks_ != 0 || fixRate_ != 0) && CropApplies()) {
      // The whole source picture at the panel's height, centred: the movie
      // panel, narrower than that, clips the two sides.
      width = static_cast<int>(static_cast<long long>(height) * links_.player->ImageSourceWidth() / SourceHeight());
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

bool TMovie::HasPicture() const {
  if (!links_.player) return false;
  if (links_.media) return links_.media->HasPicture();
  return links_.player->ImageSourceWidth() != 0;
}

bool TMovie::CropApplies() const {
  const bool fullScreen = links_.layout && links_.layout->IsFullScreen();
  return fullScreen || cutWhenWindow_;
}

void TMovie::ShowState(const std::string& korean, const std::string& english) const {
  if (links_.stateText) links_.stateText->ShowState(korean, english);
}

}  // namespace orves
