#include "tools/zmsp-process/HostFilters.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/SampleHelpers.h"
#include "soundproc/frame/base/MemAllocator.h"

namespace zmsp::host {

// ------------------------------------------------------------------- HostPin

HostPin::HostPin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction, const AM_MEDIA_TYPE* type)
    : BasePin(filter, name, direction) {
  if (type != nullptr) hasOffer_ = offered_.Set(*type);
}

HRESULT HostPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  if (!hasOffer_) return S_OK;
  return guids::Same(type->majortype, offered_.Get().majortype) &&
                 guids::Same(type->subtype, offered_.Get().subtype)
             ? S_OK
             : S_FALSE;
}

HRESULT HostPin::GetMediaType(int position, MediaType& type) {
  if (position != 0 || !hasOffer_) return VFW_S_NO_MORE_ITEMS;
  type = offered_;
  return S_OK;
}

// ----------------------------------------------------------------- SourcePin

SourcePin::SourcePin(BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE& type, LONG bufferSize)
    : HostPin(filter, name, PINDIR_OUTPUT, &type), bufferSize_(bufferSize) {}

SourcePin::~SourcePin() { BreakConnect(); }

HRESULT SourcePin::CompleteConnect(IPin* receivePin) {
  ComPtr<IMemInputPin> input;
  if (FAILED(receivePin->QueryInterface(IID_IMemInputPin, input.PutVoid()))) return VFW_E_NO_TRANSPORT;
  ComPtr<IMemAllocator> allocator;
  HRESULT hr = input->GetAllocator(allocator.Put());
  if (FAILED(hr)) {
    allocator = ComPtr<IMemAllocator>::Adopt(MemAllocator::Create());
    if (!allocator) return E_OUTOFMEMORY;
  }
  ALLOCATOR_PROPERTIES request{2, bufferSize_, 1, 0}, actual{};
  hr = allocator->SetProperties(&request, &actual);
  if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator.Get(), FALSE);
  if (FAILED(hr)) return hr;
  allocator_ = allocator.Detach();
  downstream_ = input.Detach();
  return S_OK;
}

HRESULT SourcePin::BreakConnect() {
  if (allocator_ != nullptr) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (downstream_ != nullptr) {
    downstream_->Release();
    downstream_ = nullptr;
  }
  return S_OK;
}

HRESULT SourcePin::Active() { return allocator_ != nullptr ? allocator_->Commit() : S_OK; }
HRESULT SourcePin::Inactive() { return allocator_ != nullptr ? allocator_->Decommit() : S_OK; }

HRESULT SourcePin::Push(const std::uint8_t* bytes, std::size_t length, const AM_MEDIA_TYPE* type,
                        REFERENCE_TIME start, REFERENCE_TIME stop) {
  if (downstream_ == nullptr || allocator_ == nullptr) return VFW_E_NOT_CONNECTED;
  ComPtr<IMediaSample> sample;
  HRESULT hr = allocator_->GetBuffer(sample.Put(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  if (static_cast<LONGLONG>(length) > sample->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  if (length > 0) std::memcpy(data, bytes, length);
  sample->SetActualDataLength(static_cast<LONG>(length));
  if (start >= 0) sample->SetTime(&start, stop >= 0 ? &stop : nullptr);
  sample->SetSyncPoint(TRUE);
  if (type != nullptr) sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(type));
  return downstream_->Receive(sample.Get());
}

HRESULT SourcePin::PushFilled(
    const std::function<std::pair<REFERENCE_TIME, REFERENCE_TIME>(std::uint8_t*, std::size_t&)>& fill) {
  if (downstream_ == nullptr || allocator_ == nullptr) return VFW_E_NOT_CONNECTED;
  ComPtr<IMediaSample> sample;
  HRESULT hr = allocator_->GetBuffer(sample.Put(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  std::size_t length = static_cast<std::size_t>(std::max<LONG>(sample->GetSize(), 0));
  auto [start, stop] = fill(data, length);
  if (length == 0) return S_OK;
  sample->SetActualDataLength(static_cast<LONG>(length));
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  return downstream_->Receive(sample.Get());
}

HRESULT SourcePin::PushEndOfStream() {
  return connected_ != nullptr ? connected_->EndOfStream() : VFW_E_NOT_CONNECTED;
}

// ------------------------------------------------------------------- SinkPin

SinkPin::SinkPin(BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE* type)
    : HostPin(filter, name, PINDIR_INPUT, type) {}

SinkPin::~SinkPin() {
  if (notified_ != nullptr) notified_->Release();
}

IUnknown* SinkPin::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<SinkPin> kInterfaces[] = {
      Implements<SinkPin, IPin>(IID_IPin),
      Implements<SinkPin, IMemInputPin>(IID_IMemInputPin),
  };
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT SinkPin::EndOfStream() {
  endOfStream = true;
  return S_OK;
}

HRESULT SinkPin::GetAllocator(IMemAllocator** allocator) {
  if (allocator == nullptr) return E_POINTER;
  *allocator = offeredAllocator;
  if (offeredAllocator == nullptr) return VFW_E_NO_ALLOCATOR;
  offeredAllocator->AddRef();
  return S_OK;
}

HRESULT SinkPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
  if (allocator == nullptr) return E_POINTER;
  allocator->AddRef();
  if (notified_ != nullptr) notified_->Release();
  notified_ = allocator;
  return S_OK;
}

HRESULT SinkPin::Receive(IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  if (consume) return consume(sample);
  ReceivedSample seen;
  BYTE* data = nullptr;
  if (SUCCEEDED(sample->GetPointer(&data)) && sample->GetActualDataLength() > 0) {
    seen.data.assign(data, data + sample->GetActualDataLength());
  }
  TakenMediaType type(sample);
  seen.hasType = static_cast<bool>(type);
  if (type) seen.type.Set(*type.Get());
  seen.hasTime = SUCCEEDED(sample->GetTime(&seen.start, &seen.stop));
  seen.syncPoint = sample->IsSyncPoint() == S_OK;
  seen.discontinuity = sample->IsDiscontinuity() == S_OK;
  seen.identity = sample;
  received.push_back(std::move(seen));
  return receiveResult;
}

HRESULT SinkPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) {
  if (samples == nullptr || processed == nullptr) return E_POINTER;
  for (*processed = 0; *processed < count; ++*processed) {
    HRESULT hr = Receive(samples[*processed]);
    if (hr != S_OK) return hr;
  }
  return S_OK;
}

// ------------------------------------------------------------ FileSourceStub

FileSourceStub::FileSourceStub(const CLSID& classId, std::wstring fileName)
    : HostFilter(classId, L"File Source"), fileName_(std::move(fileName)) {}

IUnknown* FileSourceStub::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<FileSourceStub> kInterfaces[] = {
      Implements<FileSourceStub, IBaseFilter>(IID_IBaseFilter),
      Implements<FileSourceStub, IFileSourceFilter>(IID_IFileSourceFilter),
  };
  if (IUnknown* found = FindInTable(*this, kInterfaces, riid)) return found;
  return HostFilter::FindInterface(riid);
}

HRESULT FileSourceStub::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) {
  if (fileName == nullptr) return E_POINTER;
  *fileName = nullptr;
  if (FAILED(curFileResult)) return curFileResult;
  const std::size_t bytes = (fileName_.size() + 1) * sizeof(wchar_t);
  *fileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (*fileName == nullptr) return E_OUTOFMEMORY;
  std::memcpy(*fileName, fileName_.c_str(), bytes);
  if (type != nullptr) std::memset(type, 0, sizeof(*type));
  return S_OK;
}

// ----------------------------------------------------------------- HostGraph

namespace {

class FilterEnumerator final : public ComObject<IEnumFilters> {
 public:
  explicit FilterEnumerator(std::vector<IBaseFilter*> filters) : filters_(std::move(filters)) {
    for (IBaseFilter* f : filters_) f->AddRef();
  }
  ~FilterEnumerator() override {
    for (IBaseFilter* f : filters_) f->Release();
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IBaseFilter** filters, ULONG* fetched) override {
    if (filters == nullptr) return E_POINTER;
    ULONG done = 0;
    while (done < count && position_ < filters_.size()) {
      filters[done] = filters_[position_++];
      filters[done]->AddRef();
      ++done;
    }
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    position_ += count;
    return position_ <= filters_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFilters**) override { return E_NOTIMPL; }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<FilterEnumerator> kInterfaces[] = {
        Implements<FilterEnumerator, IEnumFilters>(IID_IEnumFilters)};
    return FindInTable(*this, kInterfaces, riid);
  }

  std::vector<IBaseFilter*> filters_;
  std::size_t position_ = 0;
};

}  // namespace

ComPtr<HostGraph> HostGraph::Create() { return ComPtr<HostGraph>::Adopt(new HostGraph()); }

HostGraph::~HostGraph() { Clear(); }

IUnknown* HostGraph::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<HostGraph> kInterfaces[] = {
      Implements<HostGraph, IFilterGraph>(IID_IFilterGraph),
      Implements<HostGraph, IMediaEventSink>(IID_IMediaEventSink),
  };
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT HostGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
  if (filter == nullptr) return E_POINTER;
  HRESULT hr = filter->JoinFilterGraph(this, name);
  if (FAILED(hr)) return hr;
  filter->AddRef();
  filters_.push_back(filter);
  return S_OK;
}

HRESULT HostGraph::RemoveFilter(IBaseFilter* filter) {
  auto found = std::find(filters_.begin(), filters_.end(), filter);
  if (found == filters_.end()) return VFW_E_NOT_FOUND;
  filters_.erase(found);
  filter->JoinFilterGraph(nullptr, nullptr);
  filter->Release();
  return S_OK;
}

HRESULT HostGraph::EnumFilters(IEnumFilters** filters) {
  if (filters == nullptr) return E_POINTER;
  *filters = nullptr;
  if (FAILED(enumResult)) return enumResult;
  *filters = new (std::nothrow) FilterEnumerator(filters_);
  return *filters != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT HostGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* type) {
  if (out == nullptr || in == nullptr) return E_POINTER;
  return out->Connect(in, type);
}

HRESULT HostGraph::Disconnect(IPin* pin) { return pin != nullptr ? pin->Disconnect() : E_POINTER; }

HRESULT HostGraph::Notify(LONG eventCode, LONG_PTR, LONG_PTR) {
  events.push_back(eventCode);
  return S_OK;
}

HRESULT HostGraph::Run() {
  // Downstream filters first, as a graph does; our filters are added upstream first.
  for (auto it = filters_.rbegin(); it != filters_.rend(); ++it) {
    HRESULT hr = (*it)->Run(0);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT HostGraph::Stop() {
  HRESULT result = S_OK;
  for (auto it = filters_.rbegin(); it != filters_.rend(); ++it) {
    HRESULT hr = (*it)->Stop();
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

void HostGraph::Clear() {
  Stop();
  // Disconnect every pin so that no filter keeps another alive.
  for (IBaseFilter* filter : filters_) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put()))) continue;
    for (;;) {
      ComPtr<IPin> pin;
      ULONG fetched = 0;
      if (pins->Next(1, pin.Put(), &fetched) != S_OK || fetched != 1) break;
      pin->Disconnect();
    }
  }
  while (!filters_.empty()) RemoveFilter(filters_.back());
}

// --------------------------------------------------------------------- types

MediaType PcmType(std::uint16_t formatTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                  std::uint32_t channelMask) {
  WAVEFORMATEXTENSIBLE wave{};
  wave.Format.wFormatTag = formatTag;
  wave.Format.nChannels = channels;
  wave.Format.nSamplesPerSec = rate;
  wave.Format.wBitsPerSample = bits;
  wave.Format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  wave.Format.nAvgBytesPerSec = rate * wave.Format.nBlockAlign;
  const bool extensible = formatTag == 0xFFFE;
  wave.Format.cbSize = extensible ? 22 : 0;
  wave.Samples.wValidBitsPerSample = bits;
  wave.dwChannelMask = channelMask;
  wave.SubFormat = guids::kKsDataFormatSubtypePcm;

  AM_MEDIA_TYPE type{};
  type.majortype = guids::kMediaTypeAudio;
  type.subtype = guids::kSubtypePcm;
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = wave.Format.nBlockAlign;
  type.formattype = guids::kFormatWaveFormatEx;
  type.cbFormat = extensible ? sizeof(WAVEFORMATEXTENSIBLE) : sizeof(WAVEFORMATEX);
  type.pbFormat = reinterpret_cast<BYTE*>(&wave);
  MediaType result;
  result.Set(type);
  return result;
}

MediaType AudioSubtype(const GUID& subtype, const GUID& majorType) {
  AM_MEDIA_TYPE type{};
  type.majortype = majorType;
  type.subtype = subtype;
  MediaType result;
  result.Set(type);
  return result;
}

}  // namespace zmsp::host
