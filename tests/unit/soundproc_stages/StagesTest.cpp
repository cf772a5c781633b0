#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "soundproc/contract/SettingsStore.h"
#include "soundproc/stages/ChannelControlStage.h"
#include "soundproc/stages/ChannelExpanderStage.h"
#include "soundproc/stages/SoundMeterStage.h"
#include "soundproc/stages/TimeStretcherStage.h"
#include "tests/unit/soundproc_stages/StageTestDoubles.h"

namespace zmsp {
namespace {

using test::TestFilter;
using test::TestOutputPin;
using test::TestSample;
using test::WaveType;

const std::string kCc = "SOFTWARE\\AC3_zembra\\Channel Control";

// An input sample as the upstream filter hands it over, released at the end.
struct InputSample {
  template <typename Sample>
  InputSample(const std::vector<Sample>& samples, const MediaType* type) : sample(TestSample::Create(4096)) {
    sample->Fill(samples);
    if (type != nullptr) sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&type->Get()));
  }
  ~InputSample() { sample->Release(); }
  TestSample* sample;
};

// Channel control followed by the meter, as at the end of the filter's chain.
struct Chain {
  explicit Chain(MemorySettingsStore& store) : control(store) {
    control.filter = &filter;
    control.next = &meter;
    control.outputPin = &pin;
    control.enabled = true;
    meter.filter = &filter;
    meter.outputPin = &pin;
    meter.enabled = true;
  }
  TestFilter filter;
  TestOutputPin pin;
  ChannelControlStage control;
  SoundMeterStage meter;
};

void setBoost(MemorySettingsStore& store, std::uint32_t levelDb) {
  store.SetDword(kCc, "Enable", 1);
  store.SetDword(kCc, "EnableVolBoost", 1);
  store.SetDword(kCc, "VolBoostAlgorithm", 1);
  store.SetDword(kCc, "VolBoostLevel", levelDb);
}

TEST(SoundMeterStage, CopiesAnUpstreamSampleThatNoStageCopied) {
  TestFilter filter;
  TestOutputPin pin;
  SoundMeterStage meter;
  meter.filter = &filter;
  meter.outputPin = &pin;
  meter.enabled = true;
  meter.measuring = true;
  const MediaType type = WaveType(2, 16);
  InputSample input(std::vector<std::int16_t>{100, -200, -100, 200}, &type);

  ASSERT_EQ(meter.Receive(input.sample, true), S_OK);
  ASSERT_EQ(pin.delivered.size(), 1u);
  EXPECT_NE(pin.delivered[0], input.sample);
  EXPECT_EQ(pin.Last()->Samples<std::int16_t>(), (std::vector<std::int16_t>{100, -200, -100, 200}));
  EXPECT_TRUE(pin.Last()->HasMediaType());
  EXPECT_EQ(meter.Level(0), 100);
  EXPECT_EQ(meter.Level(1), 200);
  EXPECT_EQ(meter.Display(1).bar, 509);  // ln 200 * 96.18
  EXPECT_EQ(meter.lastSample.actualDataLength, 8);
  EXPECT_EQ(meter.lastSample.bufferSize, 4096);
  EXPECT_EQ(input.sample->References(), 1u);
}

TEST(SoundMeterStage, LevelsMoveOnlyWhileMeasuringAndForSupportedFormats) {
  TestFilter filter;
  TestOutputPin pin;
  SoundMeterStage meter;
  meter.filter = &filter;
  meter.outputPin = &pin;
  meter.enabled = true;
  const MediaType tenChannels = WaveType(10, 16);
  InputSample wide(std::vector<std::int16_t>(20, 1000), &tenChannels);
  meter.measuring = true;
  ASSERT_EQ(meter.Receive(wide.sample, false), S_OK);  // passed on, not measured
  EXPECT_FALSE(meter.formatSupported);
  EXPECT_EQ(meter.Level(0), 0);
  EXPECT_EQ(pin.delivered.back(), wide.sample);

  const MediaType stereo = WaveType(2, 16);
  InputSample quiet(std::vector<std::int16_t>{50, 50}, &stereo);
  meter.measuring = false;
  ASSERT_EQ(meter.Receive(quiet.sample, false), S_OK);
  EXPECT_EQ(meter.Level(0), 0);
  meter.measuring = true;
  quiet.sample->pointerFails = true;  // skipped, still delivered
  ASSERT_EQ(meter.Receive(quiet.sample, false), S_OK);
  EXPECT_EQ(meter.Level(0), 0);
  EXPECT_EQ(pin.delivered.size(), 3u);
  quiet.sample->pointerFails = false;
  ASSERT_EQ(meter.Receive(quiet.sample, false), S_OK);
  EXPECT_EQ(meter.Level(0), 50);
}

TEST(SoundMeterStage, FailuresOfTheCopyPathAreReturnedAndNothingIsDelivered) {
  TestFilter filter;
  TestOutputPin pin;
  SoundMeterStage meter;
  meter.filter = &filter;
  meter.outputPin = &pin;
  InputSample input(std::vector<std::int16_t>(8, 1), nullptr);
  EXPECT_EQ(meter.Receive(nullptr, true), E_POINTER);
  filter.failWith = E_OUTOFMEMORY;
  EXPECT_EQ(meter.Receive(input.sample, true), E_OUTOFMEMORY);
  filter.failWith = S_OK;
  filter.outputSize = 4;  // smaller than the data
  EXPECT_EQ(meter.Receive(input.sample, true), E_FAIL);
  EXPECT_TRUE(pin.delivered.empty());
  pin.result = E_UNEXPECTED;  // the downstream answer is the stage's answer
  filter.outputSize = 4096;
  EXPECT_EQ(meter.Receive(input.sample, true), E_UNEXPECTED);
}

TEST(ChannelControlStage, WorksOnOneCopyAndLeavesTheUpstreamSampleAlone) {
  MemorySettingsStore store;
  setBoost(store, 6);
  Chain chain(store);
  const MediaType type = WaveType(2, 16);
  InputSample input(std::vector<std::int16_t>{1000, -1000}, &type);

  ASSERT_EQ(chain.control.Receive(input.sample, true), S_OK);
  EXPECT_EQ(input.sample->Samples<std::int16_t>(), (std::vector<std::int16_t>{1000, -1000}));
  EXPECT_TRUE(chain.control.mustCopy);
  // The meter got the processed copy as the filter's own sample and delivered it as is.
  EXPECT_EQ(chain.filter.handedOut, 1);
  ASSERT_EQ(chain.pin.delivered.size(), 1u);
  EXPECT_EQ(chain.pin.Last()->Samples<std::int16_t>(), (std::vector<std::int16_t>{1995, -1995}));
  EXPECT_EQ(chain.pin.Last()->References(), 1u);  // only the pin's reference is left
}

TEST(ChannelControlStage, ProcessesTheFiltersOwnSamplesInPlace) {
  MemorySettingsStore store;
  setBoost(store, 6);
  Chain chain(store);
  const MediaType type = WaveType(1, 32);
  InputSample own(std::vector<std::int32_t>{1000, 2000000000}, &type);
  ASSERT_EQ(chain.control.Receive(own.sample, false), S_OK);
  EXPECT_EQ(chain.filter.handedOut, 0);
  EXPECT_EQ(chain.pin.delivered.back(), own.sample);
  EXPECT_EQ(own.sample->Samples<std::int32_t>(), (std::vector<std::int32_t>{1995, 2147483647}));
}

TEST(ChannelControlStage, WithoutWorkTheSampleGoesOnAndTheMeterCopiesIt) {
  MemorySettingsStore store;
  setBoost(store, 6);
  Chain chain(store);
  chain.control.enabled = false;
  const MediaType type = WaveType(2, 16);
  InputSample input(std::vector<std::int16_t>{1000, -1000}, &type);
  ASSERT_EQ(chain.control.Receive(input.sample, true), S_OK);
  EXPECT_EQ(chain.filter.handedOut, 1);  // the meter's copy
  EXPECT_EQ(chain.pin.Last()->Samples<std::int16_t>(), (std::vector<std::int16_t>{1000, -1000}));
}

TEST(ChannelControlStage, RealtimeApplyRereadsTheSettingsBeforeEachSample) {
  for (const bool realtime : {false, true}) {
    MemorySettingsStore store;
    setBoost(store, 6);
    store.SetDword(kCc, "RealtimeApply", realtime ? 1 : 0);
    Chain chain(store);
    const MediaType type = WaveType(1, 16);
    InputSample first(std::vector<std::int16_t>{1000}, &type);
    ASSERT_EQ(chain.control.Receive(first.sample, true), S_OK);
    store.SetDword(kCc, "VolBoostLevel", 20);
    InputSample second(std::vector<std::int16_t>{1000}, nullptr);
    ASSERT_EQ(chain.control.Receive(second.sample, true), S_OK);
    EXPECT_EQ(chain.pin.Last()->Samples<std::int16_t>(),
              std::vector<std::int16_t>{static_cast<std::int16_t>(realtime ? 10000 : 1995)})
        << "RealtimeApply " << realtime;
  }
}

TEST(ChannelControlStage, FormatChangesTravelOnSamplesAndHasLfeComesFromTheFilter) {
  MemorySettingsStore store;
  store.SetDword(kCc, "Enable", 1);
  store.SetDword(kCc, "EnableLFEMixer", 1);
  store.SetDword(kCc, "LFEMixerLevel", 100);
  Chain chain(store);
  const MediaType surround = WaveType(6, 16, true, 0x3F);
  // The filter's input has no LFE (an expanded stereo stream): no mixing.
  InputSample expanded(std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}, &surround);
  ASSERT_EQ(chain.control.Receive(expanded.sample, true), S_OK);
  EXPECT_EQ(chain.pin.Last()->Samples<std::int16_t>(), (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}));

  chain.control.hasLfe = true;
  InputSample real(std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}, &surround);
  ASSERT_EQ(chain.control.Receive(real.sample, true), S_OK);
  EXPECT_EQ(chain.pin.Last()->Samples<std::int16_t>(), (std::vector<std::int16_t>{5, 6, 3, 0, 5, 6}));
  EXPECT_EQ(chain.control.format.channels, 6);
  EXPECT_EQ(chain.control.Control().Positions().lowFrequency, 3);
}

TEST(ChannelControlStage, SettingsComeThroughTheGettersRanges) {
  MemorySettingsStore store;
  store.SetDword(kCc, "Enable", 1);
  store.SetDword(kCc, "VolBoostLevel", 21);  // out of range: the default 10
  store.SetDword(kCc, "FRBalanceLevel", static_cast<std::uint32_t>(-30));
  store.SetDword(kCc, "LFEMixerOverflowProtection", 0);
  const ChannelControlStage stage(store);
  EXPECT_TRUE(stage.enabled);
  EXPECT_EQ(stage.CurrentSettings().volBoostLevelDb, 10);
  EXPECT_EQ(stage.CurrentSettings().frBalanceLevel, -30);
  EXPECT_FALSE(stage.CurrentSettings().lfeOverflowProtection);
  MemorySettingsStore empty;
  EXPECT_TRUE(ChannelControlStage(empty).CurrentSettings().lfeOverflowProtection);
}

TEST(PassThroughStages, PassTheSampleOnUnchangedWithTheSameFlag) {
  MemorySettingsStore store;
  store.SetDword("SOFTWARE\\AC3_zembra\\Channel Expander", "OutputChannels", 8);
  store.SetDword("SOFTWARE\\AC3_zembra\\Channel Expander", "Enable", 1);
  // Switched on, but for AC3 sources only: this stereo input is not expanded.
  store.SetDword("SOFTWARE\\AC3_zembra\\Channel Expander", "AC3Only", 1);
  ChannelExpanderStage expander(store);
  TimeStretcherStage stretcher;
  MemorySettingsStore ccStore;
  Chain tail(ccStore);
  expander.next = &stretcher;
  stretcher.next = &tail.control;
  EXPECT_TRUE(expander.enabled);
  EXPECT_FALSE(stretcher.enabled);
  EXPECT_EQ(expander.outputChannels, 8u);

  const MediaType type = WaveType(2, 16);
  InputSample input(std::vector<std::int16_t>{7, -7}, &type);
  EXPECT_FALSE(expander.AppliesTo(type.Get()));
  MediaType output;
  ASSERT_EQ(expander.OutputType(type.Get(), output), S_OK);
  EXPECT_EQ(output.Get().cbFormat, type.Get().cbFormat);

  ASSERT_EQ(expander.Receive(input.sample, true), S_OK);
  EXPECT_EQ(expander.format.channels, 2);
  EXPECT_EQ(stretcher.format.bitsPerSample, 16);
  EXPECT_EQ(stretcher.lastSample.actualDataLength, 4);
  // Only the meter copied; the data is unchanged.
  EXPECT_EQ(tail.filter.handedOut, 1);
  EXPECT_EQ(tail.pin.Last()->Samples<std::int16_t>(), (std::vector<std::int16_t>{7, -7}));
}

}  // namespace
}  // namespace zmsp
