#include "codecs/source/SourceFilter.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>

#include "codecs/common/CodecGuids.h"
#include "codecs/common/CodecTable.h"
#include "codecs/common/StreamMediaType.h"
#include "codecs/source/SourcePin.h"

namespace orves::codecs {

namespace {

LPWSTR TaskMemoryString(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (copy != nullptr) std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

std::wstring PinName(StreamKind kind, int ordinal) {
  std::wstring name = kind == StreamKind::Video ? L"Video" : L"Audio";
  if (ordinal > 1) name += L" " + std::to_wstring(ordinal);
  return name;
}

}  // namespace

SourceFilter::SourceFilter() : MultiPinFilter(kOrvesSource, L"Orves Source") {}

SourceFilter::~SourceFilter() {
  if (worker_) worker_->Stop();
  for (SourcePin* pin : pins_) pin->StopDelivery();
}

IUnknown* SourceFilter::FindInterface(REFIID riid) {
  static constexpr ds::InterfaceEntry<SourceFilter> kInterfaces[] = {
      ds::Implements<SourceFilter, IFileSourceFilter>(IID_IFileSourceFilter),
      ds::Implements<SourceFilter, IAMStreamSelect>(IID_IAMStreamSelect),
      ds::Implements<SourceFilter, IOrvesTextTracks>(kIOrvesTextTracks),
  };
  if (ds::guids::Same(riid, IID_IUnknown)) return MultiPinFilter::FindInterface(riid);
  if (IUnknown* found = ds::FindInTable(*this, kInterfaces, riid)) return found;
  return MultiPinFilter::FindInterface(riid);
}

// --------------------------------------------------------- IFileSourceFilter

HRESULT SourceFilter::Load(LPCOLESTR fileName, const AM_MEDIA_TYPE*) {
  if (fileName == nullptr) return E_POINTER;
  std::lock_guard lock(FilterLock());
  if (demuxer_) return E_UNEXPECTED;  // one file per filter
  const std::filesystem::path path{std::wstring(fileName)};
  std::unique_ptr<Demuxer> demuxer = Demuxer::OpenFile(path);
  if (!demuxer) return VFW_E_UNKNOWN_FILE_TYPE;

  int videos = 0;
  int audios = 0;
  std::vector<SourcePin*> pins;
  for (const StreamInfo& stream : demuxer->Streams()) {
    if (stream.format.kind != StreamKind::Video && stream.format.kind != StreamKind::Audio) continue;
    ds::MediaType type;
    // A stream of a codec the table does not list gets no pin.
    if (!MediaTypeFor(stream.format, type)) continue;
    const bool video = stream.format.kind == StreamKind::Video;
    const std::wstring name = PinName(stream.format.kind, video ? ++videos : ++audios);
    pins.push_back(&AddPin<SourcePin>(*this, stream, type, name));
    if (!video) audioStreams_.push_back(stream.index);
  }
  if (pins.empty()) return VFW_E_UNSUPPORTED_STREAM;

  pins_ = std::move(pins);
  fileName_ = fileName;
  duration_ = std::max<REFERENCE_TIME>(demuxer->Duration(), 0);
  stop_ = duration_;
  // The file's default audio track, else its first.
  for (int stream : audioStreams_) {
    if (selectedAudio_ < 0 || demuxer->Streams()[static_cast<std::size_t>(stream)].isDefault) {
      if (selectedAudio_ < 0 || !demuxer->Streams()[static_cast<std::size_t>(selectedAudio_)].isDefault) {
        selectedAudio_ = stream;
      }
    }
  }
  textStreams_ = TextStreams(demuxer->Streams());
  if (!textStreams_.empty()) textReader_ = std::make_unique<TextTrackReader>(path);
  queues_ = std::make_unique<StreamQueues>(demuxer->Streams().size());
  demuxer_ = std::move(demuxer);
  worker_ = std::make_unique<DemuxWorker>(*demuxer_, *queues_);
  return S_OK;
}

HRESULT SourceFilter::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type) {
  if (fileName == nullptr) return E_POINTER;
  std::lock_guard lock(FilterLock());
  *fileName = nullptr;
  if (type != nullptr) std::memset(type, 0, sizeof(*type));
  if (!demuxer_) return E_FAIL;
  *fileName = TaskMemoryString(fileName_);
  if (*fileName == nullptr) return E_OUTOFMEMORY;
  if (type != nullptr) type->majortype = MEDIATYPE_Stream;
  return S_OK;
}

// ------------------------------------------------------------ state changes

void SourceFilter::UpdateActiveStreams() {
  if (!queues_) return;
  for (const StreamInfo& stream : demuxer_->Streams())
    queues_->SetActive(static_cast<std::size_t>(stream.index), false);
  for (SourcePin* pin : pins_) {
    const int stream = pin->Stream().index;
    const bool selected = pin->Stream().format.kind != StreamKind::Audio || stream == selectedAudio_;
    queues_->SetActive(static_cast<std::size_t>(stream), pin->IsConnected() && selected);
  }
}

void SourceFilter::StartDelivery() {
  UpdateActiveStreams();
  worker_->Seek(segmentStart_);  // the worker is stopped: this positions the demuxer
  for (SourcePin* pin : pins_) pin->StartDelivery(segmentStart_, stop_, rate_);
  worker_->Start();
}

void SourceFilter::StopDelivery() {
  // Interrupts the queues, which wakes every pin thread waiting for a packet.
  worker_->Stop();
  for (SourcePin* pin : pins_) pin->StopDelivery();
}

HRESULT SourceFilter::Pause() {
  std::lock_guard lock(FilterLock());
  if (state_ == State_Running) pausedStreamTime_ = StreamTime();
  const bool starting = state_ == State_Stopped;
  const HRESULT hr = MultiPinFilter::Pause();
  if (FAILED(hr) || !starting || !worker_) return hr;
  pausedStreamTime_ = 0;
  StartDelivery();
  return hr;
}

HRESULT SourceFilter::Stop() {
  std::lock_guard lock(FilterLock());
  if (state_ != State_Stopped && worker_) {
    // The next start begins where playing stopped.
    const REFERENCE_TIME position = CurrentPosition();
    worker_->Stop();
    segmentStart_ = position;
  }
  // Each connected pin ends its thread in Inactive.
  return MultiPinFilter::Stop();
}

// ------------------------------------------------------------------ seeking

REFERENCE_TIME SourceFilter::StreamTime() {
  if (state_ == State_Paused) return pausedStreamTime_;
  if (state_ != State_Running || clock_ == nullptr) return 0;
  REFERENCE_TIME now = 0;
  if (FAILED(clock_->GetTime(&now))) return 0;
  return std::max<REFERENCE_TIME>(now - start_, 0);
}

REFERENCE_TIME SourceFilter::CurrentPosition() {
  std::lock_guard lock(FilterLock());
  if (state_ == State_Stopped) return segmentStart_;
  const auto played = static_cast<REFERENCE_TIME>(static_cast<double>(StreamTime()) * rate_);
  return std::clamp<REFERENCE_TIME>(segmentStart_ + played, 0, std::max(duration_, segmentStart_));
}

REFERENCE_TIME SourceFilter::StopPosition() {
  std::lock_guard lock(FilterLock());
  return stop_;
}

double SourceFilter::Rate() {
  std::lock_guard lock(FilterLock());
  return rate_;
}

const SourcePin* SourceFilter::SeekingPin() {
  for (StreamKind kind : {StreamKind::Video, StreamKind::Audio}) {
    for (const SourcePin* pin : pins_) {
      if (pin->Stream().format.kind == kind && pin->IsConnected()) return pin;
    }
  }
  return pins_.empty() ? nullptr : pins_.front();
}

HRESULT SourceFilter::SetPositions(const SourcePin& pin, REFERENCE_TIME* current, DWORD currentFlags,
                                   REFERENCE_TIME* stop, DWORD stopFlags) {
  std::lock_guard lock(FilterLock());
  const DWORD currentMode = currentFlags & AM_SEEKING_PositioningBitsMask;
  const DWORD stopMode = stopFlags & AM_SEEKING_PositioningBitsMask;
  if ((currentMode != AM_SEEKING_NoPositioning && current == nullptr) ||
      (stopMode != AM_SEEKING_NoPositioning && stop == nullptr)) {
    return E_POINTER;
  }
  if (stopMode == AM_SEEKING_AbsolutePositioning) stop_ = std::clamp<REFERENCE_TIME>(*stop, 0, duration_);
  if (stopMode == AM_SEEKING_RelativePositioning)
    stop_ = std::clamp<REFERENCE_TIME>(stop_ + *stop, 0, duration_);
  if (stop != nullptr && (stopFlags & AM_SEEKING_ReturnTime)) *stop = stop_;

  // Every renderer passes the seek up to its own pin; one of them moves the file.
  if (currentMode == AM_SEEKING_NoPositioning || &pin != SeekingPin()) {
    if (current != nullptr && (currentFlags & AM_SEEKING_ReturnTime)) *current = CurrentPosition();
    return S_OK;
  }
  REFERENCE_TIME target = *current;
  if (currentMode == AM_SEEKING_RelativePositioning) target += CurrentPosition();
  target = std::clamp<REFERENCE_TIME>(target, 0, duration_);
  if (currentFlags & AM_SEEKING_ReturnTime) *current = target;
  if (state_ == State_Stopped || !worker_) {
    segmentStart_ = target;  // applied when the graph starts
    return S_OK;
  }
  Reposition(target);
  return S_OK;
}

void SourceFilter::Reposition(REFERENCE_TIME position) {
  for (SourcePin* pin : pins_) {
    if (pin->IsConnected()) pin->DeliverBeginFlush();
  }
  StopDelivery();
  for (SourcePin* pin : pins_) {
    if (pin->IsConnected()) pin->DeliverEndFlush();
  }
  segmentStart_ = position;
  // Stream time starts again at the seek (the graph restarts a running
  // graph with a new start time; until then the clock says it).
  pausedStreamTime_ = 0;
  if (state_ == State_Running && clock_ != nullptr) clock_->GetTime(&start_);
  StartDelivery();
}

HRESULT SourceFilter::SetRate(double rate) {
  if (rate <= 0) return E_INVALIDARG;
  std::lock_guard lock(FilterLock());
  if (rate == rate_) return S_OK;
  const REFERENCE_TIME position = CurrentPosition();
  rate_ = rate;
  if (state_ != State_Stopped && worker_) {
    Reposition(position);
  } else {
    segmentStart_ = position;
  }
  return S_OK;
}

}  // namespace orves::codecs
