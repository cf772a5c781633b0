// The three filters of OrvesCodecs.ax in a graph of our own: Orves Source
// on real files, our decoders behind it, and sinks that take what the GDI
// renderer and an audio renderer take.
#include <gtest/gtest.h>

#include <algorithm>

#include "CodecMedia.h"
#include "FilterHost.h"
#include "codecs/audio/AudioDecoderFilter.h"
#include "codecs/common/CodecGuids.h"
#include "codecs/source/SourceFilter.h"
#include "codecs/video/VideoDecoderFilter.h"
#include "directshow/com/ComPtr.h"

namespace orves::codecs {
namespace {

using test::kSecond;
using test::Media;
using test::SinkPin;

constexpr CLSID kSinkClass = {0x0C0DEC01, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};

std::wstring Wide(const std::filesystem::path& path) { return path.wstring(); }

// Orves Source on `clip`, its first video pin through Orves Video Decoder
// and its audio pins through Orves Audio Decoder into sinks.
struct Graph {
  explicit Graph(const std::string& clip, SinkPin::Accepts video = test::GdiRendererTakes) {
    loaded = source->Load(Wide(Media(clip)).c_str(), nullptr);
    if (FAILED(loaded)) return;
    for (int i = 0; IPin* out = test::OutputPin(source.Get(), i); ++i) {
      ds::ComPtr<IMediaSeeking> seeking;
      out->QueryInterface(IID_IMediaSeeking, seeking.PutVoid());
      AM_MEDIA_TYPE* type = nullptr;
      ds::ComPtr<IEnumMediaTypes> types;
      out->EnumMediaTypes(types.Put());
      types->Next(1, &type, nullptr);
      const bool isVideo = ds::guids::Same(type->majortype, MEDIATYPE_Video);
      ds::DeleteMediaType(type);
      auto decoder =
          isVideo ? ds::ComPtr<ds::TransformFilter>::Adopt(ds::MakeComObject<VideoDecoderFilter>().Detach())
                  : ds::ComPtr<ds::TransformFilter>::Adopt(ds::MakeComObject<AudioDecoderFilter>().Detach());
      auto sink = ds::MakeComObject<ds::MultiPinFilter>(kSinkClass, L"Sink");
      SinkPin& pin = sink->AddPin<SinkPin>(isVideo ? video : SinkPin::Accepts(test::AudioRendererTakes));
      EXPECT_EQ(out->Connect(&decoder->InputPin(), nullptr), S_OK);
      EXPECT_EQ(decoder->OutputPin().Connect(&pin, nullptr), S_OK);
      chain.Add(sink.Get());
      (isVideo ? videoSinks : audioSinks).push_back(&pin);
      decoders.push_back(decoder);
      sinks.push_back(sink);
    }
    for (auto& decoder : decoders) chain.Add(decoder.Get());
    chain.Add(source.Get());
  }
  ~Graph() {
    chain.Stop();
    for (auto& decoder : decoders) {
      decoder->InputPin().Disconnect();
      decoder->OutputPin().Disconnect();
    }
    for (int i = 0; IPin* out = test::OutputPin(source.Get(), i); ++i) out->Disconnect();
    for (auto& sink : sinks) test::InputPin(sink.Get())->Disconnect();
  }
  // Seeking as the graph does it: through a decoder's output pin.
  HRESULT Seek(REFERENCE_TIME position) {
    ds::ComPtr<IMediaSeeking> seeking;
    decoders.front()->OutputPin().QueryInterface(IID_IMediaSeeking, seeking.PutVoid());
    return seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                 AM_SEEKING_NoPositioning);
  }

  ds::ComPtr<SourceFilter> source = ds::MakeComObject<SourceFilter>();
  HRESULT loaded = E_FAIL;
  std::vector<ds::ComPtr<ds::TransformFilter>> decoders;
  std::vector<ds::ComPtr<ds::MultiPinFilter>> sinks;
  std::vector<SinkPin*> videoSinks;
  std::vector<SinkPin*> audioSinks;
  test::Chain chain;
};

bool Ended(const test::SinkState& state) { return state.endsOfStream > 0; }
auto AtLeast(std::size_t samples) {
  return [samples](const test::SinkState& state) { return state.samples.size() >= samples; };
}

// The second of the clip a picture belongs to, -1 near a change of second.
int SecondOf(const test::Received& picture) {
  const REFERENCE_TIME middle = (picture.start + picture.stop) / 2 % kSecond;
  if (middle < kSecond / 10 || middle > kSecond - kSecond / 10) return -1;
  return static_cast<int>((picture.start + picture.stop) / 2 / kSecond);
}

TEST(SourceFilterTest, OffersAPinPerPlayableStreamAndRefusesOtherFiles) {
  auto source = ds::MakeComObject<SourceFilter>();
  ASSERT_EQ(source->Load(Wide(Media("codec-tracks.mkv")).c_str(), nullptr), S_OK);
  std::vector<std::wstring> names;
  for (int i = 0; IPin* pin = test::OutputPin(source.Get(), i); ++i) {
    PIN_INFO info{};
    pin->QueryPinInfo(&info);
    info.pFilter->Release();
    names.push_back(info.achName);
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Video", L"Audio", L"Audio 2"}));  // text tracks have no pin
  LPOLESTR file = nullptr;
  ASSERT_EQ(source->GetCurFile(&file, nullptr), S_OK);
  EXPECT_EQ(std::wstring(file), Wide(Media("codec-tracks.mkv")));
  CoTaskMemFree(file);

  const std::vector<std::uint8_t> text(4096, 'x');
  const auto notMedia = std::filesystem::temp_directory_path() / "orves-codecs-not-media.mkv";
  std::FILE* f = std::fopen(notMedia.string().c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  EXPECT_EQ(ds::MakeComObject<SourceFilter>()->Load(Wide(notMedia).c_str(), nullptr),
            VFW_E_UNKNOWN_FILE_TYPE);
  std::filesystem::remove(notMedia);
}

// Every container plays to its end through our decoders into the types the
// GDI renderer and an audio renderer take, each second in its colour.
TEST(FiltersTest, EveryContainerPlaysThroughOurDecoders) {
  for (const char* clip :
       {"codec-h264-aac.mkv", "codec-hevc-aac.mp4", "codec-hevc10-flac24.mkv", "codec-vp9-opus.webm",
        "codec-xvid-mp3.avi", "codec-mpeg2-ac3.mpg", "codec-h264-aac.ts", "codec-wmv2-wma2.wmv",
        "codec-theora-vorbis.ogv", "codec-h264-mp3.flv"}) {
    SCOPED_TRACE(clip);
    Graph graph(clip);
    ASSERT_EQ(graph.loaded, S_OK);
    ASSERT_EQ(graph.videoSinks.size(), 1u);
    ASSERT_EQ(graph.audioSinks.size(), 1u);
    ASSERT_EQ(graph.chain.Run(), S_OK);
    const test::SinkState video = graph.videoSinks.front()->WaitUntil(Ended);
    const test::SinkState audio = graph.audioSinks.front()->WaitUntil(Ended);
    graph.chain.Stop();
    ASSERT_TRUE(Ended(video) && Ended(audio));
    ASSERT_FALSE(video.samples.empty());
    int wrong = 0;
    for (const test::Received& picture : video.samples) {
      if (SecondOf(picture) >= 0 && picture.colour != SecondOf(picture)) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    // The last picture (Theora repeats its pictures as empty packets: one a second).
    EXPECT_GT(video.samples.back().start, 49 * kSecond / 10);
    EXPECT_LT(video.samples.back().start, 61 * kSecond / 10);
    REFERENCE_TIME sound = 0;
    for (const test::Received& block : audio.samples) sound += block.stop - block.start;
    EXPECT_NEAR(static_cast<double>(sound), 6.0 * kSecond, 0.1 * kSecond);
  }
}

TEST(FiltersTest, OffersOutputTypesInOrderAndTheRendererPicks) {
  struct Case {
    SinkPin::Accepts takes;
    GUID subtype;
  };
  const Case cases[] = {
      {[](const AM_MEDIA_TYPE&) { return true; }, MEDIASUBTYPE_NV12},
      {[](const AM_MEDIA_TYPE& t) { return !ds::guids::Same(t.subtype, MEDIASUBTYPE_NV12); },
       MEDIASUBTYPE_YV12},
      {test::GdiRendererTakes, MEDIASUBTYPE_RGB32},
  };
  for (const Case& c : cases) {
    Graph graph("codec-h264-aac.mkv", c.takes);
    ASSERT_EQ(graph.loaded, S_OK);
    const AM_MEDIA_TYPE& type = graph.videoSinks.front()->CurrentMediaType().Get();  // set when connected
    EXPECT_TRUE(ds::guids::Same(type.subtype, c.subtype));
  }
}

// Frame-accurate seeking: the picture whose span holds the target comes
// first, sound starts at the target; while paused, running, and (the rule the
// player follows under Wine) stopped, to the start and to the end.
TEST(FiltersTest, SeekDeliversThePictureAndSoundAtTheTarget) {
  for (const char* clip : {"codec-h264-aac.ts", "codec-h264-aac.mkv", "codec-mpeg2-ac3.mpg"}) {
    SCOPED_TRACE(clip);
    Graph graph(clip);
    ASSERT_EQ(graph.loaded, S_OK);
    SinkPin& videoPin = *graph.videoSinks.front();
    SinkPin& audioPin = *graph.audioSinks.front();
    ASSERT_EQ(graph.chain.Pause(), S_OK);
    const test::SinkState first = videoPin.WaitUntil(AtLeast(1));
    ASSERT_FALSE(first.samples.empty());
    const REFERENCE_TIME origin = first.samples.front().start;
    struct Step {
      const char* how;
      REFERENCE_TIME target;
    };
    for (const Step step : {Step{"paused", 7 * kSecond / 2}, Step{"running", 5 * kSecond / 2},
                            Step{"stopped", 9 * kSecond / 2}, Step{"paused", 0}}) {
      SCOPED_TRACE(step.how);
      const std::string how = step.how;
      if (how == "running") graph.chain.Run();
      if (how == "stopped") graph.chain.Stop();
      const REFERENCE_TIME target = origin + step.target;
      ASSERT_EQ(graph.Seek(target), S_OK);
      if (how != "paused") graph.chain.Pause();
      auto afterSeek = [target](std::size_t samples) {
        return [target, samples](const test::SinkState& state) {
          return !state.segments.empty() && state.segments.back() == target &&
                 state.samples.size() >= samples;
        };
      };
      const test::SinkState video = videoPin.WaitUntil(afterSeek(2));
      const test::SinkState audio = audioPin.WaitUntil(afterSeek(1));
      ASSERT_GE(video.samples.size(), 2u);
      ASSERT_GE(audio.samples.size(), 1u);
      // Times count from the segment: the first picture spans 0.
      EXPECT_LE(video.samples[0].start, 0);
      EXPECT_GT(video.samples[1].start, 0);
      EXPECT_EQ(video.samples[0].colour, static_cast<int>(step.target / kSecond));
      EXPECT_NEAR(static_cast<double>(audio.samples[0].start), 0.0, 1000.0);
      EXPECT_TRUE(audio.samples[0].discontinuity);
    }
    // To the end: the streams end, nothing hangs.
    ASSERT_EQ(graph.Seek(origin + 6 * kSecond), S_OK);
    EXPECT_TRUE(Ended(videoPin.WaitUntil(Ended)));
    EXPECT_TRUE(Ended(audioPin.WaitUntil(Ended)));
  }
}

TEST(FiltersTest, StreamSelectionSwitchesTheAudioTrackWhilePlaying) {
  Graph graph("codec-tracks.mkv");
  ASSERT_EQ(graph.loaded, S_OK);
  ds::ComPtr<IAMStreamSelect> select;
  ASSERT_EQ(graph.source->QueryInterface(IID_IAMStreamSelect, select.PutVoid()), S_OK);
  DWORD count = 0;
  ASSERT_EQ(select->Count(&count), S_OK);
  ASSERT_EQ(count, 4u);  // two audio tracks, two text tracks
  struct Expected {
    std::wstring name;
    DWORD group;
    bool enabled;
  };
  const Expected expected[] = {{L"한국어 — AAC 2.0", 1, true},
                               {L"영어 — Commentary — AC3 5.1", 1, false},
                               {L"한국어 — SubRip", 2, false},
                               {L"영어 — Signs — ASS", 2, false}};
  for (LONG i = 0; i < 4; ++i) {
    DWORD flags = 0, group = 0;
    WCHAR* name = nullptr;
    ASSERT_EQ(select->Info(i, nullptr, &flags, nullptr, &group, &name, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(name), expected[i].name);
    EXPECT_EQ(group, expected[i].group);
    EXPECT_EQ((flags & AMSTREAMSELECTINFO_ENABLED) != 0, expected[i].enabled);
    CoTaskMemFree(name);
  }
  EXPECT_EQ(select->Info(4, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), S_FALSE);

  ASSERT_EQ(graph.audioSinks.size(), 2u);
  SinkPin& korean = *graph.audioSinks[0];
  SinkPin& commentary = *graph.audioSinks[1];
  ASSERT_EQ(graph.chain.Run(), S_OK);
  EXPECT_GE(korean.WaitUntil(AtLeast(5)).samples.size(), 5u);
  // Not selected: its stream ends at once.
  const test::SinkState silent = commentary.WaitUntil(Ended);
  EXPECT_TRUE(Ended(silent) && silent.samples.empty());

  ASSERT_EQ(select->Enable(1, AMSTREAMSELECTENABLE_ENABLE), S_OK);
  EXPECT_GE(commentary.WaitUntil(AtLeast(5)).samples.size(), 5u);
  const test::SinkState switched = korean.WaitUntil(Ended);
  EXPECT_TRUE(Ended(switched) && switched.samples.empty());
  DWORD flags = 0;
  select->Info(1, nullptr, &flags, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(flags & AMSTREAMSELECTINFO_ENABLED, 0u);
}

TEST(FiltersTest, TextTracksComeWithTheirCues) {
  auto source = ds::MakeComObject<SourceFilter>();
  ASSERT_EQ(source->Load(Wide(Media("codec-tracks.mkv")).c_str(), nullptr), S_OK);
  ds::ComPtr<IOrvesTextTracks> tracks;
  ASSERT_EQ(source->QueryInterface(kIOrvesTextTracks, tracks.PutVoid()), S_OK);
  LONG count = 0;
  ASSERT_EQ(tracks->GetTrackCount(&count), S_OK);
  ASSERT_EQ(count, 2);
  LPWSTR name = nullptr, language = nullptr, title = nullptr;
  ASSERT_EQ(tracks->GetTrackInfo(1, &name, &language, &title), S_OK);
  EXPECT_EQ(std::wstring(name), L"영어 — Signs — ASS");
  EXPECT_EQ(std::wstring(language), L"eng");
  EXPECT_EQ(std::wstring(title), L"Signs");
  CoTaskMemFree(name);
  CoTaskMemFree(language);
  CoTaskMemFree(title);

  OrvesTextCue* cues = nullptr;
  HRESULT hr = kCuesPending;
  for (int tries = 0; hr == kCuesPending && tries < 2000; ++tries) {
    hr = tracks->GetCues(1, &cues, &count);
    if (hr == kCuesPending) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(hr, S_OK);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(cues[0].text, "{\\i1}Hello{\\i0}, world");
  EXPECT_EQ(cues[1].stop - cues[1].start, 12'500'000);
  CoTaskMemFree(cues);
  char* header = nullptr;
  ASSERT_EQ(tracks->GetScriptHeader(1, &header), S_OK);
  EXPECT_EQ(std::string(header).rfind("[Script Info]", 0), 0u);
  CoTaskMemFree(header);
  LONG markup[2] = {-1, -1};
  ASSERT_EQ(tracks->GetTrackMarkup(0, &markup[0]), S_OK);
  ASSERT_EQ(tracks->GetTrackMarkup(1, &markup[1]), S_OK);
  EXPECT_EQ(markup[0], kMarkupSubRip);
  EXPECT_EQ(markup[1], kMarkupAss);
  EXPECT_EQ(tracks->GetCues(2, &cues, &count), E_INVALIDARG);
}

}  // namespace
}  // namespace orves::codecs
