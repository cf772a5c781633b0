#include "player/playback/MovieCaptions.h"

#include <algorithm>
#include <optional>

#include "player/core/CaptionNames.h"
#include "player/core/Services.h"

namespace orves {

std::vector<int> ChooseMovieTracks(const std::vector<TMovieTextTrack>& tracks) {
  std::optional<int> korean, english;
  for (int i = 0; i < static_cast<int>(tracks.size()); ++i) {
    const std::optional<TCaptionLanguage> language = LanguageOfTag(tracks[i].language);
    if (language == TCaptionLanguage::Korean && !korean) korean = i;
    if (language == TCaptionLanguage::English && !english) english = i;
  }
  std::vector<int> chosen;
  if (korean) chosen.push_back(*korean);
  if (english) chosen.push_back(*english);
  if (chosen.empty() && tracks.size() == 1) chosen.push_back(0);
  return chosen;
}

TMovieCaptions::TMovieCaptions(IMediaPlayer& player, ICaptions& captions)
    : player_(player), captions_(captions) {}

void TMovieCaptions::Begin() {
  std::vector<TMovieTextTrack> tracks;
  for (int i = 0; i < player_.TextTrackCount(); ++i) tracks.push_back(player_.TextTrack(i));
  wanted_ = ChooseMovieTracks(tracks);
  waiting_ = !wanted_.empty();
  inUse_.clear();
  chosen_ = false;
}

void TMovieCaptions::End() {
  wanted_.clear();
  inUse_.clear();
  waiting_ = false;
  chosen_ = false;
}

void TMovieCaptions::Poll() {
  if (!waiting_) return;
  std::vector<TLoadedTextTrack> loaded;
  for (int track : wanted_) {
    std::optional<std::vector<TMovieTextCue>> cues = player_.TextTrackCues(track);
    if (!cues) return;  // still being read
    loaded.push_back({player_.TextTrack(track), std::move(*cues)});
  }
  waiting_ = false;
  inUse_ = wanted_;
  captions_.LoadMovieTracks(loaded, chosen_);
}

bool TMovieCaptions::InUse(int track) const {
  return std::find(inUse_.begin(), inUse_.end(), track) != inUse_.end();
}

void TMovieCaptions::Choose(int track) {
  if (track < 0 || track >= player_.TextTrackCount()) return;
  // The chosen track goes first, so it takes its table; the tracks shown
  // before fill the other table, if they can.
  std::erase(wanted_, track);
  wanted_.insert(wanted_.begin(), track);
  chosen_ = true;
  waiting_ = true;
  Poll();
}

}  // namespace orves
