// OrvesCodecs.ax under Wine with Wine's own decoding switched off
// (winegstreamer disabled), so that nothing but our filters can play: the
// module loaded from its file as the player loads it, its filters in Wine's
// filter graph with Wine's renderers, and its registration with regsvr32's
// calls.
#include <windows.h>
#include <ole2.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>

#include "codecs/common/CodecGuids.h"

namespace orves::codecs {
namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using ServerCall = HRESULT(STDAPICALLTYPE*)();

constexpr REFERENCE_TIME kSecond = 10'000'000;

template <typename T>
struct Ptr {
  T* p = nullptr;
  ~Ptr() {
    if (p != nullptr) p->Release();
  }
  T* operator->() const { return p; }
  void** Put() { return reinterpret_cast<void**>(&p); }
};

std::wstring Media(const char* name) {
  const std::string path = std::string(ORVES_MEDIA_DIR) + "/" + name;
  return std::wstring(path.begin(), path.end());
}

class CodecsModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    // Beside the test, as OrvesCodecs.ax lies beside OrvesMP.exe.
    module_ = LoadLibraryW(L"OrvesCodecs.ax");
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
    CoUninitialize();
  }

 public:
  HRESULT Create(const CLSID& classId, IBaseFilter** filter) {
    auto getClassObject = Export<GetClassObject>("DllGetClassObject");
    if (getClassObject == nullptr) return E_FAIL;
    Ptr<IClassFactory> factory;
    HRESULT hr = getClassObject(classId, IID_IClassFactory, factory.Put());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
  }

  HRESULT Call(const char* name) {
    auto call = Export<ServerCall>(name);
    return call != nullptr ? call() : E_FAIL;
  }

  // GetProcAddress's FARPROC, as the export's own type.
  template <typename Function>
  Function Export(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
};

CLSID FilterClassBehind(IPin* pin) {
  CLSID classId{};
  Ptr<IPin> peer;
  if (FAILED(pin->ConnectedTo(&peer.p))) return classId;
  PIN_INFO info{};
  peer->QueryPinInfo(&info);
  if (info.pFilter != nullptr) {
    info.pFilter->GetClassID(&classId);
    info.pFilter->Release();
  }
  return classId;
}

// A graph of Wine's with Orves Source on `clip`, our decoders and the GDI
// video renderer in it before the source's pins are rendered.
struct Graph {
  HRESULT Build(CodecsModule& module, const char* clip) {
    HRESULT hr =
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, builder.Put());
    if (FAILED(hr)) return hr;
    for (const CLSID* id : {&kOrvesSource, &kOrvesVideoDecoder, &kOrvesAudioDecoder}) {
      IBaseFilter* filter = nullptr;
      if (FAILED(hr = module.Create(*id, &filter))) return hr;
      builder->AddFilter(filter, nullptr);
      if (id == &kOrvesSource) {
        source.p = filter;
      } else {
        filter->Release();
      }
    }
    Ptr<IBaseFilter> renderer;
    if (FAILED(hr = CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     renderer.Put()))) {
      return hr;
    }
    builder->AddFilter(renderer.p, L"Video Renderer");
    Ptr<IFileSourceFilter> file;
    source->QueryInterface(IID_IFileSourceFilter, file.Put());
    if (FAILED(hr = file->Load(Media(clip).c_str(), nullptr))) return hr;
    Ptr<IEnumPins> pins;
    source->EnumPins(&pins.p);
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
      hr = builder->Render(pin);
      pin->Release();
      if (FAILED(hr)) return hr;
    }
    builder->QueryInterface(IID_IMediaControl, control.Put());
    builder->QueryInterface(IID_IMediaSeeking, seeking.Put());
    builder->QueryInterface(IID_IMediaEvent, events.Put());
    return S_OK;
  }
  ~Graph() {
    if (control.p != nullptr) control->Stop();
  }

  IPin* SourcePin(int index) {
    Ptr<IEnumPins> pins;
    source->EnumPins(&pins.p);
    IPin* pin = nullptr;
    for (int i = 0; pins->Next(1, &pin, nullptr) == S_OK; ++i) {
      if (i == index) return pin;  // the caller releases it
      pin->Release();
    }
    return nullptr;
  }

  // The colour index of the centre of the picture the renderer shows.
  int ShownColour() {
    Ptr<IBasicVideo> video;
    if (FAILED(builder->QueryInterface(IID_IBasicVideo, video.Put()))) return -1;
    // Wine's renderer wants a buffer even to tell the size: one large enough.
    std::string image(4 << 20, '\0');
    long size = static_cast<long>(image.size());
    if (FAILED(video->GetCurrentImage(&size, reinterpret_cast<long*>(image.data())))) return -1;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    if (header->biBitCount != 32) return -1;
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(image.data()) + header->biSize;
    const long stride = header->biWidth * 4;
    const std::uint8_t* centre = pixels + (std::abs(header->biHeight) / 2) * stride + header->biWidth / 2 * 4;
    return (centre[2] > 128 ? 1 : 0) | (centre[1] > 128 ? 2 : 0) | (centre[0] > 128 ? 4 : 0);
  }

  Ptr<IGraphBuilder> builder;
  Ptr<IBaseFilter> source;
  Ptr<IMediaControl> control;
  Ptr<IMediaSeeking> seeking;
  Ptr<IMediaEvent> events;
};

// Each container plays to EC_COMPLETE through our decoders, with our source
// feeding them and Wine's renderers behind them.
TEST_F(CodecsModule, PlaysEveryContainerThroughItsOwnFilters) {
  for (const char* clip :
       {"codec-h264-aac.mkv", "codec-hevc-aac.mp4", "codec-vp9-opus.webm", "codec-xvid-mp3.avi",
        "codec-mpeg2-ac3.mpg", "codec-h264-aac.ts", "codec-wmv2-wma2.wmv", "codec-theora-vorbis.ogv"}) {
    SCOPED_TRACE(clip);
    Graph graph;
    ASSERT_EQ(graph.Build(*this, clip), S_OK);
    Ptr<IPin> video, audio;
    video.p = graph.SourcePin(0);
    audio.p = graph.SourcePin(1);
    ASSERT_NE(video.p, nullptr);
    ASSERT_NE(audio.p, nullptr);
    EXPECT_TRUE(IsEqualGUID(FilterClassBehind(video.p), kOrvesVideoDecoder));
    EXPECT_TRUE(IsEqualGUID(FilterClassBehind(audio.p), kOrvesAudioDecoder));
    LONGLONG duration = 0;
    ASSERT_EQ(graph.seeking->GetDuration(&duration), S_OK);
    EXPECT_NEAR(static_cast<double>(duration), 6.0 * kSecond, 0.1 * kSecond);
    ASSERT_EQ(graph.control->Run() >= 0, true);
    long code = 0;
    EXPECT_EQ(graph.events->WaitForCompletion(30000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
  }
}

// A seek in a paused graph (stopped, positioned, paused again: the order the
// player keeps under Wine) shows the picture of the target second.
TEST_F(CodecsModule, ShowsThePictureOfTheSeekTarget) {
  Graph graph;
  ASSERT_EQ(graph.Build(*this, "codec-h264-aac.mkv"), S_OK);
  for (const double seconds : {3.5, 1.5, 5.5}) {
    SCOPED_TRACE(seconds);
    graph.control->Stop();
    LONGLONG position = static_cast<LONGLONG>(seconds * kSecond);
    ASSERT_EQ(graph.seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                          AM_SEEKING_NoPositioning),
              S_OK);
    graph.control->Pause();
    OAFilterState state = State_Stopped;
    ASSERT_EQ(graph.control->GetState(10000, &state), S_OK);
    EXPECT_EQ(graph.ShownColour(), static_cast<int>(seconds));
  }
}

std::wstring ClassKey(const CLSID& id) {
  wchar_t text[40] = {};
  StringFromGUID2(id, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// regsvr32 and regsvr32 /u: the three filters and the source's extensions
// come and go, and the registry is as it was.
TEST_F(CodecsModule, RegistersItsFiltersAndRemovesThemAgain) {
  const std::wstring extension = L"Media Type\\Extensions\\.mkv";
  const bool extensionBefore = KeyExists(extension);
  for (const CLSID* id : {&kOrvesSource, &kOrvesVideoDecoder, &kOrvesAudioDecoder}) {
    ASSERT_FALSE(KeyExists(ClassKey(*id)));
  }
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  for (const CLSID* id : {&kOrvesSource, &kOrvesVideoDecoder, &kOrvesAudioDecoder}) {
    EXPECT_TRUE(KeyExists(ClassKey(*id) + L"\\InprocServer32"));
    EXPECT_TRUE(
        KeyExists(L"CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\" + ClassKey(*id).substr(6)));
  }
  EXPECT_TRUE(KeyExists(extension));
  // Registered, the source is found by class like any filter.
  Ptr<IBaseFilter> created;
  EXPECT_EQ(CoCreateInstance(kOrvesSource, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, created.Put()),
            S_OK);

  ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
  for (const CLSID* id : {&kOrvesSource, &kOrvesVideoDecoder, &kOrvesAudioDecoder}) {
    EXPECT_FALSE(KeyExists(ClassKey(*id)));
    EXPECT_FALSE(
        KeyExists(L"CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\" + ClassKey(*id).substr(6)));
  }
  EXPECT_EQ(KeyExists(extension), extensionBefore);
}

}  // namespace
}  // namespace orves::codecs
