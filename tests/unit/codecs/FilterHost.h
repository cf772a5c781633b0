// A small host for the codecs module's filters in native tests: sink pins
// that take what a renderer takes and record what arrives, a graph that
// collects events, and the calls that connect and run a chain.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "codecs/common/StreamMediaType.h"
#include "directshow/base/BaseInputPin.h"
#include "directshow/base/MultiPinFilter.h"

namespace orves::codecs::test {

struct Received {
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  bool timed = false;
  bool discontinuity = false;
  long bytes = 0;
  int colour = -1;  // RGB32 pictures: the colour index of the centre pixel
};

// What a sink pin saw; a new segment starts its samples afresh.
struct SinkState {
  std::vector<Received> samples;
  std::vector<REFERENCE_TIME> segments;
  int endsOfStream = 0;
  int flushes = 0;
};

// Takes the types `accepts` agrees to and records what arrives (on the
// upstream filter's threads).
class SinkPin final : public ds::BaseInputPin {
 public:
  using Accepts = std::function<bool(const AM_MEDIA_TYPE&)>;
  SinkPin(ds::BaseFilter& filter, Accepts accepts);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;

  // What arrived once `done` holds for it; what arrived so far when it does
  // not within 20 s (the caller's checks then fail).
  SinkState WaitUntil(const std::function<bool(const SinkState&)>& done);

 private:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnBeginFlush() override;
  HRESULT OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  Accepts accepts_;
  std::mutex mutex_;
  std::condition_variable changed_;
  SinkState state_;
};

// Types a GDI renderer takes: RGB32 in a VIDEOINFOHEADER.
bool GdiRendererTakes(const AM_MEDIA_TYPE& type);
// Integer PCM.
bool AudioRendererTakes(const AM_MEDIA_TYPE& type);

// Runs, pauses and stops a set of filters in the order they were added:
// downstream first, as the filter graph does.
class Chain {
 public:
  void Add(IBaseFilter* filter) { filters_.push_back(filter); }
  HRESULT Pause();
  HRESULT Run();
  HRESULT Stop();

 private:
  std::vector<IBaseFilter*> filters_;
};

// The output pin `index` of `filter` (no reference), null when none.
IPin* OutputPin(IBaseFilter* filter, int index = 0);
IPin* InputPin(IBaseFilter* filter);

}  // namespace orves::codecs::test
