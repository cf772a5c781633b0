#include "soundproc/frame/base/TransformFilter.h"

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/SampleHelpers.h"
#include "soundproc/contract/ComPtr.h"
#include "soundproc/frame/base/MemAllocator.h"

namespace zmsp {

#ifndef EC_ERRORABORT
#define EC_ERRORABORT 0x03
#endif

// ---------------------------------------------------------- TransformInputPin

TransformInputPin::TransformInputPin(TransformFilter& filter, const wchar_t* name)
    : BasePin(filter, name, PINDIR_INPUT), transform_(filter) {}

TransformInputPin::~TransformInputPin() {
  if (allocator_ != nullptr) allocator_->Release();
}

IUnknown* TransformInputPin::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<TransformInputPin> kInterfaces[] = {
      Implements<TransformInputPin, IPin>(IID_IPin),
      Implements<TransformInputPin, IMemInputPin>(IID_IMemInputPin),
  };
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT TransformInputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return transform_.CheckInputType(type);
}

HRESULT TransformInputPin::SetMediaType(const AM_MEDIA_TYPE& type) {
  HRESULT hr = BasePin::SetMediaType(type);
  if (FAILED(hr)) return hr;
  return transform_.SetMediaType(PINDIR_INPUT, type);
}

HRESULT TransformInputPin::CheckConnect(IPin* pin) {
  HRESULT hr = BasePin::CheckConnect(pin);
  if (FAILED(hr)) return hr;
  return transform_.CheckConnect(PINDIR_INPUT, pin);
}

HRESULT TransformInputPin::BreakConnect() {
  if (allocator_ != nullptr) {
    allocator_->Release();
    allocator_ = nullptr;
  }
  return transform_.BreakConnect(PINDIR_INPUT);
}

HRESULT TransformInputPin::CompleteConnect(IPin* receivePin) {
  return transform_.CompleteConnect(PINDIR_INPUT, receivePin);
}

HRESULT TransformInputPin::Inactive() {
  flushing_ = false;
  return allocator_ != nullptr ? allocator_->Decommit() : S_OK;
}

HRESULT TransformInputPin::GetAllocator(IMemAllocator** allocator) {
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

HRESULT TransformInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (allocator == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  allocator->AddRef();
  if (allocator_ != nullptr) allocator_->Release();
  allocator_ = allocator;
  readOnly_ = readOnly != FALSE;
  return S_OK;
}

HRESULT TransformInputPin::Receive(IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  std::lock_guard lock(transform_.ReceiveLock());
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (flushing_) return S_FALSE;
  if (transform_.State() == State_Stopped) return VFW_E_WRONG_STATE;
  // A type change to something this pin would not connect with ends the stream.
  TakenMediaType changed(sample);
  if (changed && CheckMediaType(changed.Get()) != S_OK) {
    transform_.EndOfStream();
    transform_.NotifyEvent(EC_ERRORABORT, VFW_E_INVALIDMEDIATYPE, 0);
    return VFW_E_INVALIDMEDIATYPE;
  }
  return transform_.Receive(sample);
}

HRESULT TransformInputPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) {
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

HRESULT TransformInputPin::EndOfStream() {
  std::lock_guard lock(transform_.ReceiveLock());
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (flushing_) return S_FALSE;
  return transform_.EndOfStream();
}

HRESULT TransformInputPin::BeginFlush() {
  std::lock_guard lock(filter_.FilterLock());
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  flushing_ = true;
  return transform_.BeginFlush();
}

HRESULT TransformInputPin::EndFlush() {
  std::lock_guard lock(filter_.FilterLock());
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  HRESULT hr = transform_.EndFlush();
  flushing_ = false;
  return hr;
}

HRESULT TransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  BasePin::NewSegment(start, stop, rate);
  return transform_.NewSegment(start, stop, rate);
}

// --------------------------------------------------------- TransformOutputPin

TransformOutputPin::TransformOutputPin(TransformFilter& filter, const wchar_t* name)
    : BasePin(filter, name, PINDIR_OUTPUT), transform_(filter) {
  tryOwnTypesFirst_ = true;
}

TransformOutputPin::~TransformOutputPin() {
  if (downstream_ != nullptr) downstream_->Release();
  if (allocator_ != nullptr) allocator_->Release();
}

HRESULT TransformOutputPin::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (guids::Same(riid, IID_IMediaSeeking)) {
    std::lock_guard lock(filter_.FilterLock());
    if (!seeking_) seeking_ = CreateSeekingPassThrough(*this, transform_.InputPin());
    if (!seeking_) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return seeking_->QueryInterface(riid, object);
  }
  return BasePin::QueryInterface(riid, object);
}

HRESULT TransformOutputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  if (!transform_.InputPin().IsConnected()) return E_INVALIDARG;
  return transform_.CheckTransform(&transform_.InputPin().CurrentMediaType().Get(), type);
}

HRESULT TransformOutputPin::GetMediaType(int position, MediaType& type) {
  if (!transform_.InputPin().IsConnected()) return E_UNEXPECTED;
  return transform_.GetMediaType(position, &type);
}

HRESULT TransformOutputPin::SetMediaType(const AM_MEDIA_TYPE& type) {
  HRESULT hr = BasePin::SetMediaType(type);
  if (FAILED(hr)) return hr;
  return transform_.SetMediaType(PINDIR_OUTPUT, type);
}

HRESULT TransformOutputPin::CheckConnect(IPin* pin) {
  HRESULT hr = BasePin::CheckConnect(pin);
  if (FAILED(hr)) return hr;
  return transform_.CheckConnect(PINDIR_OUTPUT, pin);
}

HRESULT TransformOutputPin::BreakConnect() {
  if (allocator_ != nullptr) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (downstream_ != nullptr) {
    downstream_->Release();
    downstream_ = nullptr;
  }
  return transform_.BreakConnect(PINDIR_OUTPUT);
}

HRESULT TransformOutputPin::CompleteConnect(IPin* receivePin) {
  ComPtr<IMemInputPin> input;
  if (FAILED(receivePin->QueryInterface(IID_IMemInputPin, input.PutVoid()))) return VFW_E_NO_TRANSPORT;
  HRESULT hr = DecideAllocator(input.Get());
  if (FAILED(hr)) return hr;
  downstream_ = input.Detach();
  return transform_.CompleteConnect(PINDIR_OUTPUT, receivePin);
}

HRESULT TransformOutputPin::DecideAllocator(IMemInputPin* pin) {
  ALLOCATOR_PROPERTIES request{};
  pin->GetAllocatorRequirements(&request);
  if (request.cbAlign == 0) request.cbAlign = 1;

  // The downstream pin's allocator first, then our own.
  ComPtr<IMemAllocator> allocator;
  HRESULT hr = pin->GetAllocator(allocator.Put());
  if (SUCCEEDED(hr) && allocator) {
    ALLOCATOR_PROPERTIES props = request;
    hr = transform_.DecideBufferSize(allocator.Get(), &props);
    if (SUCCEEDED(hr)) hr = pin->NotifyAllocator(allocator.Get(), FALSE);
    if (SUCCEEDED(hr)) {
      allocator_ = allocator.Detach();
      return S_OK;
    }
  }
  allocator = ComPtr<IMemAllocator>::Adopt(MemAllocator::Create());
  if (!allocator) return E_OUTOFMEMORY;
  ALLOCATOR_PROPERTIES props = request;
  hr = transform_.DecideBufferSize(allocator.Get(), &props);
  if (SUCCEEDED(hr)) hr = pin->NotifyAllocator(allocator.Get(), FALSE);
  if (FAILED(hr)) return hr;
  allocator_ = allocator.Detach();
  return S_OK;
}

HRESULT TransformOutputPin::Active() {
  return allocator_ != nullptr ? allocator_->Commit() : VFW_E_NO_ALLOCATOR;
}

HRESULT TransformOutputPin::Inactive() { return allocator_ != nullptr ? allocator_->Decommit() : S_OK; }

HRESULT TransformOutputPin::Deliver(IMediaSample* sample) {
  if (downstream_ == nullptr) return VFW_E_NOT_CONNECTED;
  return downstream_->Receive(sample);
}

HRESULT TransformOutputPin::DeliverEndOfStream() {
  return connected_ != nullptr ? connected_->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT TransformOutputPin::DeliverBeginFlush() {
  return connected_ != nullptr ? connected_->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT TransformOutputPin::DeliverEndFlush() {
  return connected_ != nullptr ? connected_->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT TransformOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return connected_ != nullptr ? connected_->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

// ------------------------------------------------------------ TransformFilter

TransformFilter::TransformFilter(const CLSID& classId, const wchar_t* name)
    : BaseFilter(classId, name),
      input_(std::make_unique<TransformInputPin>(*this, L"XForm In")),
      output_(std::make_unique<TransformOutputPin>(*this, L"XForm Out")) {}

TransformFilter::~TransformFilter() = default;

BasePin* TransformFilter::GetPin(int index) {
  if (index == 0) return input_.get();
  if (index == 1) return output_.get();
  return nullptr;
}

HRESULT TransformFilter::Stop() {
  std::lock_guard lock(lock_);
  if (state_ == State_Stopped) return S_OK;
  if (!input_->IsConnected() || !output_->IsConnected()) {
    state_ = State_Stopped;
    return S_OK;
  }
  // The input first, so that a Receive blocked upstream can finish, then wait
  // for the streaming thread to leave Receive before the output stops.
  input_->Inactive();
  std::lock_guard receive(receiveLock_);
  output_->Inactive();
  state_ = State_Stopped;
  return S_OK;
}

HRESULT TransformFilter::Pause() {
  std::lock_guard lock(lock_);
  if (state_ == State_Stopped && !input_->IsConnected() && output_->IsConnected()) {
    // Nothing will ever arrive: tell downstream at once.
    output_->DeliverEndOfStream();
  }
  return BaseFilter::Pause();
}

HRESULT TransformFilter::Receive(IMediaSample* sample) {
  ComPtr<IMediaSample> output;
  HRESULT hr = InitializeOutputSample(sample, output.Put());
  if (FAILED(hr)) return hr;
  hr = Transform(sample, output.Get());
  if (FAILED(hr)) return hr;
  return output_->Deliver(output.Get());
}

HRESULT TransformFilter::InitializeOutputSample(IMediaSample* input, IMediaSample** output) {
  if (input == nullptr || output == nullptr) return E_POINTER;
  *output = nullptr;
  IMemAllocator* allocator = output_->Allocator();
  if (allocator == nullptr) return VFW_E_NO_ALLOCATOR;
  ComPtr<IMediaSample> sample;
  HRESULT hr = allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  REFERENCE_TIME start = 0, stop = 0;
  hr = input->GetTime(&start, &stop);
  if (hr == VFW_S_NO_STOP_TIME) {
    sample->SetTime(&start, nullptr);
  } else if (SUCCEEDED(hr)) {
    sample->SetTime(&start, &stop);
  }
  LONGLONG mediaStart = 0, mediaStop = 0;
  if (SUCCEEDED(input->GetMediaTime(&mediaStart, &mediaStop))) sample->SetMediaTime(&mediaStart, &mediaStop);
  sample->SetSyncPoint(input->IsSyncPoint() == S_OK);
  sample->SetPreroll(input->IsPreroll() == S_OK);
  // A skipped sample before this one is a gap downstream must know about.
  sample->SetDiscontinuity(input->IsDiscontinuity() == S_OK || sampleSkipped_);
  *output = sample.Detach();
  return S_OK;
}

HRESULT TransformFilter::EndOfStream() { return output_->DeliverEndOfStream(); }

HRESULT TransformFilter::BeginFlush() { return output_->DeliverBeginFlush(); }

HRESULT TransformFilter::EndFlush() { return output_->DeliverEndFlush(); }

HRESULT TransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return output_->DeliverNewSegment(start, stop, rate);
}

}  // namespace zmsp
