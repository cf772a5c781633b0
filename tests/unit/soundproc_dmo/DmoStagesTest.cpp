// The channel expander and the time stretcher with scripted DMOs and with our
// own: when they apply, the output types, the parameter blocks byte by byte,
// time stamps across pieces, mono fold-back, the fallback to our DMOs and the
// failures.
#include <gtest/gtest.h>

#include "soundproc/dmo/DmoGuids.h"
#include "soundproc/dmo/OwnDmos.h"
#include "soundproc/stages/ChannelExpanderStage.h"
#include "soundproc/stages/TimeStretcherStage.h"
#include "tests/unit/soundproc_dmo/DmoTestDoubles.h"

namespace zmsp::test {
namespace {

const std::string kExpander = keys::kChannelExpander;
const std::string kStretcher = keys::kTimeStretcher;

// A stage of type S linked to a next stage, with scripted or own DMO sources.
template <typename S>
struct Rig {
  explicit Rig(std::size_t blockSize = 68) : dmo(MakeComObject<FakeDmo>(blockSize)) {
    classes.dmo = ComPtr<IMediaObject>(dmo.Get());
    stage.enabled = true;
    stage.filter = &filter;
    stage.next = &next;
  }
  // Sends `frames` frames of `channels` channels carrying `type` (when given).
  HRESULT Send(const MediaType* type, int channels, int frames, REFERENCE_TIME start = 0) {
    auto sample = MakeComObject<Sample>(65536);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(channels * frames));
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::int16_t>(i);
    sample->Fill(samples);
    sample->SetTime(&start, nullptr);
    if (type != nullptr) sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&type->Get()));
    return stage.Receive(sample.Get(), true);
  }

  MemorySettingsStore store;
  FakeClasses classes;
  Messages messages;
  Filter filter;
  NextStage next;
  ComPtr<FakeDmo> dmo;
  S stage{store, DmoSources{&classes, nullptr}};
};

TEST(ChannelExpander, AppliesOnlyToTheLayoutsAndRatesItExpands) {
  struct Case {
    WORD channels;
    DWORD rate;
    WORD bits;
    bool extensible;
    DWORD mask;
    std::uint32_t outputChannels;
    bool applies;
  } cases[] = {
      {2, 44100, 16, false, 0, 6, true},    {2, 44100, 16, true, 0x3, 4, true},
      {2, 8000, 16, false, 0, 6, false},    {2, 52000, 16, false, 0, 6, false},
      {2, 44100, 32, false, 0, 6, false},   {2, 44100, 16, true, 0x5, 6, false},
      {4, 48000, 16, true, 0x33, 4, false}, {4, 48000, 16, true, 0x33, 6, true},
      {4, 48000, 16, false, 0, 6, false},   {4, 48000, 16, true, 0x107, 8, false},
      {6, 48000, 16, true, 0x3F, 6, false}, {6, 48000, 16, true, 0x3F, 7, true},
      {1, 48000, 16, false, 0, 6, false},
  };
  Rig<ChannelExpanderStage> rig;
  for (const Case& c : cases) {
    rig.stage.outputChannels = c.outputChannels;
    EXPECT_EQ(rig.stage.AppliesTo(Wave(c.channels, c.rate, c.bits, c.extensible, c.mask).Get()), c.applies)
        << c.channels << " channels, mask " << c.mask << ", " << c.rate << " Hz, to " << c.outputChannels;
  }
  // A rate of 0 never applies, whatever the minimum frequency says.
  rig.stage.minFrequency = 0;
  EXPECT_FALSE(rig.stage.AppliesTo(Wave(2, 0).Get()));
  rig.stage.ac3Only = true;
  EXPECT_FALSE(rig.stage.AppliesTo(Wave(2).Get()));
  rig.stage.ac3Source = true;
  EXPECT_TRUE(rig.stage.AppliesTo(Wave(2).Get()));
}

TEST(ChannelExpander, OutputTypeIsTheExtensibleFormatWithTheStandardMask) {
  const std::pair<std::uint32_t, DWORD> masks[] = {{4, 0x33}, {6, 0x3F}, {7, 0x13F}, {8, 0xFF}};
  Rig<ChannelExpanderStage> rig;
  for (const auto& [channels, mask] : masks) {
    rig.stage.outputChannels = channels;
    MediaType out;
    ASSERT_EQ(rig.stage.OutputType(Wave(2, 44100).Get(), out), S_OK);
    ASSERT_EQ(out.Get().cbFormat, 40u);
    WAVEFORMATEXTENSIBLE wave;
    std::memcpy(&wave, out.Get().pbFormat, sizeof(wave));
    EXPECT_EQ(wave.Format.wFormatTag, 0xFFFE);
    EXPECT_EQ(wave.Format.nChannels, channels);
    EXPECT_EQ(wave.Format.nSamplesPerSec, 44100u);
    EXPECT_EQ(wave.Format.nBlockAlign, channels * 2);
    EXPECT_EQ(wave.Format.nAvgBytesPerSec, 44100u * channels * 2);
    EXPECT_EQ(wave.Format.cbSize, 22);
    EXPECT_EQ(wave.Samples.wValidBitsPerSample, 16);
    EXPECT_EQ(wave.dwChannelMask, mask);
    EXPECT_TRUE(guids::Same(wave.SubFormat, guids::kKsDataFormatSubtypePcm));
  }
  // Not expanded: a copy of the input.
  const MediaType mono = Wave(1);
  MediaType out;
  ASSERT_EQ(rig.stage.OutputType(mono.Get(), out), S_OK);
  ASSERT_EQ(out.Get().cbFormat, mono.Get().cbFormat);
  EXPECT_EQ(std::memcmp(out.Get().pbFormat, mono.Get().pbFormat, out.Get().cbFormat), 0);
}

TEST(ChannelExpander, CreationWritesTheUpmixBlockWordByWordAndKeepsTheRest) {
  struct Case {
    const char* name;
    std::uint32_t autoMode, mode, fileType;
    std::uint32_t algorithm, width;
    std::int32_t dimension;
    std::uint32_t panorama;
    // Expected words 3, 11, 13, 14, 16.
    std::uint32_t words[5];
  } cases[] = {
      {"auto mode, mp3 file: music", 1, 4, 1, 2, 5, -2, 1, {2, 1, 1, 2, 5}},
      {"auto mode, other file: movie", 2, 2, 0, 2, 5, -2, 1, {2, 0, 3, 3, 0}},
      {"fixed matrix mode", 0, 4, 1, 1, 5, -2, 1, {1, 0, 3, 4, 0}},
      {"fixed music mode", 0, 2, 0, 0, 7, 3, 0, {0, 0, 6, 2, 7}},
  };
  for (const Case& c : cases) {
    Rig<ChannelExpanderStage> rig;
    rig.store.SetDword(kExpander, "PL2AutoMode", c.autoMode);
    rig.store.SetDword(kExpander, "ProLogic2Mode", c.mode);
    rig.store.SetDword(kExpander, "Algorithm", c.algorithm);
    rig.store.SetDword(kExpander, "PL2MusicCenterWidth", c.width);
    rig.store.SetDword(kExpander, "PL2MusicDimension", static_cast<std::uint32_t>(c.dimension));
    rig.store.SetDword(kExpander, "PL2MusicPanorama", c.panorama);
    rig.stage.fileType = static_cast<std::int32_t>(c.fileType);
    const std::vector<BYTE> before = rig.dmo->block;
    const MediaType stereo = Wave(2);
    ASSERT_EQ(rig.Send(&stereo, 2, 10), S_OK) << c.name;

    std::vector<BYTE> expected = before;
    auto put = [&](std::size_t word, std::uint32_t value) {
      std::memcpy(expected.data() + word * 4, &value, 4);
    };
    put(0, 50);
    put(2, 1);
    const std::size_t written[] = {3, 11, 13, 14, 16};
    for (int i = 0; i < 5; ++i) put(written[i], c.words[i]);
    EXPECT_EQ(rig.dmo->block, expected) << c.name;
    EXPECT_EQ(rig.stage.proLogic2Mode, c.words[3]) << c.name;
    EXPECT_EQ(rig.stage.pl2AutoMode, c.autoMode) << c.name;
  }
}

TEST(ChannelExpander, RealtimeApplyRewritesOnlyChangedParametersBeforeTheNextInput) {
  Rig<ChannelExpanderStage> rig;
  rig.store.SetDword(kExpander, "RealtimeApply", 1);
  const MediaType stereo = Wave(2);
  ASSERT_EQ(rig.Send(&stereo, 2, 10), S_OK);
  const int loadsAfterCreation = rig.dmo->loads;
  // Words the stage sets only at creation are left alone from now on.
  rig.dmo->block[0] = 7;
  rig.dmo->block[8] = 9;
  ASSERT_EQ(rig.Send(nullptr, 2, 10), S_OK);
  EXPECT_EQ(rig.dmo->loads, loadsAfterCreation) << "unchanged parameters are not loaded again";

  rig.store.SetDword(kExpander, "Algorithm", 1);
  ASSERT_EQ(rig.Send(nullptr, 2, 10), S_OK);
  EXPECT_EQ(rig.dmo->loads, loadsAfterCreation + 1);
  EXPECT_EQ(rig.dmo->Word(3), 1u);
  EXPECT_EQ(rig.dmo->Word(0), 7u);
  EXPECT_EQ(rig.dmo->Word(2), 9u);
  EXPECT_EQ(rig.stage.algorithm, 1u);
}

TEST(TimeStretcher, SpeedBlockAtCreationAndPerSampleWhenChanged) {
  Rig<TimeStretcherStage> rig(4);
  rig.store.SetDword(kStretcher, "Speed", 1500);
  rig.store.SetDword(kStretcher, "RealtimeApply", 1);
  const MediaType stereo = Wave(2);
  ASSERT_EQ(rig.Send(&stereo, 2, 10), S_OK);
  EXPECT_EQ(rig.dmo->block, (std::vector<BYTE>{0xDC, 0x05, 0, 0}));
  EXPECT_EQ(rig.stage.speed, 1500u);
  const int loads = rig.dmo->loads;
  ASSERT_EQ(rig.Send(nullptr, 2, 10), S_OK);
  EXPECT_EQ(rig.dmo->loads, loads);
  rig.store.SetDword(kStretcher, "Speed", 563);
  ASSERT_EQ(rig.Send(nullptr, 2, 10), S_OK);
  EXPECT_EQ(rig.dmo->loads, loads + 1);
  EXPECT_EQ(rig.dmo->block, (std::vector<BYTE>{0x33, 0x02, 0, 0}));
  EXPECT_EQ(rig.stage.speed, 563u);
}

TEST(ChannelExpander, SecondPieceFollowsTheFirstInTimeAndLosesTypeAndFlags) {
  Rig<ChannelExpanderStage> rig;
  const MediaType stereo = Wave(2, 48000);
  auto input = MakeComObject<Sample>(4096);
  input->Fill(std::vector<std::int16_t>(960));  // 480 frames
  REFERENCE_TIME start = 1000000, stop = 1100000;
  input->SetTime(&start, &stop);
  LONGLONG mediaStart = 100, mediaStop = 580;
  input->SetMediaTime(&mediaStart, &mediaStop);
  input->SetSyncPoint(TRUE);
  input->SetDiscontinuity(TRUE);
  input->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&stereo.Get()));
  rig.dmo->pieces = {300 * 12, 180 * 12};  // 6-channel frames
  ASSERT_EQ(rig.stage.Receive(input.Get(), true), S_OK);

  ASSERT_EQ(rig.next.received.size(), 2u);
  const Sample& first = *rig.next.received[0];
  const Sample& second = *rig.next.received[1];
  EXPECT_EQ(rig.next.upstream, (std::vector<bool>{false, false}));
  EXPECT_EQ(first.TypeChannels(), 6);
  EXPECT_TRUE(first.syncPoint && first.discontinuity);
  EXPECT_EQ(first.start, 1000000);
  EXPECT_EQ(first.stop, 1000000 + 300 * 10000000LL / 48000);
  EXPECT_EQ(first.mediaStart, 100);
  EXPECT_EQ(first.mediaStop, 400);
  EXPECT_EQ(second.type, nullptr);
  EXPECT_FALSE(second.syncPoint || second.discontinuity);
  EXPECT_EQ(second.start, 1000000 + 300 * 10000000LL / 48000);
  EXPECT_EQ(second.stop, second.start + 180 * 10000000LL / 48000);
  EXPECT_EQ(second.mediaStart, 400);
  EXPECT_EQ(second.mediaStop, 580);
  EXPECT_EQ(rig.stage.totals.producedBytes, 480u * 12);
}

TEST(TimeStretcher, MonoGoesThroughAsEqualStereoAndComesBackAsTheLeftChannel) {
  Rig<TimeStretcherStage> rig(4);
  const MediaType mono = Wave(1, 22050);
  auto input = MakeComObject<Sample>(4096);
  input->Fill({10, -20, 30});
  LONGLONG mediaStart = 5, mediaStop = 8;
  input->SetMediaTime(&mediaStart, &mediaStop);
  input->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&mono.Get()));
  ASSERT_EQ(rig.stage.Receive(input.Get(), true), S_OK);

  const auto* given = reinterpret_cast<const WAVEFORMATEX*>(rig.dmo->inputType.Get().pbFormat);
  EXPECT_EQ(given->nChannels, 2);
  EXPECT_EQ(given->nBlockAlign, 4);
  EXPECT_EQ(given->nAvgBytesPerSec, 22050u * 4);
  EXPECT_EQ(given->nSamplesPerSec, 22050u);
  const std::vector<BYTE> stereo = {10, 0, 10, 0, 0xEC, 0xFF, 0xEC, 0xFF, 30, 0, 30, 0};
  EXPECT_EQ(rig.dmo->input, stereo);
  ASSERT_EQ(rig.next.received.size(), 1u);
  // The DMO raised every right sample; only the left ones come back.
  EXPECT_EQ(rig.next.received[0]->Samples(), (std::vector<std::int16_t>{10, -20, 30}));
  EXPECT_FALSE(rig.next.received[0]->hasMediaTimes);
  EXPECT_EQ(rig.next.received[0]->TypeChannels(), 1);
}

TEST(DmoFallback, OurOwnDmosStandInWhenTheOutsideClassesAreNotRegistered) {
  Rig<ChannelExpanderStage> expander;
  Rig<TimeStretcherStage> stretcher;
  expander.classes.answers = {REGDB_E_CLASSNOTREG};
  stretcher.classes.answers = {REGDB_E_CLASSNOTREG};
  ChannelExpanderStage ownExpander(expander.store, DmoSources{&expander.classes, &dmo::OwnDmos()});
  TimeStretcherStage ownStretcher(stretcher.store, DmoSources{&stretcher.classes, &dmo::OwnDmos()});
  ownExpander.enabled = true;
  ownExpander.filter = &expander.filter;
  ownExpander.next = &expander.next;
  const MediaType stereo = Wave(2, 44100);
  auto sample = MakeComObject<Sample>(8192);
  sample->Fill(std::vector<std::int16_t>(2000, 1000));
  sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&stereo.Get()));
  ASSERT_EQ(ownExpander.Receive(sample.Get(), true), S_OK);
  ASSERT_EQ(expander.next.received.size(), 1u);
  EXPECT_EQ(expander.next.received[0]->actual, 1000 * 12);
  EXPECT_EQ(expander.next.received[0]->TypeChannels(), 6);
  ComPtr<IPersistStream> persist;
  ASSERT_EQ(ownExpander.Dmo()->QueryInterface(IID_IPersistStream, persist.PutVoid()), S_OK);
  CLSID id{};
  persist->GetClassID(&id);
  EXPECT_TRUE(guids::Same(id, dmo::kUpmixerDmo));

  ownStretcher.enabled = true;
  ownStretcher.filter = &stretcher.filter;
  ownStretcher.next = &stretcher.next;
  ASSERT_EQ(ownStretcher.Receive(sample.Get(), true), S_OK);
  ASSERT_EQ(ownStretcher.Dmo()->QueryInterface(IID_IPersistStream, persist.PutVoid()), S_OK);
  persist->GetClassID(&id);
  EXPECT_TRUE(guids::Same(id, dmo::kTimeStretcherDmo));
  EXPECT_TRUE(expander.messages.shown.empty() && stretcher.messages.shown.empty());
}

TEST(DmoFallback, AnOutsideDmoThatIsRegisteredIsUsed) {
  Rig<ChannelExpanderStage> rig;
  ChannelExpanderStage stage(rig.store, DmoSources{&rig.classes, &dmo::OwnDmos()});
  stage.enabled = true;
  stage.filter = &rig.filter;
  stage.next = &rig.next;
  auto sample = MakeComObject<Sample>(4096);
  const MediaType stereo = Wave(2);
  sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&stereo.Get()));
  ASSERT_EQ(stage.Receive(sample.Get(), true), S_OK);
  EXPECT_EQ(stage.Dmo(), static_cast<IMediaObject*>(rig.dmo.Get()));
}

TEST(ChannelExpander, CreationFailuresAreReportedOnceAndSamplesPassThrough) {
  struct Case {
    const char* name;
    std::deque<HRESULT> answers;
    HRESULT initResult;
    HRESULT saveResult;
    std::vector<std::string> messages;
  } cases[] = {
      {"not registered, no fallback",
       {REGDB_E_CLASSNOTREG, REGDB_E_CLASSNOTREG},
       S_OK,
       S_OK,
       {"can't create expDMO (0x80040154)"}},
      {"COM cannot be set up", {CO_E_NOTINITIALIZED, CO_E_NOTINITIALIZED}, E_OUTOFMEMORY, S_OK, {}},
      {"parameters refused", {}, S_OK, E_FAIL, {"can't initialize expDMO (0x80004005)"}},
  };
  for (const Case& c : cases) {
    Rig<ChannelExpanderStage> rig;
    rig.classes.answers = c.answers;
    rig.classes.initResult = c.initResult;
    rig.dmo->saveResult = c.saveResult;
    const MediaType stereo = Wave(2);
    ASSERT_EQ(rig.Send(&stereo, 2, 10), S_OK) << c.name;
    ASSERT_EQ(rig.Send(&stereo, 2, 10), S_OK) << c.name;
    EXPECT_EQ(rig.messages.shown, c.messages) << c.name;
    EXPECT_EQ(rig.next.upstream, (std::vector<bool>{true, true})) << c.name << ": passed through unchanged";
    EXPECT_EQ(rig.next.received[1]->Samples().size(), 20u) << c.name;
    EXPECT_EQ(rig.stage.Dmo(), nullptr) << c.name;
  }
}

TEST(ChannelExpander, ApartmentIsSetUpOnceAndCreationRetried) {
  Rig<ChannelExpanderStage> rig;
  rig.classes.answers = {CO_E_NOTINITIALIZED, S_OK};
  const MediaType stereo = Wave(2);
  ASSERT_EQ(rig.Send(&stereo, 2, 10), S_OK);
  EXPECT_EQ(rig.classes.initializations, 1);
  EXPECT_EQ(rig.classes.creations, 2);
  EXPECT_NE(rig.stage.Dmo(), nullptr);
}

TEST(DmoStages, RefusedTypesAreReportedOnceAndSamplesPassThrough) {
  Rig<ChannelExpanderStage> expander;
  Rig<TimeStretcherStage> stretcher(4);
  expander.dmo->refuseTypes = stretcher.dmo->refuseTypes = true;
  const MediaType stereo = Wave(2);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(expander.Send(&stereo, 2, 10), S_OK);
    ASSERT_EQ(stretcher.Send(&stereo, 2, 10), S_OK);
  }
  // The rig made last collects the messages of both.
  EXPECT_EQ(stretcher.messages.shown,
            (std::vector<std::string>{"expDMO: type not accepted", "timestretchDMO: type not accepted"}));
  EXPECT_EQ(expander.next.upstream, (std::vector<bool>{true, true}));
  EXPECT_EQ(stretcher.next.upstream, (std::vector<bool>{true, true}));
}

TEST(TimeStretcher, FormatsItCannotStretchPassThrough) {
  const MediaType types[] = {Wave(2, 48000, 32), Wave(3), Wave(8, 48000, 16, true, 0xFF), Wave(2, 0)};
  Rig<TimeStretcherStage> rig(4);
  for (const MediaType& type : types) ASSERT_EQ(rig.Send(&type, 2, 4), S_OK);
  EXPECT_EQ(rig.classes.creations, 0);
  EXPECT_EQ(rig.next.upstream, (std::vector<bool>(4, true)));
}

TEST(DmoStages, StreamingFailuresAreReturned) {
  struct Case {
    const char* name;
    HRESULT inputResult, outputResult, timeAnswer;
    std::deque<HRESULT> passOn;
    HRESULT expected;
    std::size_t passedOn;
  } cases[] = {
      {"ProcessInput fails", E_OUTOFMEMORY, S_OK, S_OK, {}, E_OUTOFMEMORY, 0},
      {"ProcessOutput fails", S_OK, E_FAIL, S_OK, {}, E_FAIL, 0},
      {"time answer neither set nor unset", S_OK, S_OK, 0x00040271, {}, E_UNEXPECTED, 0},
      {"the first piece is refused downstream", S_OK, S_OK, S_OK, {VFW_E_WRONG_STATE}, VFW_E_WRONG_STATE, 1},
  };
  for (const Case& c : cases) {
    Rig<ChannelExpanderStage> rig;
    rig.dmo->inputResult = c.inputResult;
    rig.dmo->outputResult = c.outputResult;
    rig.dmo->pieces = {12, 12};
    rig.next.results = c.passOn;
    const MediaType stereo = Wave(2);
    auto sample = MakeComObject<Sample>(4096);
    sample->Fill({1, 2});
    sample->timeAnswer = c.timeAnswer;
    sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&stereo.Get()));
    EXPECT_EQ(rig.stage.Receive(sample.Get(), true), c.expected) << c.name;
    EXPECT_EQ(rig.next.received.size(), c.passedOn) << c.name;
  }
}

}  // namespace
}  // namespace zmsp::test
