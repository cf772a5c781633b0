#include "directshow/base/TransformFilter.h"

#include <mutex>

#include "directshow/com/ComPtr.h"
#include "directshow/com/Guids.h"

namespace ds {

// ---------------------------------------------------------- TransformInputPin

TransformInputPin::TransformInputPin(TransformFilter& filter, const wchar_t* name)
    : BaseInputPin(filter, name), transform_(filter) {}

HRESULT TransformInputPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return transform_.CheckInputType(type);
}

HRESULT TransformInputPin::SetMediaType(const AM_MEDIA_TYPE& type) {
  HRESULT hr = BaseInputPin::SetMediaType(type);
  if (FAILED(hr)) return hr;
  return transform_.SetMediaType(PINDIR_INPUT, type);
}

HRESULT TransformInputPin::CheckConnect(IPin* pin) {
  HRESULT hr = BaseInputPin::CheckConnect(pin);
  if (FAILED(hr)) return hr;
  return transform_.CheckConnect(PINDIR_INPUT, pin);
}

HRESULT TransformInputPin::BreakConnect() {
  BaseInputPin::BreakConnect();
  return transform_.BreakConnect(PINDIR_INPUT);
}

HRESULT TransformInputPin::CompleteConnect(IPin* receivePin) {
  return transform_.CompleteConnect(PINDIR_INPUT, receivePin);
}

HRESULT TransformInputPin::OnReceive(IMediaSample* sample) { return transform_.Receive(sample); }

HRESULT TransformInputPin::OnEndOfStream() { return transform_.EndOfStream(); }

HRESULT TransformInputPin::OnBeginFlush() { return transform_.BeginFlush(); }

HRESULT TransformInputPin::OnEndFlush() { return transform_.EndFlush(); }

HRESULT TransformInputPin::OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return transform_.NewSegment(start, stop, rate);
}

// --------------------------------------------------------- TransformOutputPin

TransformOutputPin::TransformOutputPin(TransformFilter& filter, const wchar_t* name)
    : BaseOutputPin(filter, name), transform_(filter) {
  TryOwnTypesFirst();
}

HRESULT TransformOutputPin::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (guids::Same(riid, IID_IMediaSeeking)) {
    std::lock_guard lock(seekingLock_);
    if (!seeking_) seeking_ = CreateSeekingPassThrough(*this, transform_.InputPin());
    if (!seeking_) {
      *object = nullptr;
      return E_OUTOFMEMORY;
    }
    return seeking_->QueryInterface(riid, object);
  }
  return BaseOutputPin::QueryInterface(riid, object);
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
  HRESULT hr = BaseOutputPin::SetMediaType(type);
  if (FAILED(hr)) return hr;
  return transform_.SetMediaType(PINDIR_OUTPUT, type);
}

HRESULT TransformOutputPin::CheckConnect(IPin* pin) {
  HRESULT hr = BaseOutputPin::CheckConnect(pin);
  if (FAILED(hr)) return hr;
  return transform_.CheckConnect(PINDIR_OUTPUT, pin);
}

HRESULT TransformOutputPin::BreakConnect() {
  BaseOutputPin::BreakConnect();
  return transform_.BreakConnect(PINDIR_OUTPUT);
}

HRESULT TransformOutputPin::CompleteConnect(IPin* receivePin) {
  HRESULT hr = BaseOutputPin::CompleteConnect(receivePin);
  if (FAILED(hr)) return hr;
  return transform_.CompleteConnect(PINDIR_OUTPUT, receivePin);
}

HRESULT TransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  return transform_.DecideBufferSize(allocator, request);
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
  std::lock_guard streaming(input_->StreamingLock());
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
  ComPtr<IMediaSample> sample;
  HRESULT hr = output_->GetDeliveryBuffer(sample.Put());
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

}  // namespace ds
