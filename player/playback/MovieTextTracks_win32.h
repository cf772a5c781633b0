#pragma once
// MovieTextTracks: the text subtitle tracks of the movie in a filter graph,
// through the first filter in it that offers IOrvesTextTracks (our source).
// A graph without one has no text tracks.
#include <windows.h>
#include <dshow.h>

#include <optional>
#include <vector>

#include "interfaces/OrvesCodecs.h"
#include "player/core/MediaPlayer.h"
#include "player/playback/ComPtr_win32.h"

namespace orves {

class MovieTextTracks {
 public:
  MovieTextTracks() = default;
  explicit MovieTextTracks(IFilterGraph* graph);

  int Count() const;
  // An empty track for numbers out of range.
  TMovieTextTrack Track(int track) const;
  // Nothing while the source still reads the cues; an empty list for a
  // track it cannot give.
  std::optional<std::vector<TMovieTextCue>> Cues(int track) const;

 private:
  ComPtr<IOrvesTextTracks> tracks_;
};

}  // namespace orves
