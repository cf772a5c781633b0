#include "directshow/base/BaseOutputPin.h"

#include "directshow/base/MemAllocator.h"
#include "directshow/com/ComPtr.h"

namespace ds {

BaseOutputPin::BaseOutputPin(BaseFilter& filter, const wchar_t* name)
    : BasePin(filter, name, PINDIR_OUTPUT) {}

BaseOutputPin::~BaseOutputPin() { BaseOutputPin::BreakConnect(); }

HRESULT BaseOutputPin::CompleteConnect(IPin* receivePin) {
  ComPtr<IMemInputPin> input;
  if (FAILED(receivePin->QueryInterface(IID_IMemInputPin, input.PutVoid()))) return VFW_E_NO_TRANSPORT;
  HRESULT hr = DecideAllocator(input.Get());
  if (FAILED(hr)) return hr;
  downstream_ = input.Detach();
  return S_OK;
}

HRESULT BaseOutputPin::DecideAllocator(IMemInputPin* pin) {
  ALLOCATOR_PROPERTIES request{};
  pin->GetAllocatorRequirements(&request);
  if (request.cbAlign == 0) request.cbAlign = 1;

  // The downstream pin's allocator first, then our own.
  ComPtr<IMemAllocator> allocator;
  HRESULT hr = pin->GetAllocator(allocator.Put());
  if (SUCCEEDED(hr) && allocator) {
    ALLOCATOR_PROPERTIES props = request;
    hr = DecideBufferSize(allocator.Get(), &props);
    if (SUCCEEDED(hr)) hr = pin->NotifyAllocator(allocator.Get(), FALSE);
    if (SUCCEEDED(hr)) {
      allocator_ = allocator.Detach();
      return S_OK;
    }
  }
  allocator = ComPtr<IMemAllocator>::Adopt(MemAllocator::Create());
  if (!allocator) return E_OUTOFMEMORY;
  ALLOCATOR_PROPERTIES props = request;
  hr = DecideBufferSize(allocator.Get(), &props);
  if (SUCCEEDED(hr)) hr = pin->NotifyAllocator(allocator.Get(), FALSE);
  if (FAILED(hr)) return hr;
  allocator_ = allocator.Detach();
  return S_OK;
}

HRESULT BaseOutputPin::BreakConnect() {
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

HRESULT BaseOutputPin::Active() { return allocator_ != nullptr ? allocator_->Commit() : VFW_E_NO_ALLOCATOR; }

HRESULT BaseOutputPin::Inactive() { return allocator_ != nullptr ? allocator_->Decommit() : S_OK; }

HRESULT BaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, DWORD flags) {
  if (sample == nullptr) return E_POINTER;
  *sample = nullptr;
  if (allocator_ == nullptr) return VFW_E_NO_ALLOCATOR;
  return allocator_->GetBuffer(sample, nullptr, nullptr, flags);
}

HRESULT BaseOutputPin::Deliver(IMediaSample* sample) {
  if (downstream_ == nullptr) return VFW_E_NOT_CONNECTED;
  return downstream_->Receive(sample);
}

HRESULT BaseOutputPin::DeliverEndOfStream() {
  return connected_ != nullptr ? connected_->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT BaseOutputPin::DeliverBeginFlush() {
  return connected_ != nullptr ? connected_->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT BaseOutputPin::DeliverEndFlush() {
  return connected_ != nullptr ? connected_->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT BaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return connected_ != nullptr ? connected_->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

}  // namespace ds
