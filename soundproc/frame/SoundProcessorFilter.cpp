#include "soundproc/frame/SoundProcessorFilter.h"

#include <cstring>
#include <cwctype>
#include <new>

#include "soundproc/frame/AnsiText.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/contract/DirectShowNames.h"

namespace zmsp {

namespace {

constexpr int kMaxUpstreamDepth = 64;  // a graph deeper than this is malformed

// The filter an IPin belongs to, with a reference.
ComPtr<IBaseFilter> FilterOf(IPin* pin) {
  PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info))) return nullptr;
  return ComPtr<IBaseFilter>::Adopt(info.pFilter);
}

// Calls `visit` with each connected input pin's peer; stops at the first
// result other than S_FALSE, which means "not here, go on".
template <typename Visit>
HRESULT ForEachUpstreamPeer(IBaseFilter* filter, Visit&& visit) {
  ComPtr<IEnumPins> pins;
  HRESULT hr = filter->EnumPins(pins.Put());
  if (FAILED(hr)) return hr;
  for (;;) {
    ComPtr<IPin> pin;
    ULONG fetched = 0;
    if (pins->Next(1, pin.Put(), &fetched) != S_OK || fetched != 1) return S_FALSE;
    PIN_DIRECTION direction;
    if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_INPUT) continue;
    ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.Put())) || !peer) continue;
    hr = visit(pin.Get(), peer.Get());
    if (hr != S_FALSE) return hr;
  }
}

}  // namespace

// ------------------------------------------------------------ source classes

const char* SourceClassName(SourceClass source) {
  static const char* const kNames[] = {"Unknown", "MP3",   "WMA",  "Vorbis", "AC3",  "AC3",
                                       "MPEG1",   "MPEG2", "LPCM", "DTS",    "SDDS", "WAVE"};
  const int index = static_cast<int>(source);
  return index >= 0 && index < 12 ? kNames[index] : kNames[0];
}

SourceClass ClassifySourceType(const AM_MEDIA_TYPE& type) {
  using guids::Same;
  const GUID& subtype = type.subtype;
  if (Same(subtype, guids::kSubtypeMp3)) return SourceClass::Mp3;
  if (Same(subtype, guids::kSubtypeWma)) return SourceClass::Wma;
  if (Same(subtype, guids::kSubtypeVorbis)) return SourceClass::Vorbis;
  if (Same(subtype, guids::kSubtypeDolbyAc3)) return SourceClass::Ac3;
  if (Same(subtype, guids::kSubtypeAc3Wave)) return SourceClass::Ac3Wave;
  const bool audio = Same(type.majortype, guids::kMediaTypeAudio);
  if ((audio && (Same(subtype, guids::kSubtypeMpeg1Payload) || Same(subtype, guids::kSubtypeMpeg1Packet))) ||
      Same(subtype, guids::kSubtypeMpeg1Wave) || Same(subtype, guids::kSubtypeMpeg1AudioPayload)) {
    return SourceClass::Mpeg1;
  }
  if (Same(subtype, guids::kSubtypeMpeg2Audio)) return SourceClass::Mpeg2;
  if (Same(subtype, guids::kSubtypeDvdLpcm)) return SourceClass::Lpcm;
  if (Same(subtype, guids::kSubtypeDts)) return SourceClass::Dts;
  if (Same(subtype, guids::kSubtypeSdds)) return SourceClass::Sdds;
  if (Same(subtype, guids::kSubtypeWave)) return SourceClass::Wave;
  return SourceClass::Unknown;
}

int FileTypeOfName(const std::wstring& name) {
  if (name.size() < 4) return 0;
  std::wstring ending = name.substr(name.size() - 4);
  for (wchar_t& ch : ending) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
  if (ending == L".mp3") return 1;
  if (ending == L".ogg") return 2;
  if (ending == L".wma") return 3;
  return 0;
}

// ------------------------------------------------------------------ creation

SoundProcessorFilter::SoundProcessorFilter(SettingsStore& store, std::unique_ptr<StageSet> stages)
    : ds::TransformFilter(guids::kSoundProcessorFilter, L"ZEMBRA's Sound Processor"),
      store_(store),
      stages_(std::move(stages)),
      stagePin_(*output_) {
  for (ProcessingStage* stage : stages_->Chain(outputChannels_)) {
    stage->filter = this;
    stage->outputPin = &stagePin_;
  }
}

HRESULT SoundProcessorFilter::Create(SettingsStore& store, SoundProcessorFilter** filter) {
  if (filter == nullptr) return E_POINTER;
  *filter = nullptr;
  Settings settings(store);
  if (!settings.AnyStageEnabled()) return E_FAIL;
  std::unique_ptr<StageSet> stages;
  try {
    stages = CreateStandardStages(store);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return Create(store, std::move(stages), filter);
}

HRESULT SoundProcessorFilter::Create(SettingsStore& store, std::unique_ptr<StageSet> stages,
                                     SoundProcessorFilter** filter) {
  if (filter == nullptr) return E_POINTER;
  *filter = nullptr;
  if (!stages) return E_OUTOFMEMORY;
  if (!Settings(store).AnyStageEnabled()) return E_FAIL;
  try {
    *filter = new SoundProcessorFilter(store, std::move(stages));  // born with its one reference
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

IUnknown* SoundProcessorFilter::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<SoundProcessorFilter> kInterfaces[] = {
      Implements<SoundProcessorFilter, IBaseFilter>(IID_IBaseFilter),
      Implements<SoundProcessorFilter, ISoundProcessorStatus>(guids::kISoundProcessorStatus),
      Implements<SoundProcessorFilter, ISpecifyPropertyPages>(IID_ISpecifyPropertyPages),
  };
  if (IUnknown* found = FindInTable(*this, kInterfaces, riid)) return found;
  return ds::TransformFilter::FindInterface(riid);
}

HRESULT SoundProcessorFilter::AttachPage() {
  bool attached = false;
  return pageAttached_.compare_exchange_strong(attached, true) ? S_OK : E_FAIL;
}

HRESULT SoundProcessorFilter::DetachPage() {
  pageAttached_ = false;
  return S_OK;
}

HRESULT SoundProcessorFilter::GetStatus(pages::PageStatus* status) {
  if (status == nullptr) return E_POINTER;
  {
    // The connection facts change only while connecting, under the filter lock.
    std::lock_guard lock(lock_);
    status->source = SourceClassName(source_);
    status->fileName = lastFileName_;
  }
  status->input = format_;
  stages_->DescribeForPage(*status);
  return S_OK;
}

HRESULT SoundProcessorFilter::SetMeasuring(BOOL measuring) {
  stages_->SetMeasuring(measuring != FALSE);
  return S_OK;
}

HRESULT SoundProcessorFilter::GetStageObject(DWORD stage, IUnknown** object) {
  if (object == nullptr) return E_POINTER;
  ComPtr<IUnknown> found;
  if (stage == kExpanderObject) {
    found = stages_->ExpanderObject();
  } else if (stage == kStretcherObject) {
    found = stages_->StretcherObject();
  } else {
    *object = nullptr;
    return E_INVALIDARG;
  }
  *object = found.Detach();
  return *object != nullptr ? S_OK : S_FALSE;
}

HRESULT SoundProcessorFilter::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(2 * sizeof(GUID)));
  if (pages->pElems == nullptr) return E_OUTOFMEMORY;
  pages->pElems[0] = guids::kSoundProcessorPage;
  pages->pElems[1] = guids::kSoundProcessorAboutPage;
  pages->cElems = 2;
  return S_OK;
}

// ------------------------------------------------------------- negotiation

HRESULT SoundProcessorFilter::CheckInputType(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  if (!guids::Same(type->majortype, guids::kMediaTypeAudio) ||
      !guids::Same(type->subtype, guids::kSubtypePcm)) {
    return E_FAIL;
  }
  const PcmFormat format = PcmFormatOf(*type);
  if (!format.parsed || !format.IntegerWidthSupported()) return E_FAIL;
  // No channels would make every frame empty; the stages divide by the frame size.
  if (format.channels == 0) return E_FAIL;
  switch (format.formatTag) {
    case PcmFormat::kTagPcm:
    case PcmFormat::kTagAc3Spdif:
      return format.channels <= 2 ? S_OK : E_FAIL;
    case PcmFormat::kTagExtensible:
      return format.extensible ? S_OK : E_FAIL;
    default:
      return E_FAIL;
  }
}

HRESULT SoundProcessorFilter::CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) {
  return CheckInputType(input) == S_OK && CheckInputType(output) == S_OK ? S_OK : E_FAIL;
}

HRESULT SoundProcessorFilter::GetMediaType(int position, MediaType* type) {
  if (type == nullptr) return E_POINTER;
  if (!input_->IsConnected()) return E_UNEXPECTED;
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  return stages_->ExpanderOutputType(input_->CurrentMediaType().Get(), *type);
}

HRESULT SoundProcessorFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  if (allocator == nullptr || request == nullptr) return E_POINTER;
  request->cBuffers = kOutputBufferCount;
  request->cbBuffer = kOutputBufferSize;
  ALLOCATOR_PROPERTIES actual{};
  HRESULT hr = allocator->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  const bool enough = actual.cBuffers >= request->cBuffers && actual.cbBuffer >= request->cbBuffer &&
                      actual.cbAlign >= request->cbAlign;
  return enough ? S_OK : E_FAIL;
}

HRESULT SoundProcessorFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) {
  HRESULT hr = ds::TransformFilter::SetMediaType(direction, type);
  if (FAILED(hr)) return hr;
  if (direction == PINDIR_INPUT) {
    FillPcmFormat(type, format_);
    pendingInputType_ = true;
  }
  return S_OK;
}

// ---------------------------------------------------------------- connection

HRESULT SoundProcessorFilter::CheckConnect(PIN_DIRECTION direction, IPin* pin) {
  HRESULT hr = ds::TransformFilter::CheckConnect(direction, pin);
  if (FAILED(hr) || direction == PINDIR_OUTPUT) return hr;
  if (pin == nullptr) return E_POINTER;

  hr = RefuseSecondInstance(pin, 0);
  if (FAILED(hr)) return hr;

  MediaType sourceType;
  hr = FindSourceType(pin, 0, sourceType);
  if (FAILED(hr)) return hr;
  source_ = hr == S_OK ? ClassifySourceType(sourceType.Get()) : SourceClass::Unknown;
  ac3Source_ = source_ == SourceClass::Ac3 || source_ == SourceClass::Ac3Wave;
  stages_->SetAc3Source(ac3Source_);

  // Only an AC3-only expander switched on, and the source is not AC3: nothing
  // would process this stream, so let graph building pass us by.
  Settings settings(store_);
  if (!ac3Source_ && settings.AC3Only() && settings.ChannelExpanderEnable() &&
      !settings.ChannelControlEnable() && !settings.TimeStretcherEnable()) {
    return E_FAIL;
  }

  hr = LookUpPlayedFile();
  if (FAILED(hr)) return hr;
  stages_->SetFileType(fileType_);
  return fileType_ != 0 ? S_OK : S_FALSE;
}

HRESULT SoundProcessorFilter::RefuseSecondInstance(IPin* pin, int depth) {
  if (depth > kMaxUpstreamDepth) return S_OK;
  ComPtr<IBaseFilter> filter = FilterOf(pin);
  if (!filter) return E_FAIL;
  CLSID classId{};
  HRESULT hr = filter->GetClassID(&classId);
  if (FAILED(hr)) return hr;
  if (guids::Same(classId, guids::kSoundProcessorFilter)) return E_FAIL;
  hr = ForEachUpstreamPeer(filter.Get(), [&](IPin*, IPin* peer) {
    HRESULT found = RefuseSecondInstance(peer, depth + 1);
    return FAILED(found) ? found : S_FALSE;
  });
  return FAILED(hr) ? hr : S_OK;
}

// S_OK with the first non-PCM connection type upstream, S_FALSE when none.
HRESULT SoundProcessorFilter::FindSourceType(IPin* pin, int depth, MediaType& found) {
  if (depth > kMaxUpstreamDepth) return S_FALSE;
  ComPtr<IBaseFilter> filter = FilterOf(pin);
  if (!filter) return S_FALSE;
  return ForEachUpstreamPeer(filter.Get(), [&](IPin* input, IPin* peer) -> HRESULT {
    AM_MEDIA_TYPE type{};
    if (SUCCEEDED(input->ConnectionMediaType(&type))) {
      const bool pcm = guids::Same(type.subtype, guids::kSubtypePcm);
      if (!pcm) {
        const bool copied = found.Set(type);
        FreeMediaType(type);
        return copied ? S_OK : E_OUTOFMEMORY;
      }
      FreeMediaType(type);
    }
    return FindSourceType(peer, depth + 1, found);
  });
}

HRESULT SoundProcessorFilter::LookUpPlayedFile() {
  fileType_ = 0;
  if (graph_ == nullptr) return S_OK;
  ComPtr<IEnumFilters> filters;
  HRESULT hr = graph_->EnumFilters(filters.Put());
  if (FAILED(hr)) return hr;
  ComPtr<IBaseFilter> source;
  for (;;) {
    ComPtr<IBaseFilter> filter;
    ULONG fetched = 0;
    if (filters->Next(1, filter.Put(), &fetched) != S_OK || fetched != 1) break;
    CLSID classId{};
    if (FAILED(filter->GetClassID(&classId))) continue;
    if (guids::Same(classId, guids::kAsyncReader) || guids::Same(classId, guids::kUrlReader) ||
        guids::Same(classId, guids::kOtherFileSource)) {
      source = filter;
      break;
    }
  }
  if (!source) return S_OK;

  ComPtr<IFileSourceFilter> fileSource;
  hr = source->QueryInterface(IID_IFileSourceFilter, fileSource.PutVoid());
  if (FAILED(hr)) return hr;
  LPOLESTR name = nullptr;
  AM_MEDIA_TYPE type{};
  hr = fileSource->GetCurFile(&name, &type);
  FreeMediaType(type);
  if (FAILED(hr)) return hr;
  const std::wstring wide = name != nullptr ? std::wstring(name) : std::wstring();
  CoTaskMemFree(name);

  fileType_ = FileTypeOfName(wide);
  std::string ansi;
  if (!WideToAnsi(wide, ansi)) return E_FAIL;
  lastFileName_ = std::move(ansi);
  Settings settings(store_);
  if (settings.LogLastFileName()) settings.WriteLastFileName(lastFileName_);  // a failure is ignored
  return S_OK;
}

// ----------------------------------------------------------------- streaming

HRESULT SoundProcessorFilter::Receive(IMediaSample* sample) {
  ComPtr<IMediaSample2> sample2;
  if (SUCCEEDED(sample->QueryInterface(IID_IMediaSample2, sample2.PutVoid()))) {
    AM_SAMPLE2_PROPERTIES props{};
    if (SUCCEEDED(sample2->GetProperties(sizeof(props), reinterpret_cast<BYTE*>(&props))) &&
        props.dwStreamId != AM_STREAM_MEDIA) {
      return output_->Deliver(sample);
    }
  }
  HRESULT hr = DriveSample(sample);
  if (hr == S_FALSE) {
    sampleSkipped_ = true;
    if (!qualityChanged_) {
      NotifyEvent(EC_QUALITY_CHANGE, 0, 0);
      qualityChanged_ = true;
    }
    return S_OK;
  }
  if (hr == S_OK) sampleSkipped_ = false;
  return hr;
}

HRESULT SoundProcessorFilter::GetOutputSample(IMediaSample* input, IMediaSample** output) {
  return InitializeOutputSample(input, output);
}

void SoundProcessorFilter::RefreshSettings() {
  Settings settings(store_);
  stages_->RefreshExpanderSettings(settings);
  outputChannels_ = settings.OutputChannels();
  stages_->ChannelControl().enabled = settings.ChannelControlEnable();
  stages_->TimeStretcher().enabled = settings.TimeStretcherEnable();
  stages_->SoundMeter().enabled = true;
}

void SoundProcessorFilter::RecomputeOutputType() {
  MediaType output;
  if (SUCCEEDED(GetMediaType(0, &output))) output_->CurrentMediaType() = output;
}

// Makes the sample's type (or, after a reconnection, the pin's) the current
// input type and recomputes the output type in place; or attaches the input
// type when the configured channel count no longer matches the output type.
void SoundProcessorFilter::TakeSampleType(IMediaSample* sample) {
  if (pendingInputType_) {
    // The first sample after a (re)connection carries the type through the chain.
    TakenMediaType carried(sample);
    if (!carried) sample->SetMediaType(&input_->CurrentMediaType().Get());
  }
  pendingInputType_ = false;

  TakenMediaType taken(sample);
  if (taken) {
    FillPcmFormat(*taken.Get(), format_);
    input_->CurrentMediaType().Set(*taken.Get());
    RecomputeOutputType();
    return;
  }
  const AM_MEDIA_TYPE& inputType = input_->CurrentMediaType().Get();
  const std::uint32_t expected = stages_->ExpanderAppliesTo(inputType) ? outputChannels_ : format_.channels;
  const std::uint32_t current = PcmFormatOf(output_->CurrentMediaType().Get()).channels;
  if (expected != current) {
    RecomputeOutputType();
    sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&inputType));
  }
}

ProcessingStage& SoundProcessorFilter::LinkChain() {
  const auto chain = stages_->Chain(outputChannels_);
  for (std::size_t i = 0; i < chain.size(); ++i)
    chain[i]->next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
  return *chain.front();
}

HRESULT SoundProcessorFilter::DriveSample(IMediaSample* sample) {
  lastActualLength_ = static_cast<std::uint32_t>(sample->GetActualDataLength());
  lastBufferSize_ = static_cast<std::uint32_t>(sample->GetSize());
  RefreshSettings();
  TakeSampleType(sample);
  stages_->SetHasLfe(format_.extensible && (format_.channelMask & 0x8) != 0);
  // The attached status page asks for its snapshot on a timer of its own
  // thread: refreshing its windows from here could wait for a user-interface
  // thread that is itself waiting for streaming to stop.
  return LinkChain().Receive(sample, true);
}

}  // namespace zmsp
