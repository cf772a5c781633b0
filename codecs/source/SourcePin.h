// One output pin of Orves Source: one stream's compressed packets, delivered
// from the stream's queue on the pin's own thread, with IMediaSeeking that
// goes to the filter.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "codecs/common/MediaPacket.h"
#include "codecs/common/StreamFormat.h"
#include "directshow/base/BaseOutputPin.h"

namespace orves::codecs {

class SourceFilter;

class SourcePin final : public ds::BaseOutputPin, public IMediaSeeking {
 public:
  SourcePin(ds::BaseFilter& filter, SourceFilter& source, const StreamInfo& stream, const ds::MediaType& type,
            const std::wstring& name);
  ~SourcePin() override;

  DS_IUNKNOWN_FROM(ds::BaseOutputPin)

  // IMediaSeeking, in REFERENCE_TIME (TIME_FORMAT_MEDIA_TIME) only.
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                              const GUID* sourceFormat) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double* rate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* preroll) override;

  // The one type the pin offers and accepts: its stream's.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT GetMediaType(int position, ds::MediaType& type) override;
  // Stops delivering before the allocator is decommitted.
  HRESULT Inactive() override;

  const StreamInfo& Stream() const { return stream_; }

  // Delivers on the pin's thread: a new segment, then the stream's packets
  // (times counted from `segmentStart`) until the stream ends or
  // StopDelivery. A stream whose queue is inactive ends at once.
  void StartDelivery(REFERENCE_TIME segmentStart, REFERENCE_TIME stop, double rate);
  // Ends the thread. The queues must be interrupted, so that it is not
  // waiting for a packet; a thread waiting for a buffer is released by
  // decommitting the allocator, which is committed again afterwards.
  void StopDelivery();

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  void DeliverPackets(REFERENCE_TIME segmentStart, REFERENCE_TIME stop, double rate);
  // False when the stream should stop (downstream refuses, stopping).
  bool DeliverPacket(const MediaPacket& packet, REFERENCE_TIME segmentStart);

  SourceFilter& source_;
  const StreamInfo stream_;
  ds::MediaType type_;
  std::thread thread_;
  std::atomic<bool> stopping_ = false;
  bool afterDrop_ = false;  // a packet was dropped: the next one is a discontinuity
};

}  // namespace orves::codecs
