#pragma once
// Doubles for driving the expander and time-stretcher stages: a media sample
// that keeps every property, a filter and a next stage that keep what they
// get, a scriptable DMO (types, pieces of output, persisted block, failures)
// and scriptable DMO sources.

#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#ifdef _WIN32
#include <mediaerr.h>
#endif

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/contract/ProcessingStage.h"
#include "soundproc/stages/DmoCreation.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp::test {

class Sample final : public ComObject<IMediaSample> {
 public:
  explicit Sample(LONG size) : data(static_cast<std::size_t>(size)) {}
  ~Sample() override { DeleteMediaType(type); }

  HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override {
    *buffer = data.data();
    return S_OK;
  }
  LONG STDMETHODCALLTYPE GetSize() override { return static_cast<LONG>(data.size()); }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
    if (timeAnswer != S_OK) return timeAnswer;
    if (!hasStart) return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = this->start;
    *stop = this->stop;
    return hasStop ? S_OK : VFW_S_NO_STOP_TIME;
  }
  HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
    hasStart = start != nullptr;
    hasStop = stop != nullptr;
    if (hasStart) this->start = *start;
    if (hasStop) this->stop = *stop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsSyncPoint() override { return syncPoint ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL value) override {
    syncPoint = value != FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsPreroll() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetPreroll(BOOL) override { return S_OK; }
  LONG STDMETHODCALLTYPE GetActualDataLength() override { return actual; }
  HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) override {
    if (length < 0 || length > GetSize()) return E_INVALIDARG;
    actual = length;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** out) override {
    *out = type != nullptr ? CreateMediaType(type) : nullptr;
    return type != nullptr ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* value) override {
    DeleteMediaType(type);
    type = value != nullptr ? CreateMediaType(value) : nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDiscontinuity() override { return discontinuity ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL value) override {
    discontinuity = value != FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG* start, LONGLONG* stop) override {
    if (!hasMediaTimes) return VFW_E_MEDIA_TIME_NOT_SET;
    *start = mediaStart;
    *stop = mediaStop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG* start, LONGLONG* stop) override {
    hasMediaTimes = start != nullptr && stop != nullptr;
    if (hasMediaTimes) {
      mediaStart = *start;
      mediaStop = *stop;
    }
    return S_OK;
  }

  void Fill(const std::vector<std::int16_t>& samples) {
    std::memcpy(data.data(), samples.data(), samples.size() * 2);
    actual = static_cast<LONG>(samples.size() * 2);
  }
  std::vector<std::int16_t> Samples() const {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(actual) / 2);
    std::memcpy(samples.data(), data.data(), samples.size() * 2);
    return samples;
  }
  // The channel count of the type the sample carries, 0 without one.
  int TypeChannels() const {
    return type != nullptr && type->cbFormat >= sizeof(WAVEFORMATEX)
               ? reinterpret_cast<const WAVEFORMATEX*>(type->pbFormat)->nChannels
               : 0;
  }

  std::vector<BYTE> data;
  LONG actual = 0;
  HRESULT timeAnswer = S_OK;
  bool hasStart = false, hasStop = false;
  REFERENCE_TIME start = 0, stop = 0;
  bool hasMediaTimes = false;
  LONGLONG mediaStart = 0, mediaStop = 0;
  bool syncPoint = false, discontinuity = false;
  AM_MEDIA_TYPE* type = nullptr;

 protected:
  IUnknown* FindInterface(REFIID riid) override {
    static const InterfaceEntry<Sample> kTable[] = {Implements<Sample, IMediaSample>(IID_IMediaSample)};
    return FindInTable(*this, kTable, riid);
  }
};

// Hands out fresh samples of a fixed size.
class Filter final : public StageFilter {
 public:
  HRESULT GetOutputSample(IMediaSample*, IMediaSample** output) override {
    *output = MakeComObject<Sample>(outputSize).Detach();
    return S_OK;
  }
  LONG outputSize = 65536;
};

// The stage after the one under test: keeps every sample and its flag.
class NextStage final : public ProcessingStage {
 public:
  ~NextStage() override {
    for (Sample* sample : received) sample->Release();
  }
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override {
    sample->AddRef();
    received.push_back(static_cast<Sample*>(sample));
    upstream.push_back(isUpstreamSample);
    return results.empty() ? S_OK : Pop();
  }
  HRESULT Pop() {
    const HRESULT hr = results.front();
    results.pop_front();
    return hr;
  }
  std::vector<Sample*> received;
  std::vector<bool> upstream;
  std::deque<HRESULT> results;
};

// A scriptable DMO with a persisted block of `blockSize` bytes.
class FakeDmo final : public ComObject<IMediaObject, IPersistStream> {
 public:
  explicit FakeDmo(std::size_t blockSize) : block(blockSize) {
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(0xA0 + i);
  }
  ~FakeDmo() override { held.Reset(); }

  HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputType(DWORD, DWORD, DMO_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputType(DWORD, DWORD, DMO_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD, const DMO_MEDIA_TYPE* type, DWORD flags) override {
    if ((flags & DMO_SET_TYPEF_CLEAR) != 0) return S_OK;
    inputType.Set(*reinterpret_cast<const AM_MEDIA_TYPE*>(type));
    return refuseTypes ? DMO_E_TYPE_NOT_ACCEPTED : S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD, const DMO_MEDIA_TYPE* type, DWORD flags) override {
    if ((flags & DMO_SET_TYPEF_CLEAR) != 0) return S_OK;
    outputType.Set(*reinterpret_cast<const AM_MEDIA_TYPE*>(type));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD, DMO_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD, DMO_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD, DWORD*, DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD, DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD, REFERENCE_TIME*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD, REFERENCE_TIME) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Discontinuity(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AllocateStreamingResources() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreeStreamingResources() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD, DWORD* flags) override {
    *flags = DMO_INPUT_STATUSF_ACCEPT_DATA;
    return S_OK;
  }
  // Keeps a copy of the input and the buffer itself until the output is taken.
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD, IMediaBuffer* buffer, DWORD, REFERENCE_TIME,
                                         REFERENCE_TIME) override {
    if (FAILED(inputResult)) return inputResult;
    BYTE* bytes = nullptr;
    DWORD length = 0;
    buffer->GetBufferAndLength(&bytes, &length);
    input.assign(bytes, bytes + length);
    held = ComPtr<IMediaBuffer>(buffer);
    return S_OK;
  }
  // Gives `pieces` bytes per call when set, else the input echoed with every
  // second 16-bit sample raised by 1000 (so a left/right swap shows).
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD, DWORD, DMO_OUTPUT_DATA_BUFFER* buffers, DWORD*) override {
    if (FAILED(outputResult)) return outputResult;
    BYTE* bytes = nullptr;
    DWORD max = 0;
    buffers[0].pBuffer->GetBufferAndLength(&bytes, nullptr);
    buffers[0].pBuffer->GetMaxLength(&max);
    std::vector<BYTE> out = input;
    if (pieces.empty()) {
      for (std::size_t i = 2; i + 1 < out.size(); i += 4) {
        const auto v = static_cast<std::int16_t>(out[i] | (out[i + 1] << 8)) + 1000;
        out[i] = static_cast<BYTE>(v);
        out[i + 1] = static_cast<BYTE>(v >> 8);
      }
    } else {
      out.assign(pieces.front(), 0x11);
      pieces.pop_front();
    }
    if (!out.empty()) std::memcpy(bytes, out.data(), std::min<std::size_t>(out.size(), max));
    buffers[0].pBuffer->SetLength(static_cast<DWORD>(std::min<std::size_t>(out.size(), max)));
    buffers[0].dwStatus = pieces.empty() ? 0 : DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
    if (pieces.empty()) held.Reset();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Lock(LONG) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
    *id = GUID_NULL;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) override {
    ++loads;
    ULONG read = 0;
    return stream->Read(block.data(), static_cast<ULONG>(block.size()), &read);
  }
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL) override {
    if (FAILED(saveResult)) return saveResult;
    ULONG written = 0;
    return stream->Write(block.data(), static_cast<ULONG>(block.size()), &written);
  }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

  std::uint32_t Word(std::size_t index) const {
    std::uint32_t value = 0;
    std::memcpy(&value, block.data() + index * 4, 4);
    return value;
  }

  std::vector<BYTE> block;
  int loads = 0;
  HRESULT saveResult = S_OK, inputResult = S_OK, outputResult = S_OK;
  bool refuseTypes = false;
  std::deque<std::size_t> pieces;
  std::vector<BYTE> input;
  MediaType inputType, outputType;
  ComPtr<IMediaBuffer> held;

 protected:
  IUnknown* FindInterface(REFIID riid) override {
    static const InterfaceEntry<FakeDmo> kTable[] = {Implements<FakeDmo, IMediaObject>(IID_IMediaObject),
                                                     Implements<FakeDmo, IPersistStream>(IID_IPersistStream)};
    return FindInTable(*this, kTable, riid);
  }
};

// Scripted answers of COM class creation; hands out `dmo` on success.
class FakeClasses final : public ComClassCreator {
 public:
  HRESULT CreateInProcess(const CLSID& classId, IMediaObject** out) override {
    ++creations;
    const HRESULT hr = answers.empty() ? S_OK : answers.front();
    if (!answers.empty()) answers.pop_front();
    *out = nullptr;
    if (SUCCEEDED(hr)) dmo->QueryInterface(IID_IMediaObject, reinterpret_cast<void**>(out));
    return hr;
  }
  HRESULT InitializeMultithreaded() override {
    ++initializations;
    return initResult;
  }
  ComPtr<IMediaObject> dmo;
  std::deque<HRESULT> answers;
  HRESULT initResult = S_OK;
  int creations = 0, initializations = 0;
};

// Collects the stages' messages for the life of a test.
class Messages {
 public:
  Messages() {
    SetStageMessageHandler([this](std::string_view text) { shown.emplace_back(text); });
  }
  ~Messages() { SetStageMessageHandler({}); }
  std::vector<std::string> shown;
};

// A PCM wave type: plain, or WAVE_FORMAT_EXTENSIBLE with `mask`.
inline MediaType Wave(WORD channels, DWORD rate = 48000, WORD bits = 16, bool extensible = false,
                      DWORD mask = 0) {
  WAVEFORMATEXTENSIBLE format{};
  format.Format.wFormatTag = extensible ? 0xFFFE : 1;
  format.Format.nChannels = channels;
  format.Format.nSamplesPerSec = rate;
  format.Format.wBitsPerSample = bits;
  format.Format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  format.Format.nAvgBytesPerSec = rate * format.Format.nBlockAlign;
  format.Format.cbSize = extensible ? 22 : 0;
  format.Samples.wValidBitsPerSample = bits;
  format.dwChannelMask = mask;
  format.SubFormat = guids::kKsDataFormatSubtypePcm;
  AM_MEDIA_TYPE type{};
  type.majortype = guids::kMediaTypeAudio;
  type.subtype = guids::kSubtypePcm;
  type.formattype = guids::kFormatWaveFormatEx;
  type.cbFormat = extensible ? sizeof(WAVEFORMATEXTENSIBLE) : sizeof(WAVEFORMATEX);
  type.pbFormat = reinterpret_cast<BYTE*>(&format);
  MediaType owned;
  owned.Set(type);
  return owned;
}

}  // namespace zmsp::test
