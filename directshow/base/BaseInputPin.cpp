#include "directshow/base/BaseInputPin.h"

#include "directshow/base/BaseFilter.h"
#include "directshow/base/MemAllocator.h"
#include "directshow/base/SampleHelpers.h"

namespace ds {

BaseInputPin::BaseInputPin(BaseFilter& filter, const wchar_t* name) : BasePin(filter, name, PINDIR_INPUT) {}

BaseInputPin::~BaseInputPin() {
  if (allocator_ != nullptr) allocator_->Release();
}

IUnknown* BaseInputPin::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<BaseInputPin> kInterfaces[] = {
      Implements<BaseInputPin, IPin>(IID_IPin),
      Implements<BaseInputPin, IMemInputPin>(IID_IMemInputPin),
  };
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT BaseInputPin::BreakConnect() {
  if (allocator_ != nullptr) {
    allocator_->Release();
    allocator_ = nullptr;
  }
  return S_OK;
}

HRESULT BaseInputPin::Inactive() {
  flushing_ = false;
  return allocator_ != nullptr ? allocator_->Decommit() : S_OK;
}

HRESULT BaseInputPin::GetAllocator(IMemAllocator** allocator) {
  if (allocator == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  if (allocator_ == nullptr) {
    allocator_ = MemAllocator::Create();
    if (allocator_ == nullptr) {
      *allocator = nullptr;
      return E_OUTOFMEMORY;
    }
  }
  *allocator = allocator_;
  allocator_->AddRef();
  return S_OK;
}

HRESULT BaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (allocator == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  allocator->AddRef();
  if (allocator_ != nullptr) allocator_->Release();
  allocator_ = allocator;
  readOnly_ = readOnly != FALSE;
  return S_OK;
}

HRESULT BaseInputPin::Receive(IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  std::lock_guard lock(streamingLock_);
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (flushing_) return S_FALSE;
  if (filter_.State() == State_Stopped) return VFW_E_WRONG_STATE;
  TakenMediaType changed(sample);
  if (changed && CheckMediaType(changed.Get()) != S_OK) {
    OnEndOfStream();
    filter_.NotifyEvent(EC_ERRORABORT, VFW_E_INVALIDMEDIATYPE, 0);
    return VFW_E_INVALIDMEDIATYPE;
  }
  return OnReceive(sample);
}

HRESULT BaseInputPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) {
  if (samples == nullptr || processed == nullptr) return E_POINTER;
  *processed = 0;
  HRESULT hr = S_OK;
  while (*processed < count) {
    hr = Receive(samples[*processed]);
    if (hr != S_OK) break;
    ++*processed;
  }
  return hr;
}

HRESULT BaseInputPin::EndOfStream() {
  std::lock_guard lock(streamingLock_);
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (flushing_) return S_FALSE;
  return OnEndOfStream();
}

HRESULT BaseInputPin::BeginFlush() {
  std::lock_guard lock(filter_.FilterLock());
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  flushing_ = true;
  return OnBeginFlush();
}

HRESULT BaseInputPin::EndFlush() {
  std::lock_guard lock(filter_.FilterLock());
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  HRESULT hr = OnEndFlush();
  flushing_ = false;
  return hr;
}

HRESULT BaseInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  BasePin::NewSegment(start, stop, rate);
  return OnNewSegment(start, stop, rate);
}

}  // namespace ds
