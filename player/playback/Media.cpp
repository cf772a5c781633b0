#include "player/playback/Media.h"

#include <algorithm>

#include "player/playback/Movie.h"
#include "player/playback/PictureFit.h"
#include "player/core/TimeText.h"
#include "player/core/SettingsTable.h"

namespace orves {

namespace {
// Seek steps are whole seconds up to five minutes.
constexpr int kMaxSeekStep = 300;

// The part of a path or address after its last backslash, at most 256 bytes
// (a UTF-8 sequence cut in half is dropped, not shown as garbage).
std::string ShortName(const std::string& fileName) {
  const size_t slash = fileName.rfind('\\');
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  constexpr size_t kMaxName = 256;
  if (name.size() > kMaxName) {
    size_t end = kMaxName;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.resize(end);
  }
  return name;
}
}  // namespace

const SettingsTable<TMedia>& TMedia::SettingsKeys() {
  using M = TMedia;
  static constexpr SettingKey<M> keys[] = {
      IntegerKey("FFSpaceTime", &M::shortStep_, 10, 1, kMaxSeekStep)
          .Shown(Spin("spinFFTime", "◀ ▶ 키로 이동 (초)", 150, {kPagePlay, 170, 12, 70, 22}, 201)),
      IntegerKey("FFSpaceTime2", &M::longStep_, 60, 1, kMaxSeekStep)
          .Shown(Spin("spinFFTime2", "Alt + ◀ ▶ 키로 이동 (초)", 150, {kPagePlay, 170, 40, 70, 22}, 202)
                     .KeptByReset()),
      FlagKey("DoBookMark", &M::useBookmarks_, true)
          .Shown(Check("chkBookmark", "이어보기기능 켜기", {kPagePlay, 12, 132, 200, 20}, 301)),
      FlagKey("CaptionEnabled", &M::captionsOn_, true),
      FlagKey("AddToRecent", &M::addToRecent_, true)
          .Shown(
              Check("chkAddToRecent", "문서목록에 남기기", {kPagePlay, 12, 180, 200, 20}, 303).KeptByReset()),
      FlagKey("OwnDecoders", &M::ownDecoders_, true)
          .Shown(Check("chkOwnDecoders", "내장 코덱으로 먼저 재생", {kPagePlay, 220, 132, 200, 20}, 306)),
  };
  static constexpr SettingsTable<M> table("Media", keys);
  return table;
}

TMedia::TMedia(TSetup& setup, const TMediaServices& services)
    : setup_(setup),
      services_(services),
      bookmarks_(setup.Path().parent_path() / TBookmarks::FileName),
      movieCaptions_(services.player, services.captions) {
  SettingsKeys().Read(setup_, *this);
}

TMedia::~TMedia() { SettingsKeys().Write(setup_, *this); }

void TMedia::Start() { FitPicture(); }

bool TMedia::Open(const std::string& fileName, const std::vector<std::filesystem::path>& captionFiles) {
  Close();
  captionFiles_ = captionFiles;
  if (!captionFiles_.empty()) services_.captions.LoadCaptionFiles(captionFiles_);
  services_.player.SetOwnDecoders(ownDecoders_);
  Movie().SetFileName(fileName);
  if (services_.player.IsOpen()) {
    // The caption search names a file even when none exists: the movie's
    // own captions are used whenever no caption file gave any.
    if (!services_.captions.HasCaptions()) movieCaptions_.Begin();
    Play();
    return true;
  }
  // Nothing to play: no playing message, no play state, no position.
  Close();
  if (!fileName.empty()) {
    const std::string name = "\"" + ShortName(fileName) + "\"";
    ShowState("재생할 수 없는 파일입니다 : " + name, "CANNOT PLAY THIS FILE : " + name);
  }
  return false;
}

void TMedia::Close() {
  // The bookmark is taken while the movie is still open, before anything stops it.
  SaveBookmark();
  Movie().ClearFileName();
  captionFiles_.clear();
  movieCaptions_.End();
  services_.captions.ClearCaptions();
  FitPicture();
}

void TMedia::Play() {
  if (Movie().FileName().empty()) return;
  Movie().Play();
  ShowPlayingMessage();
}

void TMedia::ShowPlayingMessage() const {
  const int index = services_.playList.ItemIndex() + 1;
  const int count = services_.playList.Count();
  const std::string tail = "(" + std::to_string(index) + "/" + std::to_string(count) + ") \"" +
                           ShortName(Movie().FileName()) + "\"";
  ShowState("재생 : " + tail, "PLAYING : " + tail);
}

void TMedia::Pause() {
  if (!HasPicture()) return;
  Movie().Pause();
  ShowState("일시정지", "PAUSED");
}

void TMedia::Stop() { Movie().Stop(); }

void TMedia::SeekTo(double seconds) {
  if (!HasPicture()) return;
  const double duration = Duration();
  if (!(seconds > 0)) seconds = 0;  // NaN too
  if (seconds > duration) seconds = duration;
  services_.skin.PlaceThumbs();
  Movie().SetPosition(seconds);
  services_.captions.UpdateCaption();
  const std::string where = PositionText(seconds) + " / " + PositionText(duration);
  ShowState("이동 : " + where, "MOVE TO : " + where);
}

void TMedia::ToggleCaption() {
  captionsOn_ = !captionsOn_;
  services_.captions.UpdateCaption();
  // The caption band below the picture comes or goes: the window follows.
  services_.layout.ResizeKeepingAspect();
  if (captionsOn_) {
    ShowState("자막 : ON", "CAPTION : ON");
  } else {
    ShowState("자막 : OFF", "CAPTION : OFF");
  }
}

void TMedia::SetSpeed(int percent) {
  speed_ = std::clamp(percent, kMinSpeed, kMaxSpeed);
  services_.player.SetRate(speed_ * 0.01);
  const std::string value = std::to_string(speed_) + " %";
  ShowState("재생 속도 : " + value, "PLAYING SPEED : " + value);
}

// The caption file is the one opened with this movie: a caption file of an
// earlier movie never follows the current one.
void TMedia::Reload() {
  const double position = CurrentPosition();
  const std::string fileName = Movie().FileName();
  const std::vector<std::filesystem::path> captionFiles = captionFiles_;
  Close();
  Open(fileName, captionFiles);
  SeekTo(position);
}

void TMedia::ResumeBookmark() {
  if (!useBookmarks_ || !bookmarks_.Exists()) return;
  SeekTo(bookmarks_.Read(Movie().FileName()) - kResumeLead);
}

void TMedia::SaveBookmark() {
  if (!useBookmarks_ || !HasPicture()) return;
  const double position = CurrentPosition();
  // A movie watched to its end starts from the beginning next time.
  bookmarks_.Write(Movie().FileName(), position == Duration() ? 0.0 : position);
}

int TMedia::DisplayWidth() const { return Movie().VisibleWidth(); }

int TMedia::DisplayHeight() const {
  const int source = Movie().SourceHeight();
  return captionsOn_ && HasCaptions() ? source + services_.captions.CaptionBand() : source;
}

bool TMedia::HasCaptions() const { return services_.captions.HasCaptions(); }

void TMedia::FitPicture(bool force) {
  IMediaPanels& panels = services_.panels;
  if (!panels.MovieVisible() && !force) return;
  PictureFitInput in;
  in.mediaWidth = panels.MediaPanelWidth();
  in.mediaHeight = panels.MediaPanelHeight();
  in.margin = kMargin;
  in.fullScreen = services_.layout.IsFullScreen();
  in.hasPicture = HasPicture();
  in.displayWidth = DisplayWidth();
  in.displayHeight = DisplayHeight();
  in.sourceHeight = Movie().SourceHeight();
  in.captionRise = services_.captions.CaptionRise();
  in.captionBand = services_.captions.CaptionBand();
  if (in.fullScreen && !services_.layout.AlwaysShowFullScreenBar()) {
    in.stateTextTop = services_.skin.FullScreenBarHeight();
  }
  const PictureFit fit = FitPictureBounds(in);
  panels.SetMovieBounds(fit.movie.left, fit.movie.top, fit.movie.width, fit.movie.height);
  Movie().FitInnerPanel();
  panels.SetCaptionBounds(fit.caption.left, fit.caption.top, fit.caption.width, fit.caption.height);
  if (in.hasPicture) services_.captions.UpdateCaption();
  panels.SetStateTextBounds(fit.stateText.left, fit.stateText.top, fit.stateText.width, fit.stateText.height);
  services_.playList.ArrangePanel();
}

bool TMedia::HasPicture() const { return services_.player.ImageSourceWidth() != 0; }

double TMedia::CurrentPosition() const { return services_.player.CurrentPosition(); }

double TMedia::Duration() const { return services_.player.Duration(); }

int TMedia::PlayState() const { return services_.player.PlayState(); }

int TMedia::PictureWidth() const { return HasPicture() ? Movie().VisibleWidth() : 0; }

int TMedia::PictureHeight() const { return Movie().SourceHeight(); }

void TMedia::ShowState(const std::string& korean, const std::string& english) const {
  services_.stateText.ShowState(korean, english);
}

}  // namespace orves
