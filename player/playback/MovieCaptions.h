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
  // Whether `track` is one of those handed to the captions.
  bool InUse(int track) const;

 private:
  IMediaPlayer& player_;
  ICaptions& captions_;
  std::vector<int> wanted_;  // the tracks to show, the one to show first first
  std::vector<int> inUse_;   // the tracks handed over last
  bool waiting_ = false;
  bool chosen_ = false;  // wanted_ starts with a track chosen in the menu
};

}  // namespace orves
