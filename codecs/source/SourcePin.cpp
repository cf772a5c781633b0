#include "codecs/source/SourcePin.h"

#include <algorithm>
#include <cstring>

#include "codecs/source/SourceFilter.h"
#include "directshow/com/ComPtr.h"

namespace orves::codecs {

namespace {

// Buffers for one pin: a few in flight (the queue holds the read-ahead), each
// large enough for any packet the stream carries: a raw picture's size bounds
// a compressed one's.
constexpr LONG kVideoBuffers = 4;
constexpr LONG kAudioBuffers = 16;
constexpr LONG kMinimumVideoBuffer = 1 << 20;
constexpr LONG kAudioBuffer = 256 << 10;

constexpr DWORD kCapabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetCurrentPos |
                                AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

bool IsMediaTime(const GUID* format) {
  return format != nullptr && ds::guids::Same(*format, TIME_FORMAT_MEDIA_TIME);
}

}  // namespace

SourcePin::SourcePin(ds::BaseFilter& filter, SourceFilter& source, const StreamInfo& stream,
                     const ds::MediaType& type, const std::wstring& name)
    : BaseOutputPin(filter, name.c_str()), source_(source), stream_(stream), type_(type) {}

SourcePin::~SourcePin() { StopDelivery(); }

IUnknown* SourcePin::FindInterface(REFIID riid) {
  static constexpr ds::InterfaceEntry<SourcePin> kInterfaces[] = {
      ds::Implements<SourcePin, IMediaSeeking>(IID_IMediaSeeking)};
  if (ds::guids::Same(riid, IID_IMediaSeeking)) return ds::FindInTable(*this, kInterfaces, riid);
  return BaseOutputPin::FindInterface(riid);
}

HRESULT SourcePin::CheckMediaType(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  const AM_MEDIA_TYPE& own = type_.Get();
  const bool same = ds::guids::Same(type->majortype, own.majortype) &&
                    ds::guids::Same(type->subtype, own.subtype) &&
                    ds::guids::Same(type->formattype, own.formattype);
  return same ? S_OK : S_FALSE;
}

HRESULT SourcePin::GetMediaType(int position, ds::MediaType& type) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  type = type_;
  return S_OK;
}

HRESULT SourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  const bool video = stream_.format.kind == StreamKind::Video;
  const LONG rawPicture = static_cast<LONG>(
      std::min<std::int64_t>(std::int64_t{stream_.format.width} * stream_.format.height * 3 / 2, 64 << 20));
  request->cBuffers = std::max(request->cBuffers, video ? kVideoBuffers : kAudioBuffers);
  request->cbBuffer =
      std::max(request->cbBuffer, video ? std::max(kMinimumVideoBuffer, rawPicture) : kAudioBuffer);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT SourcePin::Inactive() {
  stopping_ = true;
  // Releases a thread waiting for a buffer, then waits for it.
  const HRESULT hr = BaseOutputPin::Inactive();
  if (thread_.joinable()) thread_.join();
  return hr;
}

void SourcePin::StartDelivery(REFERENCE_TIME segmentStart, REFERENCE_TIME stop, double rate) {
  StopDelivery();
  if (!IsConnected()) return;
  stopping_ = false;
  thread_ = std::thread([this, segmentStart, stop, rate] { DeliverPackets(segmentStart, stop, rate); });
}

void SourcePin::StopDelivery() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  IMemAllocator* allocator = Allocator();
  if (allocator != nullptr) allocator->Decommit();
  thread_.join();
  if (allocator != nullptr) allocator->Commit();
}

void SourcePin::DeliverPackets(REFERENCE_TIME segmentStart, REFERENCE_TIME stop, double rate) {
#ifdef _WIN32
  // Downstream filters are COM objects: the thread joins the multithreaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
#endif
  DeliverNewSegment(segmentStart, stop, rate);
  const auto index = static_cast<std::size_t>(stream_.index);
  StreamQueues& queues = source_.Queues();
  bool ended = !queues.IsActive(index);
  MediaPacket packet;
  while (!ended && !stopping_) {
    const PopResult result = queues.Pop(index, packet);
    if (result == PopResult::Interrupted) break;
    if (result == PopResult::EndOfStream) {
      ended = true;
    } else if (!DeliverPacket(packet, segmentStart)) {
      break;
    }
  }
  if (ended && !stopping_) DeliverEndOfStream();
#ifdef _WIN32
  if (SUCCEEDED(com)) CoUninitialize();
#endif
}

bool SourcePin::DeliverPacket(const MediaPacket& packet, REFERENCE_TIME segmentStart) {
  ds::ComPtr<IMediaSample> sample;
  if (FAILED(GetDeliveryBuffer(sample.Put())) || !sample) return false;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || static_cast<std::size_t>(sample->GetSize()) < packet.data.size()) {
    // Larger than any buffer agreed on: lost, and said so on the next packet.
    afterDrop_ = true;
    return true;
  }
  std::memcpy(data, packet.data.data(), packet.data.size());
  sample->SetActualDataLength(static_cast<long>(packet.data.size()));
  if (packet.start != kNoTime) {
    REFERENCE_TIME start = packet.start - segmentStart;
    REFERENCE_TIME stop = packet.stop != kNoTime ? packet.stop - segmentStart : start + 1;
    sample->SetTime(&start, &stop);
    // Before the segment: decoded for what follows, never shown.
    sample->SetPreroll(packet.stop != kNoTime && stop <= 0);
  } else {
    sample->SetTime(nullptr, nullptr);
  }
  sample->SetSyncPoint(packet.syncPoint);
  sample->SetDiscontinuity(packet.discontinuity || afterDrop_);
  afterDrop_ = false;
  return Deliver(sample.Get()) == S_OK;
}

// ------------------------------------------------------------- IMediaSeeking

HRESULT SourcePin::GetCapabilities(DWORD* capabilities) {
  if (capabilities == nullptr) return E_POINTER;
  *capabilities = kCapabilities;
  return S_OK;
}

HRESULT SourcePin::CheckCapabilities(DWORD* capabilities) {
  if (capabilities == nullptr) return E_POINTER;
  const DWORD asked = *capabilities;
  *capabilities &= kCapabilities;
  if (*capabilities == asked) return S_OK;
  return *capabilities != 0 ? S_FALSE : E_FAIL;
}

HRESULT SourcePin::IsFormatSupported(const GUID* format) { return IsMediaTime(format) ? S_OK : S_FALSE; }

HRESULT SourcePin::QueryPreferredFormat(GUID* format) { return GetTimeFormat(format); }

HRESULT SourcePin::GetTimeFormat(GUID* format) {
  if (format == nullptr) return E_POINTER;
  *format = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

HRESULT SourcePin::IsUsingTimeFormat(const GUID* format) { return IsMediaTime(format) ? S_OK : S_FALSE; }

HRESULT SourcePin::SetTimeFormat(const GUID* format) {
  return IsMediaTime(format) || (format != nullptr && ds::guids::IsNull(*format)) ? S_OK : E_INVALIDARG;
}

HRESULT SourcePin::GetDuration(LONGLONG* duration) {
  if (duration == nullptr) return E_POINTER;
  *duration = source_.Duration();
  return S_OK;
}

HRESULT SourcePin::GetStopPosition(LONGLONG* stop) {
  if (stop == nullptr) return E_POINTER;
  *stop = source_.StopPosition();
  return S_OK;
}

HRESULT SourcePin::GetCurrentPosition(LONGLONG* current) {
  if (current == nullptr) return E_POINTER;
  *current = source_.CurrentPosition();
  return S_OK;
}

HRESULT SourcePin::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                     const GUID* sourceFormat) {
  if (target == nullptr) return E_POINTER;
  const bool targetOk = targetFormat == nullptr || IsMediaTime(targetFormat);
  const bool sourceOk = sourceFormat == nullptr || IsMediaTime(sourceFormat);
  if (!targetOk || !sourceOk) return E_INVALIDARG;
  *target = source;
  return S_OK;
}

HRESULT SourcePin::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
  return source_.SetPositions(*this, current, currentFlags, stop, stopFlags);
}

HRESULT SourcePin::GetPositions(LONGLONG* current, LONGLONG* stop) {
  if (current != nullptr) *current = source_.CurrentPosition();
  if (stop != nullptr) *stop = source_.StopPosition();
  return S_OK;
}

HRESULT SourcePin::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest != nullptr) *earliest = 0;
  if (latest != nullptr) *latest = source_.Duration();
  return S_OK;
}

HRESULT SourcePin::SetRate(double rate) { return source_.SetRate(rate); }

HRESULT SourcePin::GetRate(double* rate) {
  if (rate == nullptr) return E_POINTER;
  *rate = source_.Rate();
  return S_OK;
}

HRESULT SourcePin::GetPreroll(LONGLONG* preroll) {
  if (preroll == nullptr) return E_POINTER;
  *preroll = 0;
  return S_OK;
}

}  // namespace orves::codecs
