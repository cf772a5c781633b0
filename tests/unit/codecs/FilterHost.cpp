#include "FilterHost.h"

#include "CodecMedia.h"
#include "directshow/com/ComPtr.h"

namespace orves::codecs::test {

SinkPin::SinkPin(ds::BaseFilter& filter, Accepts accepts)
    : BaseInputPin(filter, L"In"), accepts_(std::move(accepts)) {}

HRESULT SinkPin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  return type != nullptr && accepts_(*type) ? S_OK : S_FALSE;
}

SinkState SinkPin::WaitUntil(const std::function<bool(const SinkState&)>& done) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, std::chrono::seconds(20), [&] { return done(state_); });
  return state_;
}

HRESULT SinkPin::OnReceive(IMediaSample* sample) {
  Received received;
  received.timed = SUCCEEDED(sample->GetTime(&received.start, &received.stop));
  received.discontinuity = sample->IsDiscontinuity() == S_OK;
  received.bytes = sample->GetActualDataLength();
  const std::optional<PictureLayout> layout = PictureLayoutOf(CurrentMediaType().Get());
  BYTE* data = nullptr;
  if (layout && layout->output == VideoOutput::RGB32 && SUCCEEDED(sample->GetPointer(&data))) {
    const std::uint8_t* centre =
        data + std::ptrdiff_t(layout->height / 2) * layout->stride + layout->width / 2 * 4;
    received.colour = ColourIndex(centre[2], centre[1], centre[0]);
  }
  std::lock_guard lock(mutex_);
  state_.samples.push_back(received);
  changed_.notify_all();
  return S_OK;
}

HRESULT SinkPin::OnEndOfStream() {
  std::lock_guard lock(mutex_);
  ++state_.endsOfStream;
  changed_.notify_all();
  return S_OK;
}

HRESULT SinkPin::OnBeginFlush() {
  std::lock_guard lock(mutex_);
  ++state_.flushes;
  changed_.notify_all();
  return S_OK;
}

HRESULT SinkPin::OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME, double) {
  std::lock_guard lock(mutex_);
  state_.segments.push_back(start);
  state_.samples.clear();
  state_.endsOfStream = 0;
  changed_.notify_all();
  return S_OK;
}

bool GdiRendererTakes(const AM_MEDIA_TYPE& type) {
  return ds::guids::Same(type.subtype, MEDIASUBTYPE_RGB32) &&
         ds::guids::Same(type.formattype, FORMAT_VideoInfo);
}

bool AudioRendererTakes(const AM_MEDIA_TYPE& type) {
  return ds::guids::Same(type.majortype, MEDIATYPE_Audio) && ds::guids::Same(type.subtype, MEDIASUBTYPE_PCM);
}

HRESULT Chain::Pause() {
  for (IBaseFilter* filter : filters_) {
    if (const HRESULT hr = filter->Pause(); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT Chain::Run() {
  for (IBaseFilter* filter : filters_) {
    if (const HRESULT hr = filter->Run(0); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT Chain::Stop() {
  for (IBaseFilter* filter : filters_) filter->Stop();
  return S_OK;
}

namespace {

IPin* FindPin(IBaseFilter* filter, PIN_DIRECTION wanted, int index) {
  ds::ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Put()))) return nullptr;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction;
    pin->QueryDirection(&direction);
    pin->Release();  // the filter keeps its pins alive
    if (direction == wanted && index-- == 0) return pin;
  }
  return nullptr;
}

}  // namespace

IPin* OutputPin(IBaseFilter* filter, int index) { return FindPin(filter, PINDIR_OUTPUT, index); }

IPin* InputPin(IBaseFilter* filter) { return FindPin(filter, PINDIR_INPUT, 0); }

}  // namespace orves::codecs::test
