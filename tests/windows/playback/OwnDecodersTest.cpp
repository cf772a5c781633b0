// The movie control with Wine's own decoding switched off (winegstreamer
// disabled), so a file plays through OrvesCodecs.ax, which the control loads
// from beside the program, or not at all: the picture on screen, the
// duration, seeking, the audio chain through the registered sound processor,
// switching audio tracks, the picture aspect, and the setting that turns the
// module off.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codecs/common/CodecGuids.h"
#include "player/playback/ComPtr_win32.h"
#include "player/playback/DirectShowPlayer_win32.h"
#include "soundproc/contract/Guids.h"
#include "tests/windows/playback/PlaybackHost.h"

namespace orves {
namespace {

using testing::ComApartment;
using testing::HostWindow;
using testing::MediaPath;
using testing::PumpFor;
using testing::PumpUntil;

constexpr wchar_t kStageKey[] = L"SOFTWARE\\AC3_zembra\\Channel Control";

using ServerCall = HRESULT(STDAPICALLTYPE*)();

HRESULT CallServer(HMODULE module, const char* name) {
  auto call = reinterpret_cast<ServerCall>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return call ? call() : E_FAIL;
}

CLSID ClassOf(IBaseFilter* filter) {
  CLSID id{};
  if (filter) filter->GetClassID(&id);
  return id;
}

std::vector<ComPtr<IPin>> Pins(IBaseFilter* filter, PIN_DIRECTION wanted) {
  std::vector<ComPtr<IPin>> out;
  ComPtr<IEnumPins> pins;
  filter->EnumPins(pins.Put());
  ComPtr<IPin> pin;
  while (pins && pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION direction{};
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted) out.push_back(pin);
  }
  return out;
}

// The filter on the other end of `filter`'s first output pin; empty when
// there is none.
ComPtr<IBaseFilter> Downstream(IBaseFilter* filter) {
  for (const ComPtr<IPin>& pin : Pins(filter, PINDIR_OUTPUT)) {
    ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.Put())) || !peer) continue;
    PIN_INFO info{};
    peer->QueryPinInfo(&info);
    return ComPtr<IBaseFilter>::Attach(info.pFilter);
  }
  return {};
}

// The graph's filters of class `id` whose input is connected.
std::vector<ComPtr<IBaseFilter>> ConnectedFilters(IGraphBuilder* graph, const CLSID& id) {
  std::vector<ComPtr<IBaseFilter>> found;
  ComPtr<IEnumFilters> filters;
  graph->EnumFilters(filters.Put());
  ComPtr<IBaseFilter> filter;
  while (filters && filters->Next(1, filter.Put(), nullptr) == S_OK) {
    if (!IsEqualGUID(ClassOf(filter.Get()), id)) continue;
    for (const ComPtr<IPin>& pin : Pins(filter.Get(), PINDIR_INPUT)) {
      ComPtr<IPin> peer;
      if (SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer) found.push_back(filter);
    }
  }
  return found;
}

// The colour index (red, green, blue as bits 0, 1, 2) at the centre of a
// window, read from the screen.
int ScreenColour(HWND window) {
  RECT rc{};
  GetWindowRect(window, &rc);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return (GetRValue(c) > 128 ? 1 : 0) | (GetGValue(c) > 128 ? 2 : 0) | (GetBValue(c) > 128 ? 4 : 0);
}

class OwnDecodersTest : public ::testing::Test {
 protected:
  // The sound processor registered, with a stage on so graph building takes
  // it, as an installed player has it; everything undone afterwards.
  static void SetUpTestSuite() {
    soundProcessor_ = LoadLibraryW(L"ZmSoundProcessor.ax");
    stageKeyExisted_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStageKey, 0, KEY_READ, &stageKey_) == ERROR_SUCCESS;
    if (!stageKeyExisted_) {
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, kStageKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &stageKey_,
                      nullptr);
    } else {
      RegCloseKey(stageKey_);
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStageKey, 0, KEY_ALL_ACCESS, &stageKey_);
    }
    DWORD size = sizeof(oldEnable_);
    hadEnable_ = RegQueryValueExW(stageKey_, L"Enable", nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(&oldEnable_), &size) == ERROR_SUCCESS;
    const DWORD on = 1;
    RegSetValueExW(stageKey_, L"Enable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof(on));
    registered_ = soundProcessor_ && CallServer(soundProcessor_, "DllRegisterServer") == S_OK;
  }
  static void TearDownTestSuite() {
    if (registered_) CallServer(soundProcessor_, "DllUnregisterServer");
    if (hadEnable_) {
      RegSetValueExW(stageKey_, L"Enable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&oldEnable_),
                     sizeof(oldEnable_));
    } else {
      RegDeleteValueW(stageKey_, L"Enable");
    }
    RegCloseKey(stageKey_);
    if (!stageKeyExisted_) RegDeleteKeyW(HKEY_LOCAL_MACHINE, kStageKey);
    if (soundProcessor_) FreeLibrary(soundProcessor_);
  }

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com_.Result()));
    ASSERT_TRUE(registered_);
    ASSERT_TRUE(player_.Create(host_.Handle()));
  }
  void TearDown() override { player_.SetFileName(""); }

  // Paused at `seconds` with the frame drawn.
  int ColourAt(double seconds) {
    player_.SetCurrentPosition(seconds);
    PumpFor(400);
    return ScreenColour(player_.Window());
  }

  static inline HMODULE soundProcessor_ = nullptr;
  static inline HKEY stageKey_ = nullptr;
  static inline bool stageKeyExisted_ = false;
  static inline bool hadEnable_ = false;
  static inline DWORD oldEnable_ = 0;
  static inline bool registered_ = false;

  ComApartment com_;
  HostWindow host_{320, 240};
  DirectShowPlayer player_;
};

TEST_F(OwnDecodersTest, PlaysEachKindOfFileWithPictureDurationSeekAndSoundChain) {
  for (const char* clip :
       {"codec-h264-aac.mkv", "codec-hevc-aac.mp4", "codec-vp9-opus.webm", "codec-xvid-mp3.avi",
        "codec-mpeg2-ac3.mpg", "codec-h264-aac.ts", "codec-wmv2-wma2.wmv", "codec-theora-vorbis.ogv"}) {
    SCOPED_TRACE(clip);
    player_.SetFileName(MediaPath(clip));
    ASSERT_EQ(player_.LastOpenResult(), S_OK);
    EXPECT_NEAR(player_.Duration(), 6.0, 0.1);
    EXPECT_EQ(player_.ImageSourceWidth(), 320);
    EXPECT_EQ(player_.ImageSourceHeight(), 240);

    IGraphBuilder* graph = player_.Graph();
    EXPECT_EQ(ConnectedFilters(graph, kOrvesVideoDecoder).size(), 1u);
    const auto audio = ConnectedFilters(graph, kOrvesAudioDecoder);
    ASSERT_EQ(audio.size(), 1u);
    const ComPtr<IBaseFilter> processor = Downstream(audio[0].Get());
    ASSERT_TRUE(processor);
    EXPECT_TRUE(IsEqualGUID(ClassOf(processor.Get()), zmsp::guids::kSoundProcessorFilter));
    const ComPtr<IBaseFilter> renderer = Downstream(processor.Get());
    ASSERT_TRUE(renderer);
    EXPECT_TRUE(IsEqualGUID(ClassOf(renderer.Get()), CLSID_DSoundRender));

    player_.Play();
    EXPECT_TRUE(PumpUntil([&] { return player_.CurrentPosition() > 0.5; }, 10000));
    player_.Pause();
    // Seconds 2, 5 and 1 show green, magenta and red.
    for (const double seconds : {2.5, 5.5, 1.5}) {
      EXPECT_EQ(ColourAt(seconds), static_cast<int>(seconds)) << seconds;
    }
  }
}

TEST_F(OwnDecodersTest, SwitchesTheAudioTrackWhilePlaying) {
  player_.SetFileName(MediaPath("codec-tracks.mkv"));
  ASSERT_EQ(player_.LastOpenResult(), S_OK);
  // Each audio track has its decoder in the graph, so either can play.
  EXPECT_EQ(ConnectedFilters(player_.Graph(), kOrvesAudioDecoder).size(), 2u);
  // The two text tracks are listed as captions, not as sound streams.
  ASSERT_EQ(player_.StreamCount(), 2);
  ASSERT_EQ(player_.TextTrackCount(), 2);
  EXPECT_EQ(player_.TextTrack(1).language, "eng");
  EXPECT_EQ(player_.TextTrack(1).markup, TTrackMarkup::Ass);
  EXPECT_EQ(player_.GetStreamName(0), "한국어 — AAC 2.0");
  EXPECT_EQ(player_.GetStreamName(1), "영어 — Commentary — AC3 5.1");
  EXPECT_TRUE(player_.GetStreamSelected(0));

  player_.Play();
  ASSERT_TRUE(PumpUntil([&] { return player_.CurrentPosition() > 0.5; }, 10000));
  player_.StreamSelect(1);
  EXPECT_TRUE(player_.GetStreamSelected(1));
  EXPECT_FALSE(player_.GetStreamSelected(0));
  const double switched = player_.CurrentPosition();
  EXPECT_TRUE(PumpUntil([&] { return player_.CurrentPosition() > switched + 1.0; }, 5000));
  EXPECT_EQ(player_.PlayState(), kPlayStatePlaying);
}

TEST_F(OwnDecodersTest, AnamorphicPictureIsLaidOutAtItsAspect) {
  player_.SetFileName(MediaPath("codec-anamorphic.mkv"));
  ASSERT_EQ(player_.LastOpenResult(), S_OK);
  EXPECT_EQ(player_.ImageSourceWidth(), 1024);
  EXPECT_EQ(player_.ImageSourceHeight(), 576);
}

// With the module turned off only the system's filters are tried, and with
// Wine's decoding switched off they cannot open the file.
TEST_F(OwnDecodersTest, TurnedOffLeavesTheFileToTheSystemFilters) {
  player_.SetOwnDecoders(false);
  player_.SetFileName(MediaPath("codec-h264-aac.mkv"));
  EXPECT_TRUE(FAILED(player_.LastOpenResult()));
  EXPECT_EQ(player_.ImageSourceWidth(), 0);
  player_.SetOwnDecoders(true);
  player_.SetFileName(MediaPath("codec-h264-aac.mkv"));
  EXPECT_EQ(player_.LastOpenResult(), S_OK);
}

}  // namespace
}  // namespace orves
