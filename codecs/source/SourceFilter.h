// Orves Source: a file source and splitter in one. Load opens the file with
// the libavformat demuxer and adds one output pin per video and audio stream
// the codec table knows; a worker thread fills the pins' bounded queues and
// each pin delivers from its queue on a thread of its own.
//
// Seeking (IMediaSeeking on the pins, acted on through one pin: the first
// connected video pin, else the first connected audio pin) flushes
// downstream, moves the worker to the key frame before the target and starts
// a new segment at the target; the decoders drop what comes before it.
// IAMStreamSelect lists the audio tracks (group 1, one selected) and the
// text tracks (group 2); a pin whose stream is not selected ends its stream
// at once. IOrvesTextTracks hands out the text tracks' cues.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "codecs/common/StreamQueues.h"
#include "codecs/source/DemuxWorker.h"
#include "interfaces/OrvesCodecs.h"
#include "codecs/source/TextTrackReader.h"
#include "directshow/base/MultiPinFilter.h"

namespace orves::codecs {

class SourcePin;

class SourceFilter final : public ds::MultiPinFilter,
                           public IFileSourceFilter,
                           public IAMStreamSelect,
                           public IOrvesTextTracks {
 public:
  SourceFilter();
  ~SourceFilter() override;

  DS_IUNKNOWN_FROM(ds::MultiPinFilter)

  // IBaseFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;

  // IFileSourceFilter: VFW_E_UNKNOWN_FILE_TYPE for what the demuxer cannot
  // open, VFW_E_UNSUPPORTED_STREAM for a file without a stream to play.
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) override;

  // IAMStreamSelect
  HRESULT STDMETHODCALLTYPE Count(DWORD* streams) override;
  HRESULT STDMETHODCALLTYPE Info(LONG index, AM_MEDIA_TYPE** type, DWORD* flags, LCID* lcid, DWORD* group,
                                 WCHAR** name, IUnknown** object, IUnknown** unknown) override;
  HRESULT STDMETHODCALLTYPE Enable(LONG index, DWORD flags) override;

  // IOrvesTextTracks
  HRESULT STDMETHODCALLTYPE GetTrackCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetTrackInfo(LONG track, LPWSTR* name, LPWSTR* language, LPWSTR* title) override;
  HRESULT STDMETHODCALLTYPE GetCues(LONG track, OrvesTextCue** cues, LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetScriptHeader(LONG track, char** header) override;
  HRESULT STDMETHODCALLTYPE GetTrackMarkup(LONG track, LONG* markup) override;

  // What the pins' IMediaSeeking asks of the filter.
  REFERENCE_TIME Duration() const { return duration_; }
  REFERENCE_TIME CurrentPosition();
  REFERENCE_TIME StopPosition();
  double Rate();
  // From `pin`: the seeking pin moves the position (and the stop); the others
  // only the stop.
  HRESULT SetPositions(const SourcePin& pin, REFERENCE_TIME* current, DWORD currentFlags,
                       REFERENCE_TIME* stop, DWORD stopFlags);
  HRESULT SetRate(double rate);

  StreamQueues& Queues() { return *queues_; }

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  // The seeking pin: first connected video pin, else first connected audio pin.
  const SourcePin* SeekingPin();
  // Which streams the worker queues: connected pins of selected streams.
  void UpdateActiveStreams();
  // Flushes downstream, moves reading to `position` and delivers again from
  // there (filter lock held, filter paused or running).
  void Reposition(REFERENCE_TIME position);
  void StartDelivery();
  void StopDelivery();
  REFERENCE_TIME StreamTime();
  const StreamInfo* SelectableStream(LONG index, DWORD* group);

  std::wstring fileName_;
  std::unique_ptr<Demuxer> demuxer_;
  std::unique_ptr<StreamQueues> queues_;
  std::unique_ptr<DemuxWorker> worker_;
  std::unique_ptr<TextTrackReader> textReader_;
  std::vector<SourcePin*> pins_;  // owned by MultiPinFilter
  std::vector<int> audioStreams_;
  std::vector<int> textStreams_;
  int selectedAudio_ = -1;
  int selectedText_ = -1;

  REFERENCE_TIME duration_ = 0;
  REFERENCE_TIME segmentStart_ = 0;  // where the current segment (and the next start) begins
  REFERENCE_TIME stop_ = 0;
  double rate_ = 1.0;
  REFERENCE_TIME pausedStreamTime_ = 0;  // stream time where a running graph paused
};

}  // namespace orves::codecs
