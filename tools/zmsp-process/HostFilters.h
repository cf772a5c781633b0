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

#include "soundproc/contract/DirectShowApi.h"
#include "soundproc/contract/MediaTypes.h"
#include "soundproc/frame/base/BaseFilter.h"
#include "soundproc/frame/base/BasePin.h"
#include "soundproc/contract/ComPtr.h"

namespace zmsp::host {

// A filter with any number of pins, each added by the owner.
class HostFilter : public BaseFilter {
 public:
  HostFilter(const CLSID& classId, const wchar_t* name) : BaseFilter(classId, name) {}
  int GetPinCount() override { return static_cast<int>(pins_.size()); }
  BasePin* GetPin(int index) override {
    return index >= 0 && index < GetPinCount() ? pins_[static_cast<std::size_t>(index)].get() : nullptr;
  }
  template <typename Pin, typename... Args>
  Pin& AddPin(Args&&... args) {
    auto pin = std::make_unique<Pin>(*this, std::forward<Args>(args)...);
    Pin& added = *pin;
    pins_.push_back(std::move(pin));
    return added;
  }

 private:
  std::vector<std::unique_ptr<BasePin>> pins_;
};

// A pin that proposes one media type and accepts exactly types with its
// major type and subtype (any type when it has none).
class HostPin : public BasePin {
 public:
  HostPin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction,
          const AM_MEDIA_TYPE* type = nullptr);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT GetMediaType(int position, MediaType& type) override;

 protected:
  MediaType offered_;
  bool hasOffer_ = false;
};

// Output pin that pushes buffers downstream through IMemInputPin.
class SourcePin final : public HostPin {
 public:
  SourcePin(BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE& type, LONG bufferSize);
  ~SourcePin();
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // One sample of `bytes`; `type` is attached when given; times when start >= 0.
  HRESULT Push(const std::uint8_t* bytes, std::size_t length, const AM_MEDIA_TYPE* type = nullptr,
               REFERENCE_TIME start = -1, REFERENCE_TIME stop = -1);
  // Delivers one sample whose bytes `fill` writes: fill(data, length) gets
  // the buffer and its size in `length`, leaves the number of bytes written
  // there and returns the sample's start and stop times. An empty sample is
  // not delivered.
  HRESULT PushFilled(
      const std::function<std::pair<REFERENCE_TIME, REFERENCE_TIME>(std::uint8_t*, std::size_t&)>& fill);
  HRESULT PushEndOfStream();
  LONG BufferSize() const { return bufferSize_; }
  IMemAllocator* Allocator() const { return allocator_; }

 private:
  LONG bufferSize_;
  IMemInputPin* downstream_ = nullptr;
  IMemAllocator* allocator_ = nullptr;
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
class SinkPin final : public HostPin, public IMemInputPin {
 public:
  SinkPin(BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE* type = nullptr);
  ~SinkPin() override;

  ZMSP_IUNKNOWN_FROM(HostPin)
  HRESULT STDMETHODCALLTYPE EndOfStream() override;

  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_FALSE; }

  // Recorded when no consumer is set.
  std::vector<ReceivedSample> received;
  // When set, every sample goes to it instead of being recorded; its result
  // is Receive's.
  std::function<HRESULT(IMediaSample*)> consume;
  bool endOfStream = false;
  // Offered by GetAllocator when set (otherwise the upstream pin brings its own).
  IMemAllocator* offeredAllocator = nullptr;
  // Result Receive returns (to test error propagation).
  HRESULT receiveResult = S_OK;

 private:
  IUnknown* FindInterface(REFIID riid) override;

  IMemAllocator* notified_ = nullptr;
};

// Stand-in for the graph's file source: a filter of the given class that
// answers IFileSourceFilter with a fixed name.
class FileSourceStub final : public HostFilter, public IFileSourceFilter {
 public:
  FileSourceStub(const CLSID& classId, std::wstring fileName);
  ZMSP_IUNKNOWN_FROM(HostFilter)
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
