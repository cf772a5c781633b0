// The pin and filter bases as a source filter and a transform filter use
// them: several output pins delivering on their own connections, input pins
// refusing what arrives at the wrong time, output types offered in order of
// preference, and seeking handed upstream.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "directshow/base/BaseInputPin.h"
#include "directshow/base/BaseOutputPin.h"
#include "directshow/base/MultiPinFilter.h"
#include "directshow/base/TransformFilter.h"

namespace ds {
namespace {

MediaType VideoType(const GUID& subtype) {
  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_Video;
  type.subtype = subtype;
  type.formattype = FORMAT_None;
  MediaType result;
  result.Set(type);
  return result;
}

// Offers `offered` in order; accepts any type.
class OfferingOutputPin final : public BaseOutputPin {
 public:
  OfferingOutputPin(BaseFilter& filter, const wchar_t* name, std::vector<GUID> offered)
      : BaseOutputPin(filter, name), offered_(std::move(offered)) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
  HRESULT GetMediaType(int position, MediaType& type) override {
    if (position >= static_cast<int>(offered_.size())) return VFW_S_NO_MORE_ITEMS;
    type = VideoType(offered_[static_cast<std::size_t>(position)]);
    return S_OK;
  }

 private:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
    request->cBuffers = 1;
    request->cbBuffer = 64;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
  }
  std::vector<GUID> offered_;
};

// Proposes and accepts the subtypes in `accepted` (accepts any when empty),
// and records what arrives.
class RecordingInputPin final : public BaseInputPin {
 public:
  RecordingInputPin(BaseFilter& filter, const wchar_t* name, std::vector<GUID> accepted = {})
      : BaseInputPin(filter, name), accepted_(std::move(accepted)) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override {
    if (accepted_.empty()) return S_OK;
    for (const GUID& subtype : accepted_) {
      if (guids::Same(type->subtype, subtype)) return S_OK;
    }
    return S_FALSE;
  }
  HRESULT GetMediaType(int position, MediaType& type) override {
    if (position >= static_cast<int>(accepted_.size())) return VFW_S_NO_MORE_ITEMS;
    type = VideoType(accepted_[static_cast<std::size_t>(position)]);
    return S_OK;
  }

  std::vector<REFERENCE_TIME> starts;
  int endsOfStream = 0;

 private:
  HRESULT OnReceive(IMediaSample* sample) override {
    REFERENCE_TIME start = 0, stop = 0;
    sample->GetTime(&start, &stop);
    starts.push_back(start);
    return S_OK;
  }
  HRESULT OnEndOfStream() override {
    ++endsOfStream;
    return S_OK;
  }
  std::vector<GUID> accepted_;
};

// Just enough of a graph to collect the events filters send.
class EventGraph final : public ComObject<IFilterGraph, IMediaEventSink> {
 public:
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override {
    return filter->JoinFilterGraph(this, name);
  }
  HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) override {
    return filter->JoinFilterGraph(nullptr, nullptr);
  }
  HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reconnect(IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Disconnect(IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Notify(LONG code, LONG_PTR, LONG_PTR) override {
    events.push_back(code);
    return S_OK;
  }
  std::vector<LONG> events;

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<EventGraph> kInterfaces[] = {
        Implements<EventGraph, IFilterGraph>(IID_IFilterGraph),
        Implements<EventGraph, IMediaEventSink>(IID_IMediaEventSink),
    };
    return FindInTable(*this, kInterfaces, riid);
  }
};

constexpr CLSID kSourceClass = {0x0D5B0001, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1}};
constexpr CLSID kSinkClass = {0x0D5B0002, 0, 0, {2, 2, 2, 2, 2, 2, 2, 2}};

HRESULT DeliverAt(OfferingOutputPin& pin, REFERENCE_TIME start) {
  ComPtr<IMediaSample> sample;
  HRESULT hr = pin.GetDeliveryBuffer(sample.Put());
  if (FAILED(hr)) return hr;
  REFERENCE_TIME stop = start + 1;
  sample->SetTime(&start, &stop);
  return pin.Deliver(sample.Get());
}

TEST(SourceFilterTest, EachOutputPinDeliversOnItsOwnConnection) {
  auto source = MakeComObject<MultiPinFilter>(kSourceClass, L"Source");
  auto sink = MakeComObject<MultiPinFilter>(kSinkClass, L"Sink");
  auto& video = source->AddPin<OfferingOutputPin>(L"Video", std::vector<GUID>{MEDIASUBTYPE_NV12});
  auto& audio = source->AddPin<OfferingOutputPin>(L"Audio", std::vector<GUID>{MEDIASUBTYPE_YV12});
  auto& videoIn = sink->AddPin<RecordingInputPin>(L"Video In");
  auto& audioIn = sink->AddPin<RecordingInputPin>(L"Audio In");

  // The pins enumerate in the order they were added, and by name.
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(source->EnumPins(pins.Put()), S_OK);
  IPin* listed[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(3, listed, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(listed[0], static_cast<IPin*>(&video));
  EXPECT_EQ(listed[1], static_cast<IPin*>(&audio));
  for (ULONG i = 0; i < fetched; ++i) listed[i]->Release();
  ComPtr<IPin> found;
  ASSERT_EQ(source->FindPin(L"Audio", found.Put()), S_OK);
  EXPECT_EQ(found.Get(), static_cast<IPin*>(&audio));

  ASSERT_EQ(video.Connect(&videoIn, nullptr), S_OK);
  ASSERT_EQ(audio.Connect(&audioIn, nullptr), S_OK);
  ComPtr<IMemAllocator> offered;
  ASSERT_EQ(videoIn.GetAllocator(offered.Put()), S_OK);
  EXPECT_EQ(video.Allocator(), offered.Get()) << "the downstream pin's allocator comes first";

  ASSERT_EQ(sink->Run(0), S_OK);
  ASSERT_EQ(source->Run(0), S_OK);
  EXPECT_EQ(DeliverAt(video, 10), S_OK);
  EXPECT_EQ(DeliverAt(audio, 20), S_OK);
  EXPECT_EQ(DeliverAt(video, 30), S_OK);
  EXPECT_EQ(videoIn.starts, (std::vector<REFERENCE_TIME>{10, 30}));
  EXPECT_EQ(audioIn.starts, (std::vector<REFERENCE_TIME>{20}));

  ASSERT_EQ(source->Stop(), S_OK);
  IMediaSample* none = nullptr;
  EXPECT_EQ(video.GetDeliveryBuffer(&none), VFW_E_NOT_COMMITTED);
  sink->Stop();
  video.Disconnect();
  videoIn.Disconnect();
  audio.Disconnect();
  audioIn.Disconnect();
}

TEST(InputPinTest, RefusesSamplesAtTheWrongTimeAndEndsOnARefusedTypeChange) {
  auto graph = MakeComObject<EventGraph>();
  auto source = MakeComObject<MultiPinFilter>(kSourceClass, L"Source");
  auto sink = MakeComObject<MultiPinFilter>(kSinkClass, L"Sink");
  auto& out = source->AddPin<OfferingOutputPin>(L"Out", std::vector<GUID>{MEDIASUBTYPE_NV12});
  auto& in = sink->AddPin<RecordingInputPin>(L"In", std::vector<GUID>{MEDIASUBTYPE_NV12});
  graph->AddFilter(sink.Get(), L"Sink");
  ASSERT_EQ(out.Connect(&in, nullptr), S_OK);
  ASSERT_EQ(source->Pause(), S_OK);

  EXPECT_EQ(DeliverAt(out, 1), VFW_E_WRONG_STATE) << "the sink is stopped";
  ASSERT_EQ(sink->Pause(), S_OK);
  ASSERT_EQ(in.BeginFlush(), S_OK);
  EXPECT_EQ(DeliverAt(out, 2), S_FALSE);
  EXPECT_EQ(in.EndOfStream(), S_FALSE);
  ASSERT_EQ(in.EndFlush(), S_OK);
  EXPECT_EQ(DeliverAt(out, 3), S_OK);
  EXPECT_EQ(in.starts, (std::vector<REFERENCE_TIME>{3}));

  ComPtr<IMediaSample> sample;
  ASSERT_EQ(out.GetDeliveryBuffer(sample.Put()), S_OK);
  MediaType refused = VideoType(MEDIASUBTYPE_RGB32);
  sample->SetMediaType(&refused.Get());
  EXPECT_EQ(out.Deliver(sample.Get()), VFW_E_INVALIDMEDIATYPE);
  EXPECT_EQ(in.endsOfStream, 1);
  EXPECT_EQ(graph->events, (std::vector<LONG>{EC_ERRORABORT}));
  EXPECT_EQ(in.starts.size(), 1u);

  sample.Reset();
  source->Stop();
  sink->Stop();
  out.Disconnect();
  in.Disconnect();
  graph->RemoveFilter(sink.Get());
}

// Takes any input, offers NV12 then YV12, and copies nothing.
class PreferringTransform final : public TransformFilter {
 public:
  PreferringTransform() : TransformFilter(kSourceClass, L"Transform") {}
  HRESULT CheckInputType(const AM_MEDIA_TYPE*) override { return S_OK; }
  HRESULT CheckTransform(const AM_MEDIA_TYPE*, const AM_MEDIA_TYPE*) override { return S_OK; }
  HRESULT GetMediaType(int position, MediaType* type) override {
    static const GUID kOrder[] = {MEDIASUBTYPE_NV12, MEDIASUBTYPE_YV12};
    if (position >= 2) return VFW_S_NO_MORE_ITEMS;
    *type = VideoType(kOrder[position]);
    return S_OK;
  }
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
    request->cBuffers = 1;
    request->cbBuffer = 64;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
  }
};

// An upstream pin that answers IMediaSeeking with a fixed duration.
class SeekableOutputPin final : public BaseOutputPin, public IMediaSeeking {
 public:
  SeekableOutputPin(BaseFilter& filter, const wchar_t* name) : BaseOutputPin(filter, name) {}
  DS_IUNKNOWN_FROM(BaseOutputPin)
  HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
  HRESULT GetMediaType(int position, MediaType& type) override {
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    type = VideoType(MEDIASUBTYPE_YUY2);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override {
    *duration = 12345;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetRate(double) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRate(double*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<SeekableOutputPin> kInterfaces[] = {
        Implements<SeekableOutputPin, IPin>(IID_IPin),
        Implements<SeekableOutputPin, IMediaSeeking>(IID_IMediaSeeking),
    };
    return FindInTable(*this, kInterfaces, riid);
  }
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
    request->cBuffers = 1;
    request->cbBuffer = 16;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
  }
};

TEST(TransformFilterTest, OffersItsOutputTypesInOrderAndSeeksUpstream) {
  struct Case {
    std::vector<GUID> accepted;
    GUID connected;
  };
  const Case cases[] = {
      {{}, MEDIASUBTYPE_NV12},
      {{MEDIASUBTYPE_YV12}, MEDIASUBTYPE_YV12},
      // The renderer proposes RGB32 first; the transform's own order wins.
      {{MEDIASUBTYPE_RGB32, MEDIASUBTYPE_NV12}, MEDIASUBTYPE_NV12},
  };
  for (const Case& c : cases) {
    auto upstream = MakeComObject<MultiPinFilter>(kSinkClass, L"Upstream");
    auto transform = MakeComObject<PreferringTransform>();
    auto downstream = MakeComObject<MultiPinFilter>(kSinkClass, L"Downstream");
    auto& source = upstream->AddPin<SeekableOutputPin>(L"Out");
    auto& renderer = downstream->AddPin<RecordingInputPin>(L"In", c.accepted);

    ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(transform->OutputPin().QueryInterface(IID_IMediaSeeking, seeking.PutVoid()), S_OK);
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), VFW_E_NOT_CONNECTED);

    ASSERT_EQ(source.Connect(&transform->InputPin(), nullptr), S_OK);
    ASSERT_EQ(transform->OutputPin().Connect(&renderer, nullptr), S_OK);
    EXPECT_TRUE(guids::Same(transform->OutputPin().CurrentMediaType().Get().subtype, c.connected));
    ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_EQ(duration, 12345);

    seeking.Reset();
    transform->OutputPin().Disconnect();
    renderer.Disconnect();
    source.Disconnect();
    transform->InputPin().Disconnect();
  }
}

}  // namespace
}  // namespace ds
