#include "soundproc/dmo/AudioMediaObject.h"

#include <algorithm>
#include <cstring>

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/WaveFormat.h"
#ifdef _WIN32
#include <mediaerr.h>
#endif

namespace zmsp::dmo {

namespace {

static_assert(sizeof(DMO_MEDIA_TYPE) == sizeof(AM_MEDIA_TYPE), "the two media type records share one layout");

const AM_MEDIA_TYPE& AsAm(const DMO_MEDIA_TYPE& type) { return reinterpret_cast<const AM_MEDIA_TYPE&>(type); }
AM_MEDIA_TYPE& AsAm(DMO_MEDIA_TYPE& type) { return reinterpret_cast<AM_MEDIA_TYPE&>(type); }

}  // namespace

bool ParsePcm16(const DMO_MEDIA_TYPE& type, PcmFormat& format) {
  if (!guids::Same(type.majortype, guids::kMediaTypeAudio) ||
      !guids::Same(type.subtype, guids::kSubtypePcm)) {
    return false;
  }
  const PcmFormat parsed = PcmFormatOf(type);
  const bool tagKnown = parsed.formatTag == PcmFormat::kTagPcm || parsed.extensible;
  if (!parsed.parsed || !tagKnown || parsed.bitsPerSample != 16 || parsed.channels == 0 ||
      parsed.samplesPerSec == 0 || parsed.samplesPerSec > 0x7FFFFFFF ||
      parsed.blockAlign != parsed.FrameBytes()) {
    return false;
  }
  format = parsed;
  return true;
}

HRESULT FillPcm16Type(const PcmFormat& format, DMO_MEDIA_TYPE& type) {
  PcmFormat pcm16 = format;
  pcm16.formatTag = format.extensible ? PcmFormat::kTagExtensible : PcmFormat::kTagPcm;
  pcm16.bitsPerSample = 16;
  pcm16.validBitsPerSample = 16;
  std::memset(&type, 0, sizeof(type));
  const HRESULT hr = SetWaveFormat(pcm16, type);
  if (FAILED(hr)) return hr;
  type.majortype = guids::kMediaTypeAudio;
  type.subtype = guids::kSubtypePcm;
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = pcm16.FrameBytes();
  return S_OK;
}

AudioMediaObject::AudioMediaObject(const CLSID& classId, const CLSID& pageId, std::size_t blockSize)
    : classId_(classId), pageId_(pageId), blockSize_(std::min(blockSize, kMaxBlockSize)) {}

AudioMediaObject::~AudioMediaObject() = default;

IUnknown* AudioMediaObject::FindInterface(REFIID riid) {
  static const InterfaceEntry<AudioMediaObject> kInterfaces[] = {
      Implements<AudioMediaObject, IMediaObject>(IID_IMediaObject),
      Implements<AudioMediaObject, IPersistStream>(IID_IPersistStream),
      Implements<AudioMediaObject, IPersist>(IID_IPersist),
      Implements<AudioMediaObject, ISpecifyPropertyPages>(IID_ISpecifyPropertyPages),
  };
  return FindInTable(*this, kInterfaces, riid);
}

// --- streams and types ---------------------------------------------------------

HRESULT AudioMediaObject::GetStreamCount(DWORD* inputStreams, DWORD* outputStreams) {
  if (inputStreams == nullptr || outputStreams == nullptr) return E_POINTER;
  *inputStreams = 1;
  *outputStreams = 1;
  return S_OK;
}

HRESULT AudioMediaObject::GetInputStreamInfo(DWORD stream, DWORD* flags) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (flags == nullptr) return E_POINTER;
  *flags = 0;
  return S_OK;
}

HRESULT AudioMediaObject::GetOutputStreamInfo(DWORD stream, DWORD* flags) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (flags == nullptr) return E_POINTER;
  *flags = 0;
  return S_OK;
}

HRESULT AudioMediaObject::GetInputType(DWORD stream, DWORD typeIndex, DMO_MEDIA_TYPE* type) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (typeIndex != 0) return DMO_E_NO_MORE_ITEMS;
  if (type == nullptr) return S_OK;
  // A partial type: any 16-bit PCM layout the subclass accepts.
  std::memset(type, 0, sizeof(*type));
  type->majortype = guids::kMediaTypeAudio;
  type->subtype = guids::kSubtypePcm;
  return S_OK;
}

HRESULT AudioMediaObject::GetOutputType(DWORD stream, DWORD typeIndex, DMO_MEDIA_TYPE* type) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  std::lock_guard lock(mutex_);
  if (!inputSet_) return DMO_E_TYPE_NOT_SET;
  PcmFormat choice;
  if (!OutputChoice(in_, typeIndex, choice)) return DMO_E_NO_MORE_ITEMS;
  if (type == nullptr) return S_OK;
  return FillPcm16Type(choice, *type);
}

HRESULT AudioMediaObject::SetInputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  std::lock_guard lock(mutex_);
  if ((flags & DMO_SET_TYPEF_CLEAR) != 0) {
    ReleaseHeldInput();
    inputType_.Clear();
    inputSet_ = false;
    return S_OK;
  }
  if (type == nullptr) return E_POINTER;
  PcmFormat format;
  if (!ParsePcm16(*type, format) || !AcceptsInput(format)) return DMO_E_TYPE_NOT_ACCEPTED;
  if ((flags & DMO_SET_TYPEF_TEST_ONLY) != 0) return S_OK;
  if (!inputType_.Set(AsAm(*type))) return E_OUTOFMEMORY;
  ReleaseHeldInput();
  in_ = format;
  inputSet_ = true;
  // An output type that no longer fits the input is dropped; one that fits
  // is configured again for the new input.
  if (outputSet_ && (!AcceptsOutput(in_, out_) || !Configure(in_, out_))) ClearOutputType();
  return S_OK;
}

HRESULT AudioMediaObject::SetOutputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  std::lock_guard lock(mutex_);
  if ((flags & DMO_SET_TYPEF_CLEAR) != 0) {
    ClearOutputType();
    return S_OK;
  }
  if (type == nullptr) return E_POINTER;
  if (!inputSet_) return DMO_E_TYPE_NOT_SET;
  PcmFormat format;
  if (!ParsePcm16(*type, format) || !AcceptsOutput(in_, format)) return DMO_E_TYPE_NOT_ACCEPTED;
  if ((flags & DMO_SET_TYPEF_TEST_ONLY) != 0) return S_OK;
  if (!Configure(in_, format)) return DMO_E_TYPE_NOT_ACCEPTED;
  if (!outputType_.Set(AsAm(*type))) {
    ClearOutputType();
    return E_OUTOFMEMORY;
  }
  ReleaseHeldInput();
  out_ = format;
  outputSet_ = true;
  return S_OK;
}

HRESULT AudioMediaObject::GetInputCurrentType(DWORD stream, DMO_MEDIA_TYPE* type) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (type == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (!inputSet_) return DMO_E_TYPE_NOT_SET;
  return CopyMediaType(&AsAm(*type), &inputType_.Get());
}

HRESULT AudioMediaObject::GetOutputCurrentType(DWORD stream, DMO_MEDIA_TYPE* type) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (type == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (!outputSet_) return DMO_E_TYPE_NOT_SET;
  return CopyMediaType(&AsAm(*type), &outputType_.Get());
}

HRESULT AudioMediaObject::GetInputSizeInfo(DWORD stream, DWORD* size, DWORD* maxLookahead, DWORD* alignment) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (size == nullptr || maxLookahead == nullptr || alignment == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (!inputSet_) return DMO_E_TYPE_NOT_SET;
  *size = static_cast<DWORD>(in_.FrameBytes());
  *maxLookahead = 0;
  *alignment = 1;
  return S_OK;
}

HRESULT AudioMediaObject::GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (size == nullptr || alignment == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (!outputSet_) return DMO_E_TYPE_NOT_SET;
  *size = static_cast<DWORD>(out_.FrameBytes());
  *alignment = 1;
  return S_OK;
}

HRESULT AudioMediaObject::GetInputMaxLatency(DWORD, REFERENCE_TIME*) { return E_NOTIMPL; }
HRESULT AudioMediaObject::SetInputMaxLatency(DWORD, REFERENCE_TIME) { return E_NOTIMPL; }

// --- streaming -------------------------------------------------------------------

HRESULT AudioMediaObject::Flush() {
  std::lock_guard lock(mutex_);
  ReleaseHeldInput();
  DropStream();
  return S_OK;
}

HRESULT AudioMediaObject::Discontinuity(DWORD stream) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  std::lock_guard lock(mutex_);
  if (!TypesSet()) return DMO_E_TYPE_NOT_SET;
  if (held_) return DMO_E_NOTACCEPTING;
  EndOfInput();
  return S_OK;
}

HRESULT AudioMediaObject::AllocateStreamingResources() { return S_OK; }
HRESULT AudioMediaObject::FreeStreamingResources() { return S_OK; }

HRESULT AudioMediaObject::GetInputStatus(DWORD stream, DWORD* flags) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (flags == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  *flags = held_ ? 0 : DMO_INPUT_STATUSF_ACCEPT_DATA;
  return S_OK;
}

HRESULT AudioMediaObject::ProcessInput(DWORD stream, IMediaBuffer* buffer, DWORD, REFERENCE_TIME,
                                       REFERENCE_TIME) {
  if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
  if (buffer == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (!TypesSet()) return DMO_E_TYPE_NOT_SET;
  if (held_) return DMO_E_NOTACCEPTING;
  BYTE* data = nullptr;
  DWORD length = 0;
  const HRESULT hr = buffer->GetBufferAndLength(&data, &length);
  if (FAILED(hr)) return hr;
  // Whole frames only: a trailing partial frame cannot be converted.
  const std::size_t frames = data != nullptr ? length / in_.FrameBytes() : 0;
  if (frames == 0) return S_FALSE;
  held_ = ComPtr<IMediaBuffer>(buffer);
  heldData_ = data;
  heldFrames_ = frames;
  heldPosition_ = 0;
  return S_OK;
}

HRESULT AudioMediaObject::ProcessOutput(DWORD flags, DWORD bufferCount, DMO_OUTPUT_DATA_BUFFER* buffers,
                                        DWORD* status) {
  if (bufferCount != 1) return E_INVALIDARG;
  if (buffers == nullptr || status == nullptr) return E_POINTER;
  *status = 0;
  buffers[0].dwStatus = 0;
  std::lock_guard lock(mutex_);
  if (!TypesSet()) return DMO_E_TYPE_NOT_SET;
  IMediaBuffer* output = buffers[0].pBuffer;
  if (output == nullptr) {
    if ((flags & DMO_PROCESS_OUTPUT_DISCARD_WHEN_NO_BUFFER) == 0) return E_POINTER;
    ReleaseHeldInput();
    DropStream();
    return S_FALSE;
  }
  BYTE* data = nullptr;
  DWORD length = 0;
  DWORD maxLength = 0;
  HRESULT hr = output->GetBufferAndLength(&data, &length);
  if (SUCCEEDED(hr)) hr = output->GetMaxLength(&maxLength);
  if (FAILED(hr)) return hr;
  if (data == nullptr || length > maxLength) return E_INVALIDARG;

  const std::size_t written = ConvertInto(data + length, maxLength - length);
  if (written != 0) {
    hr = output->SetLength(static_cast<DWORD>(length + written));
    if (FAILED(hr)) return hr;
  }
  if (held_ || HasPendingOutput()) buffers[0].dwStatus |= DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
  return written != 0 ? S_OK : S_FALSE;
}

std::size_t AudioMediaObject::ConvertInto(BYTE* data, std::size_t room) {
  const std::size_t capacity = room / out_.FrameBytes();
  std::size_t produced = 0;
  while (produced < capacity) {
    const std::size_t left = heldFrames_ - heldPosition_;
    std::size_t consumed = 0;
    const std::int16_t* in =
        left != 0 ? reinterpret_cast<const std::int16_t*>(heldData_ + heldPosition_ * in_.FrameBytes())
                  : nullptr;
    auto* out = reinterpret_cast<std::int16_t*>(data + produced * out_.FrameBytes());
    const std::size_t made = Convert(in, left, consumed, out, capacity - produced);
    heldPosition_ += std::min(consumed, left);
    produced += made;
    if (held_ && heldPosition_ == heldFrames_) ReleaseHeldInput();
    if (made == 0 && consumed == 0) break;
  }
  return produced * out_.FrameBytes();
}

HRESULT AudioMediaObject::Lock(LONG lock) {
  if (lock != 0) {
    mutex_.lock();
  } else {
    mutex_.unlock();
  }
  return S_OK;
}

void AudioMediaObject::ReleaseHeldInput() {
  held_.Reset();
  heldData_ = nullptr;
  heldFrames_ = 0;
  heldPosition_ = 0;
}

void AudioMediaObject::ClearOutputType() {
  ReleaseHeldInput();
  outputType_.Clear();
  outputSet_ = false;
}

// --- persisted parameters ----------------------------------------------------------

HRESULT AudioMediaObject::GetClassID(CLSID* classId) {
  if (classId == nullptr) return E_POINTER;
  *classId = classId_;
  return S_OK;
}

// Only Load changes the parameters, so the object never differs from what
// it was last loaded from or saved to.
HRESULT AudioMediaObject::IsDirty() { return S_FALSE; }

HRESULT AudioMediaObject::Load(IStream* stream) {
  if (stream == nullptr) return E_POINTER;
  BYTE block[kMaxBlockSize];
  ULONG read = 0;
  const HRESULT hr = stream->Read(block, static_cast<ULONG>(blockSize_), &read);
  if (FAILED(hr)) return hr;
  if (read != blockSize_) return E_FAIL;
  std::lock_guard lock(mutex_);
  return LoadBlock(block) ? S_OK : E_INVALIDARG;
}

HRESULT AudioMediaObject::Save(IStream* stream, BOOL) {
  if (stream == nullptr) return E_POINTER;
  BYTE block[kMaxBlockSize] = {};
  {
    std::lock_guard lock(mutex_);
    SaveBlock(block);
  }
  ULONG written = 0;
  const HRESULT hr = stream->Write(block, static_cast<ULONG>(blockSize_), &written);
  if (FAILED(hr)) return hr;
  return written == blockSize_ ? S_OK : E_FAIL;
}

HRESULT AudioMediaObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = blockSize_;
  return S_OK;
}

HRESULT AudioMediaObject::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (pages->pElems == nullptr) {
    pages->cElems = 0;
    return E_OUTOFMEMORY;
  }
  pages->pElems[0] = pageId_;
  pages->cElems = 1;
  return S_OK;
}

}  // namespace zmsp::dmo
