// CheckConnect: second instances, source classification, the AC3-only
// refusal and the lookup of the played file.
#include <gtest/gtest.h>

#include "tests/unit/soundproc_frame/FilterHarness.h"

namespace zmsp::test {
namespace {

using host::PcmType;

class FilterConnection : public FilterHarness {};

TEST(SourceClasses, EveryTableSubtypeSelectsItsClass) {
  struct Case {
    GUID subtype;
    GUID major;
    SourceClass expected;
  };
  const GUID audio = guids::kMediaTypeAudio;
  const GUID stream = {0xe436eb83, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};
  const Case cases[] = {
      {guids::kSubtypeMp3, audio, SourceClass::Mp3},
      {guids::kSubtypeWma, audio, SourceClass::Wma},
      {guids::kSubtypeVorbis, audio, SourceClass::Vorbis},
      {guids::kSubtypeDolbyAc3, audio, SourceClass::Ac3},
      {guids::kSubtypeAc3Wave, audio, SourceClass::Ac3Wave},
      {guids::kSubtypeMpeg1Payload, audio, SourceClass::Mpeg1},
      {guids::kSubtypeMpeg1Packet, audio, SourceClass::Mpeg1},
      {guids::kSubtypeMpeg1Payload, stream, SourceClass::Unknown},  // MPEG-1 payload as a stream: not audio
      {guids::kSubtypeMpeg1Wave, stream, SourceClass::Mpeg1},
      {guids::kSubtypeMpeg1AudioPayload, stream, SourceClass::Mpeg1},
      {guids::kSubtypeMpeg2Audio, audio, SourceClass::Mpeg2},
      {guids::kSubtypeDvdLpcm, audio, SourceClass::Lpcm},
      {guids::kSubtypeDts, audio, SourceClass::Dts},
      {guids::kSubtypeSdds, audio, SourceClass::Sdds},
      {guids::kSubtypeWave, stream, SourceClass::Wave},
      {guids::WaveFormatGuid(0x1234), audio, SourceClass::Unknown},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifySourceType(host::AudioSubtype(c.subtype, c.major).Get()), c.expected)
        << SourceClassName(c.expected);
  }
  EXPECT_STREQ(SourceClassName(SourceClass::Ac3Wave), "AC3");
  EXPECT_STREQ(SourceClassName(static_cast<SourceClass>(99)), "Unknown");
}

TEST_F(FilterConnection, Ac3SourcesSetTheFlagInTheStages) {
  Build(PcmType(1, 2, 48000, 16), &guids::kSubtypeDolbyAc3);
  ASSERT_TRUE(SUCCEEDED(ConnectInput()));
  EXPECT_EQ(filter->Source(), SourceClass::Ac3);
  EXPECT_TRUE(filter->Ac3Source());
  EXPECT_TRUE(stages->ac3Source);
}

TEST_F(FilterConnection, Mp3SourceIsNotAc3) {
  Build(PcmType(1, 2, 48000, 16), &guids::kSubtypeMp3);
  stages->ac3Source = true;
  ASSERT_TRUE(SUCCEEDED(ConnectInput()));
  EXPECT_EQ(filter->Source(), SourceClass::Mp3);
  EXPECT_FALSE(stages->ac3Source);
}

TEST_F(FilterConnection, ClassificationSkipsPcmLinksAndLooksFurtherUpstream) {
  Build(PcmType(1, 2, 48000, 16), &guids::kSubtypeAc3Wave);
  // splitter -(AC3)-> resampler -(PCM)-> decoder -> filter
  splitterOut->Disconnect();
  decoderIn->Disconnect();
  auto resampler = MakeComObject<host::HostFilter>(kRendererClass, L"Resampler");
  auto& resamplerIn = resampler->AddPin<host::HostPin>(L"In", PINDIR_INPUT);
  const MediaType pcm = host::AudioSubtype(guids::kSubtypePcm, guids::kMediaTypeAudio);
  auto& resamplerOut = resampler->AddPin<host::HostPin>(L"Out", PINDIR_OUTPUT, &pcm.Get());
  graph->AddFilter(resampler.Get(), L"Resampler");
  ASSERT_EQ(splitterOut->Connect(&resamplerIn, &sourceType.Get()), S_OK);
  ASSERT_EQ(resamplerOut.Connect(decoderIn, &pcm.Get()), S_OK);
  ASSERT_TRUE(SUCCEEDED(ConnectInput()));
  EXPECT_EQ(filter->Source(), SourceClass::Ac3Wave);
  EXPECT_TRUE(filter->Ac3Source());
}

TEST_F(FilterConnection, NothingUpstreamIsUnknown) {
  Build(PcmType(1, 2, 48000, 16));
  ASSERT_TRUE(SUCCEEDED(ConnectInput()));
  EXPECT_EQ(filter->Source(), SourceClass::Unknown);
}

TEST_F(FilterConnection, SecondInstanceAnywhereUpstreamIsRefused) {
  Build(PcmType(1, 2, 48000, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  graph->Stop();
  sink->Disconnect();
  filter->OutputPin().Disconnect();

  std::vector<std::string> otherLog;
  SoundProcessorFilter* created = nullptr;
  ASSERT_EQ(SoundProcessorFilter::Create(store, std::make_unique<TestStages>(otherLog), &created), S_OK);
  auto second = ComPtr<SoundProcessorFilter>::Adopt(created);
  graph->AddFilter(second.Get(), L"Second");

  // Directly behind the first one.
  EXPECT_EQ(filter->OutputPin().Connect(&second->InputPin(), nullptr), E_FAIL);
  EXPECT_FALSE(second->InputPin().IsConnected());

  // Two filters further down: first -> effect -> second.
  auto effect = MakeComObject<host::HostFilter>(kRendererClass, L"Effect");
  auto& effectIn = effect->AddPin<host::SinkPin>(L"In");
  const MediaType pcm = PcmType(1, 2, 48000, 16);
  auto& effectOut = effect->AddPin<host::SourcePin>(L"Out", pcm.Get(), 4096);
  graph->AddFilter(effect.Get(), L"Effect");
  ASSERT_EQ(filter->OutputPin().Connect(&effectIn, nullptr), S_OK);
  EXPECT_EQ(effectOut.Connect(&second->InputPin(), &pcm.Get()), E_FAIL);

  // Without the first one upstream the second connects.
  filter->OutputPin().Disconnect();
  effectIn.Disconnect();
  EXPECT_TRUE(SUCCEEDED(effectOut.Connect(&second->InputPin(), &pcm.Get())));
}

TEST_F(FilterConnection, Ac3OnlyExpanderAloneRefusesOtherSources) {
  store.SetDword(keys::kChannelControl, "Enable", 0);
  store.SetDword(keys::kChannelExpander, "Enable", 1);
  store.SetDword(keys::kChannelExpander, "AC3Only", 1);
  Build(PcmType(1, 2, 48000, 16), &guids::kSubtypeMp3);
  EXPECT_EQ(ConnectInput(), E_FAIL);
  EXPECT_FALSE(filter->InputPin().IsConnected());

  store.SetDword(keys::kTimeStretcher, "Enable", 1);  // now something else would work
  EXPECT_TRUE(SUCCEEDED(ConnectInput()));
}

TEST_F(FilterConnection, Ac3OnlyExpanderAcceptsAc3) {
  store.SetDword(keys::kChannelControl, "Enable", 0);
  store.SetDword(keys::kChannelExpander, "Enable", 1);
  store.SetDword(keys::kChannelExpander, "AC3Only", 1);
  Build(PcmType(1, 2, 48000, 16), &guids::kSubtypeDolbyAc3);
  EXPECT_EQ(CheckInputConnect(), S_FALSE);
}

TEST_F(FilterConnection, PlayedFileTypeIsTakenFromTheNameIgnoringCase) {
  struct Case {
    const wchar_t* name;
    int fileType;
  };
  const Case cases[] = {{L"C:\\Music\\SONG.MP3", 1}, {L"d:\\a.ogg", 2}, {L"x.WmA", 3},
                        {L"movie.avi", 0},           {L"mp3", 0},       {L"", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
    EXPECT_EQ(FileTypeOfName(c.name), c.fileType);
  }
  Build(PcmType(1, 2, 48000, 16));
  AddFileSource(L"C:\\Music\\SONG.MP3");
  EXPECT_EQ(CheckInputConnect(), S_OK);
  EXPECT_EQ(filter->FileType(), 1);
  EXPECT_EQ(stages->fileType, 1);
  EXPECT_EQ(filter->LastFileName(), "C:\\Music\\SONG.MP3");
  std::string logged;
  EXPECT_FALSE(store.ReadString(keys::kSoundProcessor, "LastFileName", logged)) << "logging is off";
}

// The status page sees the connection's facts and the input format only
// through the filter's snapshot.
TEST_F(FilterConnection, TheStatusSnapshotCarriesTheSourceTheFileAndTheInputFormat) {
  Build(PcmType(1, 2, 48000, 16), &guids::kSubtypeMp3);
  AddFileSource(L"C:\\Music\\SONG.MP3");
  ASSERT_EQ(ConnectAll(), S_OK);
  ASSERT_EQ(Push(400), S_OK);
  ComPtr<ISoundProcessorStatus> page;
  ASSERT_EQ(filter->QueryInterface(guids::kISoundProcessorStatus, page.PutVoid()), S_OK);
  pages::PageStatus status;
  ASSERT_EQ(page->GetStatus(&status), S_OK);
  EXPECT_EQ(status.source, "MP3");
  EXPECT_EQ(status.fileName, "C:\\Music\\SONG.MP3");
  EXPECT_TRUE(status.input.parsed);
  EXPECT_EQ(status.input.channels, 2);
  EXPECT_EQ(status.input.samplesPerSec, 48000u);
  ComPtr<IUnknown> none;
  EXPECT_EQ(page->GetStageObject(ISoundProcessorStatus::kExpanderObject, none.Put()), S_FALSE)
      << "the test stages make no DMO";
}

TEST_F(FilterConnection, OtherFilesConnectWithSFalseAndAreLogged) {
  store.SetDword(keys::kSoundProcessor, "LogLastFileName", 1);
  Build(PcmType(1, 2, 48000, 16));
  AddFileSource(L"/movies/\u00e9t\u00e9.avi", guids::kUrlReader);
  EXPECT_EQ(CheckInputConnect(), S_FALSE);
  EXPECT_EQ(filter->FileType(), 0);
  EXPECT_EQ(stages->fileType, 0);
  std::string logged;
  ASSERT_TRUE(store.ReadString(keys::kSoundProcessor, "LastFileName", logged));
  EXPECT_EQ(logged, "/movies/\xc3\xa9t\xc3\xa9.avi");
}

TEST_F(FilterConnection, FileLookupFailuresFailTheConnection) {
  Build(PcmType(1, 2, 48000, 16));
  AddFileSource(L"a.mp3");
  fileSource->curFileResult = static_cast<HRESULT>(0x80070005);
  EXPECT_EQ(ConnectInput(), static_cast<HRESULT>(0x80070005));
  EXPECT_FALSE(filter->InputPin().IsConnected());
  fileSource->curFileResult = S_OK;
  graph->enumResult = E_OUTOFMEMORY;
  EXPECT_EQ(ConnectInput(), E_OUTOFMEMORY);
  graph->enumResult = S_OK;
  EXPECT_EQ(CheckInputConnect(), S_OK);
  EXPECT_EQ(ConnectInput(), S_OK);
}

TEST_F(FilterConnection, OnlyFileSourceClassesAreAsked) {
  Build(PcmType(1, 2, 48000, 16));
  AddFileSource(L"a.mp3", kSplitterClass);
  EXPECT_EQ(CheckInputConnect(), S_FALSE);
  EXPECT_EQ(filter->FileType(), 0);
  EXPECT_EQ(filter->LastFileName(), "");
}

}  // namespace
}  // namespace zmsp::test
