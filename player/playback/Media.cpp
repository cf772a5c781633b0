#include "player/playback/Media.h"

#include <algorithm>

#include "player/playback/Movie.h"
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

TMedia::TMedia(TSetup& setup) : setup_(setup) {
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

void TMedia::Start() {
  if (links_.movie) links_.movie->FitInnerPanel();
}

void TMedia::Open(const std::string& fileName) {
  Close();
  if (links_.movie) links_.movie->SetFileName(fileName);
  Play();
}

void TMedia::Close() {
  if (!links_.movie) return;
  links_.movie->ClearFileName();
  links_.movie->FitInnerPanel();
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
  if (!(seconds > 0)) seconds = 0;
  if (seconds > duration) seconds = duration;
  if (links_.skin) links_.skin->PlaceThumbs();
  links_.movie->SetPosition(seconds);
  const std::string where = PositionText(seconds) + " / " + PositionText(duration);
  ShowState("이동 : " + where, "MOVE TO : " + where);
}

void TMedia::Reload() {
  if (!links_.movie) return;
  const double position = CurrentPosition();
  const std::string fileName = links_.movie->FileName();
  Close();
  Open(fileName);
  SeekTo(position);
}

bool TMedia::HasPicture() const { return links_.player && links_.player->ImageSourceWidth() != 0; }

double TMedia::CurrentPosition() const { return links_.player ? links_.player->CurrentPosition() : 0.0; }

double TMedia::Duration() const { return links_.player ? links_.player->Duration() : 0.0; }

int TMedia::PlayState() const { return links_.player ? links_.player->PlayState() : kPlayStateStopped; }

void TMedia::ShowState(const std::string& korean, const std::string& english) const {
  if (links_.stateText) links_.stateText->ShowState(korean, english);
}

}  // namespace orves
