#pragma once
// DirectShowStreams: the selectable streams of a filter graph, through the
// first filter in it that exposes IAMStreamSelect (typically the splitter),
// without its text and subtitle streams (the captions show those). A graph
// without one has no streams: count 0, every query empty.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include "player/playback/ComPtr_win32.h"

namespace orves {

class DirectShowStreams {
 public:
  DirectShowStreams() = default;
  // Looks for the stream selector among the graph's filters.
  explicit DirectShowStreams(IFilterGraph* graph);

  bool Available() const { return static_cast<bool>(select_); }
  int Count() const;
  // Out-of-range numbers select nothing and yield "" and false.
  HRESULT Select(int stream);
  std::string Name(int stream) const;
  bool Selected(int stream) const;

 private:
  bool InRange(int stream) const;
  ComPtr<IAMStreamSelect> select_;
  std::vector<LONG> listed_;  // the selector's numbers of the streams listed
};

}  // namespace orves
