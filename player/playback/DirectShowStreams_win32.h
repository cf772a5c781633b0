#pragma once
// DirectShowStreams: the selectable streams of a filter graph, through the
// first filter in it that exposes IAMStreamSelect (typically the splitter).
// A graph without one has no streams: count 0, every query empty.
#include <windows.h>
#include <dshow.h>

#include <string>

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
};

}  // namespace orves
