#pragma once
// TMovieCaptions: the captions a movie carries inside it, shown when it was
// opened without a caption file. At open it picks the tracks to show (the
// first Korean-tagged one, the first English-tagged one, or a lone track of
// neither, which its texts place) and hands them to the captions once the
// player has read their cues, apart from playback. The caption menu lists
// every track; the one chosen there is shown, in the table its tag or texts
// name, beside the track of the other table.
#include <vector>

#include "player/core/MediaPlayer.h"

namespace orves {

class ICaptions;

// The tracks shown at open, Korean first: indexes into `tracks`.
std::vector<int> ChooseMovieTracks(const std::vector<TMovieTextTrack>& tracks);

class TMovieCaptions {
 public:
  TMovieCaptions(IMediaPlayer& player, ICaptions& captions);

  // The movie just opened has no caption file: pick its tracks.
  void Begin();
  // The movie closed: nothing is waited for any more.
  void End();
  // On the timer: hands the tracks over once all their cues are read.
  void Poll();
  // Shows track `track` of the open movie (the caption menu).
  void Choose(int track);
  // The track chosen last in the caption menu, else -1.
  int Chosen() const { return chosen_; }

 private:
  IMediaPlayer& player_;
  ICaptions& captions_;
  std::vector<int> wanted_;  // the tracks to show, the one to show first first
  bool waiting_ = false;
  int chosen_ = -1;
};

}  // namespace orves
