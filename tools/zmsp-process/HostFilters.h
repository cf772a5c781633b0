// A small host for the sound processor outside a real filter graph: a graph
// object, a pushing source, a collecting sink, a stand-in for the file
// source and the pins they use. zmsp-process runs WAV files through the
// real filter with them; the unit tests drive the filter's interfaces with them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "directshow/base/BaseInputPin.h"
#include "directshow/base/BaseOutputPin.h"
#include "directshow/base/MultiPinFilter.h"
#include "directshow/com/DirectShowApi.h"
#include "soundproc/contract/DirectShowNames.h"

namespace zmsp::host {

// A filter with any number of pins, each added by the owner.
using HostFilter = ds::MultiPinFilter;

// The media type a host pin proposes, and the types it accepts: exactly
// those with its major type and subtype (any type when it has none).
class OfferedType {
 public:
  explicit OfferedType(const AM_MEDIA_TYPE* type);
  HRESULT Check(const AM_MEDIA_TYPE* type) const;
  HRESULT Get(int position, MediaType& type) const;

 private:
  MediaType offered_;
  bool hasOffer_ = false;
};

// A pin with no transport: a connection point for graph walks.
class HostPin : public ds::BasePin {
 public:
  HostPin(ds::BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction,
          const AM_MEDIA_TYPE* type = nullptr);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return offer_.Check(type); }
  HRESULT GetMediaType(int position, MediaType& type) override { return offer_.Get(position, type); }

 private:
  OfferedType offer_;
};

// Output pin that pushes buffers downstream through IMemInputPin.
class SourcePin final : public ds::BaseOutputPin {
 public:
  SourcePin(ds::BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE& type, LONG bufferSize);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return offer_.Check(type); }
  HRESULT GetMediaType(int position, MediaType& type) override { return offer_.Get(position, type); }

  // One sample of `bytes`; `type` is attached when given; times when start >= 0.
  HRESULT Push(const std::uint8_t* bytes, std::size_t length, const AM_MEDIA_TYPE* type = nullptr,
               REFERENCE_TIME start = -1, REFERENCE_TIME stop = -1);
  // Delivers one sample whose bytes `fill` writes: fill(data, length) gets
  // the buffer and its size in `length`, leaves the number of bytes written
  // there and returns the sample's start and stop times. An empty sample is
  // not delivered.
  HRESULT PushFilled(
      const std::function<std::pair<REFERENCE_TIME, REFERENCE_TIME>(std::uint8_t*, std::size_t&)>& fill);
  HRESULT PushEndOfStream() { return DeliverEndOfStream(); }
  LONG BufferSize() const { return bufferSize_; }

 private:
  // Two buffers of the pin's buffer size.
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

  OfferedType offer_;
  LONG bufferSize_;
};

// What a sink saw of one sample.
struct ReceivedSample {
  std::vector<std::uint8_t> data;
  bool hasType = false;
  MediaType type;
  bool hasTime = false;
  REFERENCE_TIME start = 0, stop = 0;
  bool syncPoint = false, discontinuity = false;
  IMediaSample* identity = nullptr;  // for identity checks only, not a reference
};

// Input pin that records every sample it receives.
class SinkPin final : public ds::BaseInputPin {
 public:
  SinkPin(ds::BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE* type = nullptr);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return offer_.Check(type); }
  HRESULT GetMediaType(int position, MediaType& type) override { return offer_.Get(position, type); }

  // Offers `offeredAllocator` when set; otherwise the upstream pin brings its own.
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_FALSE; }

  // Recorded when no consumer is set.
  std::vector<ReceivedSample> received;
  // When set, every sample goes to it instead of being recorded; its result
  // is Receive's.
  std::function<HRESULT(IMediaSample*)> consume;
  bool endOfStream = false;
  IMemAllocator* offeredAllocator = nullptr;
  // Result Receive returns (to test error propagation).
  HRESULT receiveResult = S_OK;

 private:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;

  OfferedType offer_;
};

// Stand-in for the graph's file source: a filter of the given class that
// answers IFileSourceFilter with a fixed name.
class FileSourceStub final : public HostFilter, public IFileSourceFilter {
 public:
  FileSourceStub(const CLSID& classId, std::wstring fileName);
  DS_IUNKNOWN_FROM(HostFilter)
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) override;

  HRESULT curFileResult = S_OK;  // a failure to report instead of the name

 private:
  IUnknown* FindInterface(REFIID riid) override;

  std::wstring fileName_;
};

// A filter graph of our own: holds its filters, hands them out through
// EnumFilters and records the events filters send.
class HostGraph final : public ComObject<IFilterGraph, IMediaEventSink> {
 public:
  static ComPtr<HostGraph> Create();

  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override;
  HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters** filters) override;
  HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Reconnect(IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) override;
  HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override { return S_OK; }

  HRESULT STDMETHODCALLTYPE Notify(LONG eventCode, LONG_PTR, LONG_PTR) override;

  // Pause (and run) or stop every filter.
  HRESULT Run();
  HRESULT Stop();
  // Removes every filter (breaking their back pointers) before release.
  void Clear();

  std::vector<LONG> events;
  HRESULT enumResult = S_OK;  // a failure EnumFilters reports instead

 private:
  HostGraph() = default;
  ~HostGraph() override;
  IUnknown* FindInterface(REFIID riid) override;

  std::vector<IBaseFilter*> filters_;
};

// PCM media types for the host's pins.
MediaType PcmType(std::uint16_t formatTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                  std::uint32_t channelMask = 0);
// An audio type with the given subtype, as a decoder's input would carry.
MediaType AudioSubtype(const GUID& subtype, const GUID& majorType);

}  // namespace zmsp::host
