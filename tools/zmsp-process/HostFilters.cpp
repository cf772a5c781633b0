#include "tools/zmsp-process/HostFilters.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/WaveFormat.h"
#include "soundproc/contract/DirectShowNames.h"
#include "directshow/base/PositionEnumerator.h"

namespace zmsp::host {

// --------------------------------------------------------------- OfferedType

OfferedType::OfferedType(const AM_MEDIA_TYPE* type) {
  if (type != nullptr) hasOffer_ = offered_.Set(*type);
}

HRESULT OfferedType::Check(const AM_MEDIA_TYPE* type) const {
  if (type == nullptr) return E_POINTER;
  if (!hasOffer_) return S_OK;
  return guids::Same(type->majortype, offered_.Get().majortype) &&
                 guids::Same(type->subtype, offered_.Get().subtype)
             ? S_OK
             : S_FALSE;
}

HRESULT OfferedType::Get(int position, MediaType& type) const {
  if (position != 0 || !hasOffer_) return VFW_S_NO_MORE_ITEMS;
  type = offered_;
  return S_OK;
}

HostPin::HostPin(ds::BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction,
                 const AM_MEDIA_TYPE* type)
    : BasePin(filter, name, direction), offer_(type) {}

// ----------------------------------------------------------------- SourcePin

SourcePin::SourcePin(ds::BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE& type, LONG bufferSize)
    : BaseOutputPin(filter, name), offer_(&type), bufferSize_(bufferSize) {}

HRESULT SourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES*) {
  ALLOCATOR_PROPERTIES request{2, bufferSize_, 1, 0}, actual{};
  return allocator->SetProperties(&request, &actual);
}

HRESULT SourcePin::Push(const std::uint8_t* bytes, std::size_t length, const AM_MEDIA_TYPE* type,
                        REFERENCE_TIME start, REFERENCE_TIME stop) {
  ComPtr<IMediaSample> sample;
  HRESULT hr = GetDeliveryBuffer(sample.Put());
  if (FAILED(hr)) return hr;
  if (static_cast<LONGLONG>(length) > sample->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  if (length > 0) std::memcpy(data, bytes, length);
  sample->SetActualDataLength(static_cast<LONG>(length));
  if (start >= 0) sample->SetTime(&start, stop >= 0 ? &stop : nullptr);
  sample->SetSyncPoint(TRUE);
  if (type != nullptr) sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(type));
  return Deliver(sample.Get());
}

HRESULT SourcePin::PushFilled(
    const std::function<std::pair<REFERENCE_TIME, REFERENCE_TIME>(std::uint8_t*, std::size_t&)>& fill) {
  ComPtr<IMediaSample> sample;
  HRESULT hr = GetDeliveryBuffer(sample.Put());
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  std::size_t length = static_cast<std::size_t>(std::max<LONG>(sample->GetSize(), 0));
  auto [start, stop] = fill(data, length);
  if (length == 0) return S_OK;
  sample->SetActualDataLength(static_cast<LONG>(length));
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  return Deliver(sample.Get());
}

// ------------------------------------------------------------------- SinkPin

SinkPin::SinkPin(ds::BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE* type)
    : BaseInputPin(filter, name), offer_(type) {}

HRESULT SinkPin::OnEndOfStream() {
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

HRESULT SinkPin::OnReceive(IMediaSample* sample) {
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
  using FilterEnumerator = ds::PositionEnumerator<IEnumFilters, IBaseFilter*, IID_IEnumFilters>;
  *filters = new (std::nothrow)
      FilterEnumerator(static_cast<IFilterGraph&>(*this), [this](ULONG position, IBaseFilter** filter) {
        if (position >= filters_.size()) return false;
        *filter = filters_[position];
        (*filter)->AddRef();
        return true;
      });
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
  PcmFormat format;
  format.formatTag = formatTag;
  format.channels = channels;
  format.samplesPerSec = rate;
  format.bitsPerSample = bits;
  format.extensible = formatTag == PcmFormat::kTagExtensible;
  format.channelMask = channelMask;
  format.validBitsPerSample = bits;
  AM_MEDIA_TYPE type{};
  type.majortype = guids::kMediaTypeAudio;
  type.subtype = guids::kSubtypePcm;
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = format.FrameBytes();
  MediaType result;
  if (SUCCEEDED(SetWaveFormat(format, type))) result.Set(type);
  FreeMediaType(type);
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
