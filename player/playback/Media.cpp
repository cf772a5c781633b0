#include "player/playback/Media.h"

#include <algorithm>

#include "player/playback/Movie.h"
#include "player/playback/PictureFit.h"
#include "player/playback/TimeText.h"
#include "player/shell/Setup.h"

namespace orves {

namespace {
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

TMedia::TMedia(TSetup& setup)
    : setup_(setup), bookmarks_(setup.Path().parent_path() / TBookmarks::FileName) {
  shortStep_ = setup_.ReadInteger(Section, "FFSpaceTime", 10);
  longStep_ = setup_.ReadInteger(Section, "FFSpaceTime2", 60);
  useBookmarks_ = setup_.ReadFlag(Section, "DoBookMark", true);
  captionsOn_ = setup_.ReadFlag(Section, "CaptionEnabled", true);
  addToRecent_ = setup_.ReadFlag(Section, "AddToRecent", true);
}

TMedia::~TMedia() {
  setup_.WriteInteger(Section, "FFSpaceTime", shortStep_);
  setup_.WriteInteger(Section, "FFSpaceTime2", longStep_);
  setup_.WriteFlag(Section, "DoBookMark", useBookmarks_);
  setup_.WriteFlag(Section, "CaptionEnabled", captionsOn_);
  setup_.WriteFlag(Section, "AddToRecent", addToRecent_);
}

void TMedia::Start() { FitPicture(); }

void TMedia::Open(const std::string& fileName, const std::string& captionFileName) {
  Close();
  if (links_.captions && !captionFileName.empty()) links_.captions->LoadCaptionFile(captionFileName);
  if (links_.movie) links_.movie->SetFileName(fileName);
  Play();
}

void TMedia::Close() {
  // The bookmark is taken while the movie is still open, before anything stops it.
  SaveBookmark();
  if (links_.movie) links_.movie->ClearFileName();
  if (links_.captions) links_.captions->ClearCaptions();
  FitPicture();
}

void TMedia::Play() {
  if (!links_.movie || links_.movie->FileName().empty()) return;
  links_.movie->Play();
  ShowPlayingMessage();
}

void TMedia::ShowPlayingMessage() const {
  if (!links_.movie) return;
  const int index = links_.playList ? links_.playList->ItemIndex() + 1 : 1;
  const int count = links_.playList ? links_.playList->Count() : 1;
  const std::string tail =
      "(" + std::to_string(index) + "/" + std::to_string(count) + ") \"" + ShortName(links_.movie->FileName()) + "\"";
  ShowState("재생 : " + tail, "PLAYING : " + tail);
}

void TMedia::Pause() {
  if (!HasPicture() || !links_.movie) return;
  links_.movie->Pause();
  ShowState("일시정지", "PAUSED");
}

void TMedia::Stop() {
  if (links_.movie) links_.movie->Stop();
}

void TMedia::SeekTo(double seconds) {
  if (!HasPicture() || !links_.movie) return;
  const double duration = Duration();
  if (!(seconds > 0)) seconds = 0;  // NaN too
  if (seconds > duration) seconds = duration;
  if (links_.skin) links_.skin->PlaceThumbs();
  links_.movie->SetPosition(seconds);
  if (links_.captions) links_.captions->UpdateCaption();
  const std::string where = PositionText(seconds) + " / " + PositionText(duration);
  ShowState("이동 : " + where, "MOVE TO : " + where);
}

void TMedia::ToggleCaption() {
  captionsOn_ = !captionsOn_;
  if (links_.captions) links_.captions->UpdateCaption();
  // The caption band below the picture comes or goes: the window follows.
  if (links_.layout) links_.layout->ResizeKeepingAspect();
  if (captionsOn_) {
    ShowState("자막 : ON", "CAPTION : ON");
  } else {
    ShowState("자막 : OFF", "CAPTION : OFF");
  }
}

void TMedia::SetSpeed(int percent) {
  speed_ = std::clamp(percent, kMinSpeed, kMaxSpeed);
  if (links_.player) links_.player->SetRate(speed_ * 0.01);
  const std::string value = std::to_string(speed_) + " %";
  ShowState("재생 속도 : " + value, "PLAYING SPEED : " + value);
}

void TMedia::Reload() {
  if (!links_.movie) return;
  const double position = CurrentPosition();
  const std::string fileName = links_.movie->FileName();
  const std::string captionFileName = links_.captions ? links_.captions->CaptionFileName() : std::string();
  Close();
  Open(fileName, captionFileName);
  SeekTo(position);
}

void TMedia::ResumeBookmark() {
  if (!useBookmarks_ || !links_.movie || !bookmarks_.Exists()) return;
  SeekTo(bookmarks_.Read(links_.movie->FileName()) - kResumeLead);
}

void TMedia::SaveBookmark() {
  if (!useBookmarks_ || !links_.movie || !HasPicture()) return;
  const double position = CurrentPosition();
  // A movie watched to its end starts from the beginning next time.
  bookmarks_.Write(links_.movie->FileName(), position == Duration() ? 0.0 : position);
}

int TMedia::DisplayWidth() const { return links_.movie ? links_.movie->VisibleWidth() : 1; }

int TMedia::DisplayHeight() const {
  const int source = links_.movie ? links_.movie->SourceHeight() : 1;
  return captionsOn_ && HasCaptions() ? source + links_.captions->CaptionBand() : source;
}

bool TMedia::HasCaptions() const { return links_.captions && links_.captions->HasCaptions(); }

void TMedia::FitPicture(bool force) {
  IMediaPanels* panels = links_.panels;
  if (!panels) {
    // Not linked yet: only the control's own panel is refit.
    if (links_.movie) links_.movie->FitInnerPanel();
    return;
  }
  if (!panels->MovieVisible() && !force) return;
  PictureFitInput in;
  in.mediaWidth = panels->MediaPanelWidth();
  in.mediaHeight = panels->MediaPanelHeight();
  in.margin = kMargin;
  in.fullScreen = links_.layout && links_.layout->IsFullScreen();
  in.hasPicture = HasPicture();
  in.displayWidth = DisplayWidth();
  in.displayHeight = DisplayHeight();
  in.sourceHeight = links_.movie ? links_.movie->SourceHeight() : 1;
  in.captionRise = links_.captions ? links_.captions->CaptionRise() : 0;
  in.captionBand = links_.captions ? links_.captions->CaptionBand() : 0;
  if (in.fullScreen && !links_.layout->FullScreenBarAlwaysShown()) {
    in.stateTextTop = links_.layout->FullScreenBarHeight();
  }
  const PictureFit fit = FitPictureBounds(in);
  panels->SetMovieBounds(fit.movie.left, fit.movie.top, fit.movie.width, fit.movie.height);
  if (links_.movie) links_.movie->FitInnerPanel();
  panels->SetCaptionBounds(fit.caption.left, fit.caption.top, fit.caption.width, fit.caption.height);
  if (in.hasPicture && links_.captions) links_.captions->UpdateCaption();
  panels->SetStateTextBounds(fit.stateText.left, fit.stateText.top, fit.stateText.width, fit.stateText.height);
  if (links_.layout) links_.layout->ArrangePlayListPanel();
}

bool TMedia::HasPicture() const { return links_.player && links_.player->ImageSourceWidth() != 0; }

double TMedia::CurrentPosition() const { return links_.player ? links_.player->CurrentPosition() : 0.0; }

double TMedia::Duration() const { return links_.player ? links_.player->Duration() : 0.0; }

int TMedia::PlayState() const { return links_.player ? links_.player->PlayState() : kPlayStateStopped; }

void TMedia::ShowState(const std::string& korean, const std::string& english) const {
  if (links_.stateText) links_.stateText->ShowState(korean, english);
}

}  // namespace orves
