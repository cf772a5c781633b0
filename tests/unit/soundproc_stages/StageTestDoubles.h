#pragma once
// A media sample, a filter handing out output samples and an output pin that
// keeps what it is given: enough of DirectShow to drive stages on their own.

#include <cstdint>
#include <cstring>
#include <vector>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/contract/ProcessingStage.h"

namespace zmsp::test {

class TestSample final : public ComObject<IMediaSample> {
 public:
  explicit TestSample(LONG size) : buffer_(static_cast<std::size_t>(size)) {}

  // One reference for the caller.
  static TestSample* Create(LONG size) { return new TestSample(size); }

  HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override {
    if (pointerFails) return E_FAIL;
    *buffer = buffer_.data();
    return S_OK;
  }
  LONG STDMETHODCALLTYPE GetSize() override { return static_cast<LONG>(buffer_.size()); }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override {
    if (!timeValid_) return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = start_;
    *end = stop_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override {
    timeValid_ = start != nullptr;
    if (start != nullptr) start_ = *start;
    if (end != nullptr) stop_ = *end;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsSyncPoint() override { return syncPoint_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL value) override {
    syncPoint_ = value != FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsPreroll() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetPreroll(BOOL) override { return S_OK; }
  LONG STDMETHODCALLTYPE GetActualDataLength() override { return actual_; }
  HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) override {
    if (length < 0 || length > GetSize()) return E_INVALIDARG;
    actual_ = length;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** type) override {
    if (type_ == nullptr) {
      *type = nullptr;
      return S_FALSE;
    }
    *type = CreateMediaType(type_);
    return *type != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* type) override {
    DeleteMediaType(type_);
    type_ = type != nullptr ? CreateMediaType(type) : nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDiscontinuity() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
  HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG*, LONGLONG*) override { return S_OK; }

  template <typename Sample>
  void Fill(const std::vector<Sample>& samples) {
    std::memcpy(buffer_.data(), samples.data(), samples.size() * sizeof(Sample));
    actual_ = static_cast<LONG>(samples.size() * sizeof(Sample));
  }
  template <typename Sample>
  std::vector<Sample> Samples() const {
    std::vector<Sample> samples(static_cast<std::size_t>(actual_) / sizeof(Sample));
    std::memcpy(samples.data(), buffer_.data(), samples.size() * sizeof(Sample));
    return samples;
  }
  bool HasMediaType() const { return type_ != nullptr; }
  ULONG References() {
    AddRef();
    return Release();
  }

  bool pointerFails = false;

 private:
  ~TestSample() override { DeleteMediaType(type_); }
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<TestSample> kInterfaces[] = {
        Implements<TestSample, IMediaSample>(IID_IMediaSample)};
    return FindInTable(*this, kInterfaces, riid);
  }

  std::vector<BYTE> buffer_;
  LONG actual_ = 0;
  bool timeValid_ = false;
  REFERENCE_TIME start_ = 0, stop_ = 0;
  bool syncPoint_ = false;
  AM_MEDIA_TYPE* type_ = nullptr;
};

// Hands out fresh output samples of a fixed size and counts them.
class TestFilter final : public StageFilter {
 public:
  HRESULT GetOutputSample(IMediaSample*, IMediaSample** output) override {
    if (failWith != S_OK) return failWith;
    ++handedOut;
    *output = TestSample::Create(outputSize);
    return S_OK;
  }
  LONG outputSize = 557056;
  HRESULT failWith = S_OK;
  int handedOut = 0;
};

// Keeps a reference to every delivered sample.
class TestOutputPin final : public StageOutputPin {
 public:
  ~TestOutputPin() {
    for (IMediaSample* sample : delivered) sample->Release();
  }
  HRESULT Deliver(IMediaSample* sample) override {
    sample->AddRef();
    delivered.push_back(sample);
    return result;
  }
  TestSample* Last() const { return static_cast<TestSample*>(delivered.back()); }

  std::vector<IMediaSample*> delivered;
  HRESULT result = S_OK;
};

// A wave media type: plain PCM, or WAVE_FORMAT_EXTENSIBLE with `mask`.
inline MediaType WaveType(WORD channels, WORD bits, bool extensible = false, DWORD mask = 0) {
  WAVEFORMATEXTENSIBLE format{};
  format.Format.wFormatTag = extensible ? 0xFFFE : 1;
  format.Format.nChannels = channels;
  format.Format.nSamplesPerSec = 48000;
  format.Format.wBitsPerSample = bits;
  format.Format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  format.Format.nAvgBytesPerSec = 48000u * format.Format.nBlockAlign;
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
