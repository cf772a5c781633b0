#include "codecs/video/VideoDecoderFilter.h"

#include <algorithm>

#include "codecs/common/Aspect.h"
#include "codecs/common/CodecGuids.h"
#include "codecs/common/MediaPacket.h"
#include "codecs/common/SamplePacket.h"
#include "directshow/com/ComPtr.h"

namespace orves::codecs {

namespace {

// Pictures in flight between us and the renderer.
constexpr LONG kOutputBuffers = 4;

// Each output type twice: VIDEOINFOHEADER2, then VIDEOINFOHEADER.
constexpr int kTypesPerOutput = 2;

}  // namespace

VideoDecoderFilter::VideoDecoderFilter() : TransformFilter(kOrvesVideoDecoder, L"Orves Video Decoder") {}

VideoDecoderFilter::~VideoDecoderFilter() = default;

HRESULT VideoDecoderFilter::CheckInputType(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  const std::optional<StreamFormat> format = FormatFromMediaType(*type);
  if (!format || format->kind != StreamKind::Video || !VideoDecoder::Supports(format->codecId)) {
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

HRESULT VideoDecoderFilter::CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) {
  if (input == nullptr || output == nullptr) return E_POINTER;
  return PictureLayoutOf(*output) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT VideoDecoderFilter::GetMediaType(int position, ds::MediaType* type) {
  if (type == nullptr) return E_POINTER;
  if (position < 0) return E_INVALIDARG;
  if (!input_) return E_UNEXPECTED;
  if (position >= static_cast<int>(kVideoOutputOrder.size()) * kTypesPerOutput) return VFW_S_NO_MORE_ITEMS;
  PictureType picture;
  picture.output = kVideoOutputOrder[static_cast<std::size_t>(position / kTypesPerOutput)];
  picture.info2 = position % kTypesPerOutput == 0;
  picture.width = input_->width;
  picture.height = input_->height;
  picture.aspect = PictureAspect(input_->width, input_->height, input_->sampleAspect);
  if (input_->frameRate.Valid()) {
    picture.frameDuration = RescaleRounded(kUnitsPerSecond, input_->frameRate.den, input_->frameRate.num);
  }
  *type = PictureMediaType(picture);
  return S_OK;
}

HRESULT VideoDecoderFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) {
  if (direction == PINDIR_OUTPUT) {
    const std::optional<PictureLayout> layout = PictureLayoutOf(type);
    if (!layout) return VFW_E_TYPE_NOT_ACCEPTED;
    layout_ = *layout;
    return S_OK;
  }
  input_ = FormatFromMediaType(type);
  if (!input_) return VFW_E_TYPE_NOT_ACCEPTED;
  decoder_ = std::make_unique<VideoDecoder>(*input_);
  if (!decoder_->IsOpen()) {
    decoder_.reset();
    input_.reset();
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

HRESULT VideoDecoderFilter::BreakConnect(PIN_DIRECTION direction) {
  if (direction == PINDIR_INPUT) {
    decoder_.reset();
    input_.reset();
  }
  return S_OK;
}

HRESULT VideoDecoderFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  const std::optional<PictureLayout> layout = PictureLayoutOf(OutputPin().CurrentMediaType().Get());
  if (!layout) return E_UNEXPECTED;
  request->cBuffers = std::max(request->cBuffers, kOutputBuffers);
  request->cbBuffer = std::max<LONG>(
      request->cbBuffer, static_cast<LONG>(LayoutFor(layout->output, layout->height, layout->stride).size));
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT VideoDecoderFilter::Receive(IMediaSample* sample) {
  if (!decoder_) return E_UNEXPECTED;
  // A type upstream attaches describes the stream from here on.
  AM_MEDIA_TYPE* changed = nullptr;
  if (sample->GetMediaType(&changed) == S_OK && changed != nullptr) {
    const HRESULT hr = SetMediaType(PINDIR_INPUT, *changed);
    ds::DeleteMediaType(changed);
    if (FAILED(hr)) return hr;
  }
  MediaPacket packet;
  if (!PacketFromSample(sample, packet)) return E_UNEXPECTED;
  decoder_->Send(packet);
  return DeliverPictures();
}

HRESULT VideoDecoderFilter::DeliverPictures() {
  PictureInfo info;
  while (decoder_->NextPicture(info)) {
    ds::ComPtr<IMediaSample> out;
    HRESULT hr = OutputPin().GetDeliveryBuffer(out.Put());
    if (FAILED(hr)) return hr;
    // The renderer may give the buffer a new type: another stride, mostly.
    AM_MEDIA_TYPE* changed = nullptr;
    if (out->GetMediaType(&changed) == S_OK && changed != nullptr) {
      if (const std::optional<PictureLayout> layout = PictureLayoutOf(*changed)) {
        layout_ = *layout;
        OutputPin().CurrentMediaType().Set(*changed);
      }
      ds::DeleteMediaType(changed);
    }
    BYTE* data = nullptr;
    const std::size_t size = LayoutFor(layout_.output, layout_.height, layout_.stride).size;
    if (FAILED(out->GetPointer(&data)) || static_cast<std::size_t>(out->GetSize()) < size)
      return E_UNEXPECTED;
    if (!decoder_->CopyPicture(layout_.output, data, layout_.stride, layout_.width, layout_.height,
                               layout_.bottomUp)) {
      continue;
    }
    out->SetActualDataLength(static_cast<long>(size));
    if (info.start != kNoTime) {
      REFERENCE_TIME start = info.start;
      REFERENCE_TIME stop = info.stop;
      out->SetTime(&start, &stop);
    } else {
      out->SetTime(nullptr, nullptr);
    }
    out->SetSyncPoint(TRUE);
    out->SetPreroll(FALSE);
    out->SetDiscontinuity(info.discontinuity ? TRUE : FALSE);
    hr = OutputPin().Deliver(out.Get());
    if (hr != S_OK) return hr;
  }
  return S_OK;
}

HRESULT VideoDecoderFilter::EndOfStream() {
  if (decoder_) {
    decoder_->Drain();
    DeliverPictures();
  }
  return TransformFilter::EndOfStream();
}

HRESULT VideoDecoderFilter::Stop() {
  const HRESULT hr = TransformFilter::Stop();  // waits for the streaming thread
  std::lock_guard lock(FilterLock());
  if (decoder_) decoder_->Flush();
  return hr;
}

HRESULT VideoDecoderFilter::EndFlush() {
  {
    std::lock_guard streaming(InputPin().StreamingLock());
    if (decoder_) decoder_->Flush();
  }
  return TransformFilter::EndFlush();
}

HRESULT VideoDecoderFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  // Sample times count from the segment's start: what lies before it was
  // sent to decode what follows, and is not shown.
  if (decoder_) decoder_->SkipUntil(0);
  return TransformFilter::NewSegment(start, stop, rate);
}

}  // namespace orves::codecs
