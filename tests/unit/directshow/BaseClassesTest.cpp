// Allocator, media samples, the sample helpers and SampleMediaBuffer.
#include <gtest/gtest.h>

#include "directshow/base/MemAllocator.h"
#include "directshow/base/SampleHelpers.h"
#include "directshow/base/SampleMediaBuffer.h"

namespace ds {
namespace {

// A PCM audio type of `channels` channels.
MediaType AudioType(WORD channels) {
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = channels;
  wave.nSamplesPerSec = 8000;
  wave.wBitsPerSample = 16;
  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_Audio;
  type.subtype = MEDIASUBTYPE_PCM;
  type.formattype = FORMAT_WaveFormatEx;
  type.cbFormat = sizeof(wave);
  type.pbFormat = reinterpret_cast<BYTE*>(&wave);
  MediaType result;
  result.Set(type);
  return result;
}

WORD Channels(const AM_MEDIA_TYPE& type) {
  return reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat)->nChannels;
}

class AllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override { allocator = ComPtr<MemAllocator>::Adopt(MemAllocator::Create()); }
  ComPtr<IMediaSample> Take() {
    ComPtr<IMediaSample> sample;
    EXPECT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
    return sample;
  }
  ComPtr<MemAllocator> allocator;
};

TEST_F(AllocatorTest, HandsOutAlignedBuffersAndTakesThemBack) {
  ALLOCATOR_PROPERTIES request{2, 1000, 64, 0}, actual{};
  IMediaSample* none = nullptr;
  EXPECT_EQ(allocator->GetBuffer(&none, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
  EXPECT_EQ(allocator->Commit(), VFW_E_SIZENOTSET);
  ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
  EXPECT_EQ(actual.cBuffers, 2);
  EXPECT_GE(actual.cbBuffer, 1000);
  ASSERT_EQ(allocator->Commit(), S_OK);
  {
    auto a = Take();
    auto b = Take();
    BYTE* data = nullptr;
    a->GetPointer(&data);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 64, 0u);
    EXPECT_EQ(allocator->Outstanding(), 2);
    EXPECT_EQ(allocator->GetBuffer(&none, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_ALREADY_COMMITTED);
  }
  EXPECT_EQ(allocator->Outstanding(), 0);
  request.cbAlign = 3;
  allocator->Decommit();
  EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_BADALIGN);
}

TEST_F(AllocatorTest, DecommitWithSamplesOutFreesThemOnReturn) {
  ALLOCATOR_PROPERTIES request{1, 16, 1, 0}, actual{};
  allocator->SetProperties(&request, &actual);
  allocator->Commit();
  auto sample = Take();
  EXPECT_EQ(allocator->Decommit(), S_OK);
  IMediaSample* none = nullptr;
  EXPECT_EQ(allocator->GetBuffer(&none, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
  sample.Reset();  // the allocator survives until its last sample is back
  EXPECT_EQ(allocator->Outstanding(), 0);
}

TEST_F(AllocatorTest, SamplesKeepTimesFlagsAndTypesUntilReused) {
  ALLOCATOR_PROPERTIES request{1, 16, 1, 0}, actual{};
  allocator->SetProperties(&request, &actual);
  allocator->Commit();
  auto sample = Take();
  REFERENCE_TIME start = 0, stop = 0;
  EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
  REFERENCE_TIME s = 10, e = 20;
  sample->SetTime(&s, nullptr);
  EXPECT_EQ(sample->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
  sample->SetTime(&s, &e);
  EXPECT_EQ(sample->GetTime(&start, &stop), S_OK);
  EXPECT_EQ(stop, 20);
  EXPECT_EQ(sample->SetActualDataLength(17), VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(sample->SetActualDataLength(16), S_OK);
  AM_MEDIA_TYPE* type = nullptr;
  EXPECT_EQ(sample->GetMediaType(&type), S_FALSE);
  MediaType pcm = AudioType(2);
  sample->SetMediaType(&pcm.Get());
  ASSERT_EQ(sample->GetMediaType(&type), S_OK);
  EXPECT_EQ(Channels(*type), 2);
  DeleteMediaType(type);
  sample->SetDiscontinuity(TRUE);
  sample.Reset();
  sample = Take();
  EXPECT_EQ(sample->GetMediaType(&type), S_FALSE) << "properties are cleared for the next user";
  EXPECT_EQ(sample->IsDiscontinuity(), S_FALSE);
  EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
}

// A sample that answers whatever the test sets, to probe the helpers.
// It lives on the test's stack: the test holds its first reference throughout.
class ProbeSample final : public ComObject<IMediaSample> {
 public:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<ProbeSample> kInterfaces[] = {
        Implements<ProbeSample, IMediaSample>(IID_IMediaSample)};
    return FindInTable(*this, kInterfaces, riid);
  }
  HRESULT STDMETHODCALLTYPE GetPointer(BYTE** b) override {
    *b = bytes;
    return S_OK;
  }
  LONG STDMETHODCALLTYPE GetSize() override { return size; }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* s, REFERENCE_TIME* e) override {
    *s = 5;
    *e = 9;
    return timeResult;
  }
  HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* s, REFERENCE_TIME* e) override {
    timeSet = s != nullptr;
    stopSet = e != nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsSyncPoint() override { return syncAnswer; }
  HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL v) override {
    sync = v;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsPreroll() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetPreroll(BOOL) override { return S_OK; }
  LONG STDMETHODCALLTYPE GetActualDataLength() override { return actual; }
  HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG l) override {
    actual = l;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** t) override {
    *t = type.IsEmpty() ? nullptr : CreateMediaType(&type.Get());
    return *t != nullptr ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* t) override {
    if (t == nullptr) {
      type.Clear();
    } else {
      type.Set(*t);
    }
    typeSets++;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDiscontinuity() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
  HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG*, LONGLONG*) override {
    mediaTimeSet = true;
    return S_OK;
  }

  BYTE bytes[16] = {};
  LONG size = 16, actual = 0;
  HRESULT timeResult = S_OK, syncAnswer = S_OK;
  bool timeSet = false, stopSet = false, mediaTimeSet = false;
  BOOL sync = FALSE;
  int typeSets = 0;
  MediaType type;
};

TEST(SampleHelpers, PropertiesFollowTheOverrideRules) {
  ProbeSample source, destination;
  const MediaType in = AudioType(2);
  const MediaType out = AudioType(6);
  destination.type = out;

  // No type on the source: the destination ends up with none, override or not.
  ASSERT_EQ(CopySampleProperties(&source, &destination, &out.Get()), S_OK);
  EXPECT_TRUE(destination.type.IsEmpty());
  EXPECT_TRUE(destination.timeSet && destination.stopSet);
  EXPECT_FALSE(destination.mediaTimeSet);
  EXPECT_TRUE(destination.sync);

  source.type = in;
  ASSERT_EQ(CopySampleProperties(&source, &destination, &out.Get()), S_OK);
  EXPECT_EQ(Channels(destination.type.Get()), 6);
  ASSERT_EQ(CopySampleProperties(&source, &destination, nullptr), S_OK);
  EXPECT_EQ(Channels(destination.type.Get()), 2);

  source.timeResult = VFW_S_NO_STOP_TIME;
  destination.timeSet = destination.stopSet = false;
  CopySampleProperties(&source, &destination, nullptr);
  EXPECT_TRUE(destination.timeSet);
  EXPECT_FALSE(destination.stopSet);

  source.syncAnswer = E_NOTIMPL;
  EXPECT_EQ(CopySampleProperties(&source, &destination, nullptr), E_UNEXPECTED);
  source.syncAnswer = 2;  // a success code that is neither S_OK nor S_FALSE
  EXPECT_EQ(CopySampleProperties(&source, &destination, nullptr), E_UNEXPECTED);
}

TEST(SampleHelpers, DataCopyRefusesASmallerDestination) {
  ProbeSample source, destination;
  for (int i = 0; i < 16; ++i) source.bytes[i] = static_cast<BYTE>(i + 1);
  source.actual = 12;
  destination.size = 11;
  EXPECT_EQ(CopySampleData(&source, &destination), E_FAIL);
  EXPECT_EQ(destination.bytes[0], 0);
  destination.size = 12;
  ASSERT_EQ(CopySampleData(&source, &destination), S_OK);
  EXPECT_EQ(destination.actual, 12);
  EXPECT_EQ(destination.bytes[11], 12);
  EXPECT_EQ(destination.bytes[12], 0) << "nothing beyond the data";
}

TEST(SampleMediaBufferTest, ViewAndOwnedBuffersFollowTheContract) {
  BYTE memory[32] = {};
  IMediaBuffer* view = nullptr;
  ASSERT_EQ(SampleMediaBuffer::CreateView(memory, 8, 32, &view), S_OK);
  BYTE* data = nullptr;
  DWORD length = 0;
  EXPECT_EQ(view->GetBufferAndLength(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(view->GetBufferAndLength(&data, nullptr), S_OK);
  EXPECT_EQ(data, memory);
  EXPECT_EQ(view->GetBufferAndLength(nullptr, &length), S_OK);
  EXPECT_EQ(length, 8u);
  EXPECT_EQ(view->SetLength(33), E_INVALIDARG);
  EXPECT_EQ(view->SetLength(32), S_OK);
  EXPECT_EQ(view->GetMaxLength(nullptr), E_POINTER);
  IUnknown* unknown = nullptr;
  EXPECT_EQ(view->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(view->QueryInterface(IID_IMediaBuffer, nullptr), E_POINTER);
  void* other = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(view->QueryInterface(IID_IMediaSample, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(view->Release(), 0u);

  IMediaBuffer* owned = nullptr;
  ASSERT_EQ(SampleMediaBuffer::CreateOwning(4096, &owned), S_OK);
  DWORD maxLength = 0;
  owned->GetMaxLength(&maxLength);
  EXPECT_EQ(maxLength, 4096u);
  owned->GetBufferAndLength(&data, &length);
  EXPECT_EQ(length, 0u);
  data[4095] = 1;  // the whole block is ours (ASan checks)
  EXPECT_EQ(owned->Release(), 0u);
}

}  // namespace
}  // namespace ds
