#include "codecs/audio/AudioDecoderFilter.h"

#include <algorithm>
#include <cstring>

#include "codecs/common/CodecGuids.h"
#include "codecs/common/MediaPacket.h"
#include "codecs/common/SamplePacket.h"
#include "codecs/common/StreamMediaType.h"
#include "directshow/com/ComPtr.h"

namespace orves::codecs {

namespace {

constexpr LONG kOutputBuffers = 8;
// Each buffer holds this much sound; longer blocks go out in parts.
constexpr int kBufferMilliseconds = 250;
constexpr LONG kMinimumBuffer = 16 << 10;

}  // namespace

AudioDecoderFilter::AudioDecoderFilter() : TransformFilter(kOrvesAudioDecoder, L"Orves Audio Decoder") {}

AudioDecoderFilter::~AudioDecoderFilter() = default;

HRESULT AudioDecoderFilter::CheckInputType(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  const std::optional<StreamFormat> format = FormatFromMediaType(*type);
  if (!format || format->kind != StreamKind::Audio || !AudioDecoder::Supports(format->codecId)) {
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

HRESULT AudioDecoderFilter::CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) {
  if (input == nullptr || output == nullptr) return E_POINTER;
  if (!decoder_) return VFW_E_TYPE_NOT_ACCEPTED;
  const ds::MediaType ours = PcmMediaType(decoder_->Format());
  const AM_MEDIA_TYPE& own = ours.Get();
  const bool same =
      ds::guids::Same(output->majortype, own.majortype) && ds::guids::Same(output->subtype, own.subtype) &&
      ds::guids::Same(output->formattype, own.formattype) && output->cbFormat >= own.cbFormat &&
      output->pbFormat != nullptr && std::memcmp(output->pbFormat, own.pbFormat, own.cbFormat) == 0;
  return same ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AudioDecoderFilter::GetMediaType(int position, ds::MediaType* type) {
  if (type == nullptr) return E_POINTER;
  if (position < 0) return E_INVALIDARG;
  if (!decoder_) return E_UNEXPECTED;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  *type = PcmMediaType(decoder_->Format());
  return S_OK;
}

HRESULT AudioDecoderFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) {
  if (direction == PINDIR_OUTPUT) {
    if (decoder_) format_ = decoder_->Format();
    return S_OK;
  }
  const std::optional<StreamFormat> format = FormatFromMediaType(type);
  if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
  decoder_ = std::make_unique<AudioDecoder>(*format);
  if (!decoder_->IsOpen()) {
    decoder_.reset();
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

HRESULT AudioDecoderFilter::BreakConnect(PIN_DIRECTION direction) {
  if (direction == PINDIR_INPUT) decoder_.reset();
  return S_OK;
}

HRESULT AudioDecoderFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  if (!decoder_) return E_UNEXPECTED;
  const PcmFormat format = decoder_->Format();
  const LONG bytes =
      static_cast<LONG>(std::int64_t{format.sampleRate} * format.BlockAlign() * kBufferMilliseconds / 1000);
  request->cBuffers = std::max(request->cBuffers, kOutputBuffers);
  request->cbBuffer = std::max({request->cbBuffer, bytes, kMinimumBuffer});
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT AudioDecoderFilter::Receive(IMediaSample* sample) {
  if (!decoder_) return E_UNEXPECTED;
  AM_MEDIA_TYPE* changed = nullptr;
  if (sample->GetMediaType(&changed) == S_OK && changed != nullptr) {
    const HRESULT hr = SetMediaType(PINDIR_INPUT, *changed);
    ds::DeleteMediaType(changed);
    if (FAILED(hr)) return hr;
  }
  MediaPacket packet;
  if (!PacketFromSample(sample, packet)) return E_UNEXPECTED;
  decoder_->Send(packet);
  return DeliverBlocks();
}

HRESULT AudioDecoderFilter::DeliverBlocks() {
  AudioBlock block;
  while (decoder_->NextBlock(block)) {
    const PcmFormat format = decoder_->Format();
    const int align = format.BlockAlign();
    REFERENCE_TIME start = block.start;
    int done = 0;
    while (done < block.frames) {
      ALLOCATOR_PROPERTIES props{};
      OutputPin().Allocator()->GetProperties(&props);
      const int fits = std::max(1, static_cast<int>(props.cbBuffer) / align);
      const int frames = std::min(fits, block.frames - done);
      const HRESULT hr = DeliverPart(block, block.data + std::size_t(done) * align, frames, start, done == 0);
      if (hr != S_OK) return hr;
      done += frames;
      start = block.start + RescaleRounded(done, kUnitsPerSecond, format.sampleRate);
    }
  }
  return S_OK;
}

HRESULT AudioDecoderFilter::DeliverPart(const AudioBlock& block, const std::uint8_t* data, int frames,
                                        REFERENCE_TIME start, bool first) {
  const PcmFormat format = decoder_->Format();
  ds::ComPtr<IMediaSample> out;
  HRESULT hr = OutputPin().GetDeliveryBuffer(out.Put());
  if (FAILED(hr)) return hr;
  const std::size_t bytes = static_cast<std::size_t>(frames) * static_cast<std::size_t>(format.BlockAlign());
  BYTE* target = nullptr;
  if (FAILED(out->GetPointer(&target)) || static_cast<std::size_t>(out->GetSize()) < bytes)
    return E_UNEXPECTED;
  std::memcpy(target, data, bytes);
  out->SetActualDataLength(static_cast<long>(bytes));
  REFERENCE_TIME stop = start + RescaleRounded(frames, kUnitsPerSecond, format.sampleRate);
  out->SetTime(&start, &stop);
  out->SetSyncPoint(TRUE);
  out->SetDiscontinuity(first && block.discontinuity ? TRUE : FALSE);
  if (first && !(format == format_)) {
    // The stream changed its rate or channels: the new type travels with
    // this sample.
    const ds::MediaType type = PcmMediaType(format);
    out->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&type.Get()));
    OutputPin().CurrentMediaType() = type;
    format_ = format;
  }
  return OutputPin().Deliver(out.Get());
}

HRESULT AudioDecoderFilter::EndOfStream() {
  if (decoder_) {
    decoder_->Drain();
    DeliverBlocks();
  }
  return TransformFilter::EndOfStream();
}

HRESULT AudioDecoderFilter::Stop() {
  const HRESULT hr = TransformFilter::Stop();  // waits for the streaming thread
  std::lock_guard lock(FilterLock());
  if (decoder_) decoder_->Flush();
  return hr;
}

HRESULT AudioDecoderFilter::EndFlush() {
  {
    std::lock_guard streaming(InputPin().StreamingLock());
    if (decoder_) decoder_->Flush();
  }
  return TransformFilter::EndFlush();
}

HRESULT AudioDecoderFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  // Sample times count from the segment's start: sound before it is cut off.
  if (decoder_) decoder_->SkipUntil(0);
  return TransformFilter::NewSegment(start, stop, rate);
}

}  // namespace orves::codecs
