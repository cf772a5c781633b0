// Creation, interfaces and media-type negotiation of SoundProcessorFilter.
#include <gtest/gtest.h>

#include "tests/unit/soundproc_frame/FilterHarness.h"

namespace zmsp::test {
namespace {

using host::PcmType;

TEST(FilterCreation, RefusedUnlessAStageIsSwitchedOn) {
  MemorySettingsStore store;
  SoundProcessorFilter* filter = reinterpret_cast<SoundProcessorFilter*>(0x1);
  EXPECT_EQ(SoundProcessorFilter::Create(store, &filter), E_FAIL);
  EXPECT_EQ(filter, nullptr);
  store.SetDword(keys::kSoundMeter, "Enable", 1);  // the meter has no switch
  store.SetDword(keys::kChannelExpander, "AC3Only", 1);
  EXPECT_EQ(SoundProcessorFilter::Create(store, &filter), E_FAIL);
  EXPECT_EQ(ServerObjects::Objects(), 0);

  for (const std::string* key : {&keys::kChannelExpander, &keys::kChannelControl, &keys::kTimeStretcher}) {
    MemorySettingsStore one;
    one.SetDword(*key, "Enable", 1);
    ASSERT_EQ(SoundProcessorFilter::Create(one, &filter), S_OK) << *key;
    EXPECT_EQ(filter->Release(), 0u);
  }
  EXPECT_EQ(ServerObjects::Objects(), 0);
}

class FilterNegotiation : public FilterHarness {};

TEST_F(FilterNegotiation, AnswersItsPrivateInterfacesAndTheBaseOnes) {
  Build(PcmType(1, 2, 44100, 16));
  ComPtr<ISoundProcessorStatus> status;
  ASSERT_EQ(filter->QueryInterface(guids::kISoundProcessorStatus, status.PutVoid()), S_OK);
  EXPECT_EQ(status->AttachPage(), S_OK);
  EXPECT_EQ(status->AttachPage(), E_FAIL) << "one status page at a time";
  status->DetachPage();
  EXPECT_EQ(status->AttachPage(), S_OK);
  status->DetachPage();

  ComPtr<ISpecifyPropertyPages> pages;
  ASSERT_EQ(filter->QueryInterface(IID_ISpecifyPropertyPages, pages.PutVoid()), S_OK);
  CAUUID ids{7, reinterpret_cast<GUID*>(0x1)};
  EXPECT_EQ(pages->GetPages(&ids), S_OK);
  ASSERT_EQ(ids.cElems, 2u) << "the status page, then the about page";
  EXPECT_TRUE(guids::Same(ids.pElems[0], guids::kSoundProcessorPage));
  EXPECT_TRUE(guids::Same(ids.pElems[1], guids::kSoundProcessorAboutPage));
  CoTaskMemFree(ids.pElems);

  ComPtr<IBaseFilter> base;
  ASSERT_EQ(pages->QueryInterface(IID_IBaseFilter, base.PutVoid()), S_OK);
  EXPECT_EQ(static_cast<IBaseFilter*>(filter.Get()), base.Get()) << "one COM identity";
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(filter->QueryInterface(IID_IMemInputPin, unknown.PutVoid()), E_NOINTERFACE);

  CLSID classId{};
  EXPECT_EQ(filter->GetClassID(&classId), S_OK);
  EXPECT_TRUE(guids::Same(classId, guids::kSoundProcessorFilter));
  FILTER_INFO info{};
  EXPECT_EQ(filter->QueryFilterInfo(&info), S_OK);
  if (info.pGraph != nullptr) info.pGraph->Release();
  PIN_INFO pin{};
  ASSERT_EQ(filter->InputPin().QueryPinInfo(&pin), S_OK);
  EXPECT_EQ(std::wstring(pin.achName), L"XForm In");
  pin.pFilter->Release();
  EXPECT_EQ(filter->OutputPin().Name(), L"XForm Out");
}

TEST_F(FilterNegotiation, InputTypesAcceptedAndRefused) {
  Build(PcmType(1, 2, 44100, 16));
  auto check = [&](const MediaType& type) { return filter->CheckInputType(&type.Get()); };
  EXPECT_EQ(filter->CheckInputType(nullptr), E_POINTER);
  EXPECT_EQ(check(PcmType(1, 2, 44100, 16)), S_OK);
  EXPECT_EQ(check(PcmType(1, 1, 8000, 32)), S_OK);
  EXPECT_EQ(check(PcmType(0x92, 1, 48000, 16)), S_OK) << "AC3 over S/PDIF, one channel";
  EXPECT_EQ(check(PcmType(0x92, 2, 48000, 16)), S_OK);
  EXPECT_EQ(check(PcmType(0x92, 3, 48000, 16)), E_FAIL);
  EXPECT_EQ(check(PcmType(1, 6, 48000, 16)), E_FAIL) << "six channels need the extensible format";
  EXPECT_EQ(check(PcmType(0xFFFE, 6, 48000, 16, 0x3F)), S_OK);
  EXPECT_EQ(check(PcmType(0xFFFE, 8, 48000, 32, 0xFF)), S_OK);
  EXPECT_EQ(check(PcmType(1, 2, 44100, 8)), E_FAIL);
  EXPECT_EQ(check(PcmType(1, 2, 44100, 24)), E_FAIL);
  EXPECT_EQ(check(PcmType(3, 2, 44100, 32)), E_FAIL) << "float";
  EXPECT_EQ(check(PcmType(1, 0, 44100, 16)), E_FAIL) << "no channels";

  MediaType wrongSubFormat = PcmType(0xFFFE, 2, 44100, 16, 3);
  reinterpret_cast<WAVEFORMATEXTENSIBLE*>(wrongSubFormat.Get().pbFormat)->SubFormat =
      guids::WaveFormatGuid(3);
  EXPECT_EQ(check(wrongSubFormat), E_FAIL);
  MediaType shortExtension = PcmType(0xFFFE, 2, 44100, 16, 3);
  reinterpret_cast<WAVEFORMATEX*>(shortExtension.Get().pbFormat)->cbSize = 21;
  EXPECT_EQ(check(shortExtension), E_FAIL);
  MediaType truncated = PcmType(0xFFFE, 2, 44100, 16, 3);
  truncated.Get().cbFormat = sizeof(WAVEFORMATEX) + 4;  // claims cbSize 22 but the block is short
  EXPECT_EQ(check(truncated), E_FAIL);
  MediaType video = PcmType(1, 2, 44100, 16);
  video.Get().majortype = guids::kSubtypeWave;
  EXPECT_EQ(check(video), E_FAIL);
  MediaType noFormat = PcmType(1, 2, 44100, 16);
  noFormat.Get().formattype = GUID{};
  EXPECT_EQ(check(noFormat), E_FAIL);

  EXPECT_EQ(
      filter->CheckTransform(&PcmType(1, 2, 44100, 16).Get(), &PcmType(0xFFFE, 6, 44100, 16, 0x3F).Get()),
      S_OK);
  EXPECT_EQ(filter->CheckTransform(&PcmType(1, 2, 44100, 16).Get(), &PcmType(1, 6, 44100, 16).Get()), E_FAIL);
}

TEST_F(FilterNegotiation, RefusedInputTypeLeavesThePinsUnconnected) {
  Build(PcmType(1, 6, 48000, 16));
  EXPECT_TRUE(FAILED(ConnectInput()));
  EXPECT_FALSE(filter->InputPin().IsConnected());
  EXPECT_FALSE(decoderOut->IsConnected());
}

TEST_F(FilterNegotiation, OutputTypeNeedsAConnectedInput) {
  Build(PcmType(1, 2, 44100, 16));
  MediaType type;
  EXPECT_EQ(filter->GetMediaType(0, &type), E_UNEXPECTED);
  EXPECT_EQ(CheckInputConnect(), S_FALSE) << "no file source: file type 0";
  ASSERT_EQ(ConnectInput(), S_OK);
  EXPECT_EQ(filter->GetMediaType(-1, &type), E_INVALIDARG);
  EXPECT_EQ(filter->GetMediaType(1, &type), VFW_S_NO_MORE_ITEMS);
  ASSERT_EQ(filter->GetMediaType(0, &type), S_OK);
  EXPECT_EQ(reinterpret_cast<const WAVEFORMATEX*>(type.Get().pbFormat)->nChannels, 2)
      << "expander off: a copy";

  store.SetDword(keys::kChannelExpander, "Enable", 1);
  stages->RefreshExpanderSettings(Settings(store));
  ASSERT_EQ(filter->GetMediaType(0, &type), S_OK);
  EXPECT_EQ(reinterpret_cast<const WAVEFORMATEX*>(type.Get().pbFormat)->nChannels, 6);
}

// An allocator that grants less than it is asked for.
// It lives on the test's stack: the test holds its first reference throughout.
class StingyAllocator final : public ComObject<IMemAllocator> {
 public:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<StingyAllocator> kInterfaces[] = {
        Implements<StingyAllocator, IMemAllocator>(IID_IMemAllocator)};
    return FindInTable(*this, kInterfaces, riid);
  }
  HRESULT STDMETHODCALLTYPE SetProperties(ALLOCATOR_PROPERTIES* request,
                                          ALLOCATOR_PROPERTIES* actual) override {
    asked = *request;
    *actual = *request;
    actual->cBuffers -= fewerBuffers;
    actual->cbBuffer -= smallerBy;
    return result;
  }
  HRESULT STDMETHODCALLTYPE GetProperties(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Commit() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Decommit() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBuffer(IMediaSample**, REFERENCE_TIME*, REFERENCE_TIME*, DWORD) override {
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ReleaseBuffer(IMediaSample*) override { return E_FAIL; }
  ALLOCATOR_PROPERTIES asked{};
  LONG fewerBuffers = 0, smallerBy = 0;
  HRESULT result = S_OK;
};

TEST_F(FilterNegotiation, BufferSizeIsTwoBuffersOf557056Bytes) {
  Build(PcmType(1, 2, 44100, 16));
  StingyAllocator allocator;
  ALLOCATOR_PROPERTIES request{1, 100, 16, 0};
  EXPECT_EQ(filter->DecideBufferSize(nullptr, &request), E_POINTER);
  EXPECT_EQ(filter->DecideBufferSize(&allocator, nullptr), E_POINTER);
  ASSERT_EQ(filter->DecideBufferSize(&allocator, &request), S_OK);
  EXPECT_EQ(allocator.asked.cBuffers, 2);
  EXPECT_EQ(allocator.asked.cbBuffer, 557056);
  EXPECT_EQ(allocator.asked.cbAlign, 16) << "alignment left as requested";

  allocator.smallerBy = 1;
  request = {1, 100, 1, 0};
  EXPECT_EQ(filter->DecideBufferSize(&allocator, &request), E_FAIL);
  allocator.smallerBy = 0;
  allocator.fewerBuffers = 1;
  EXPECT_EQ(filter->DecideBufferSize(&allocator, &request), E_FAIL);
  allocator.result = E_OUTOFMEMORY;
  EXPECT_EQ(filter->DecideBufferSize(&allocator, &request), E_OUTOFMEMORY);
}

TEST_F(FilterNegotiation, ConnectedOutputUsesOwnAllocatorWithTheAgreedSize) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ALLOCATOR_PROPERTIES props{};
  ASSERT_NE(filter->OutputPin().Allocator(), nullptr);
  filter->OutputPin().Allocator()->GetProperties(&props);
  EXPECT_EQ(props.cBuffers, 2);
  EXPECT_EQ(props.cbBuffer, 557056);
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(sink->ConnectionMediaType(&type), S_OK);
  EXPECT_EQ(reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat)->nChannels, 2);
  FreeMediaType(type);
}

}  // namespace
}  // namespace zmsp::test
