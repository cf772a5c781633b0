// Throughput of the sound processor's stages on one output-allocator-sized
// buffer (557,056 bytes), as samples per second and as a multiple of the time
// a plain memcpy of the same buffer takes in the same run ("x_memcpy").
//
//   bench_soundproc_stages --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/soundproc/BenchBuffers.h"
#include "soundproc/contract/SettingsStore.h"
#include "soundproc/stages/ChannelControl.h"
#include "soundproc/stages/ChannelControlStage.h"
#include "soundproc/stages/ChannelExpanderStage.h"
#include "soundproc/stages/SoundMeter.h"
#include "soundproc/stages/SoundMeterStage.h"
#include "soundproc/stages/TimeStretcherStage.h"
#include "tests/unit/soundproc_stages/StageTestDoubles.h"

namespace zmsp {
namespace {

using bench::Format;
using bench::kBufferBytes;
using bench::kStereo16;
using bench::kSurround32;
using bench::makeSignal;

PcmFormat layoutOf(const Format& f) {
  PcmFormat layout;
  layout.parsed = true;
  layout.formatTag = f.mask != 0 ? PcmFormat::kTagExtensible : PcmFormat::kTagPcm;
  layout.extensible = f.mask != 0;
  layout.channelMask = f.mask;
  layout.channels = f.channels;
  layout.bitsPerSample = f.bits;
  return layout;
}

void report(benchmark::State& state, const Format& f) { bench::reportThroughput(state, f); }

void BM_Memcpy(benchmark::State& state) {
  const std::vector<std::uint8_t> from = makeSignal(kStereo16);
  std::vector<std::uint8_t> to(kBufferBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBufferBytes);
    benchmark::ClobberMemory();
  }
  report(state, kStereo16);
}
BENCHMARK(BM_Memcpy);

template <const Format& F>
void BM_MeterLevels(benchmark::State& state) {
  const std::vector<std::uint8_t> signal = makeSignal(F);
  const PcmFormat layout = layoutOf(F);
  MeterLevels levels{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(MeasureLevels(std::as_bytes(std::span(signal)), layout, levels));
    benchmark::DoNotOptimize(levels);
  }
  report(state, F);
}
BENCHMARK_TEMPLATE(BM_MeterLevels, kStereo16);
BENCHMARK_TEMPLATE(BM_MeterLevels, kSurround32);

enum Ops : int { kVolAdjust = 1, kBalance = 2, kLfeMixer = 4, kBoostSoft = 8, kBoostPlain = 16 };

ChannelControlSettings settingsFor(int ops) {
  ChannelControlSettings s;
  s.enable = true;
  s.volAdjust = ops & kVolAdjust;
  s.frontLevelDb = 3;
  s.centerLevelDb = -3;
  s.lfeLevelDb = 2;
  s.rearLevelDb = 4;
  s.frBalance = ops & kBalance;
  s.frBalanceLevel = 20;
  s.lfeMixer = ops & kLfeMixer;
  s.lfeMixerLevel = 60;
  s.lfeCorrectSignalLevel = true;
  s.volBoost = ops & (kBoostSoft | kBoostPlain);
  s.volBoostLevelDb = 10;
  s.volBoostAlgorithm = (ops & kBoostPlain) ? BoostAlgorithm::kPlainGain : BoostAlgorithm::kSoftCurve;
  return s;
}

template <const Format& F>
void BM_ChannelControl(benchmark::State& state) {
  const std::vector<std::uint8_t> signal = makeSignal(F);
  std::vector<std::byte> work(kBufferBytes);
  std::memcpy(work.data(), signal.data(), kBufferBytes);
  ChannelControl control;
  control.SetSettings(settingsFor(static_cast<int>(state.range(0))));
  control.SetHasLfe(true);
  control.Configure(layoutOf(F));
  for (auto _ : state) {
    benchmark::DoNotOptimize(control.Process(work, work.size()));
    benchmark::ClobberMemory();
    // Start every run from the same signal, outside the timing.
    state.PauseTiming();
    std::memcpy(work.data(), signal.data(), kBufferBytes);
    state.ResumeTiming();
  }
  report(state, F);
}
// 16-bit stereo (plain PCM): only the boost applies there.
BENCHMARK_TEMPLATE(BM_ChannelControl, kStereo16)->ArgName("ops")->Arg(kBoostSoft)->Arg(kBoostPlain);
BENCHMARK_TEMPLATE(BM_ChannelControl, kSurround32)
    ->ArgName("ops")
    ->Arg(kVolAdjust)
    ->Arg(kBalance)
    ->Arg(kLfeMixer)
    ->Arg(kBoostSoft)
    ->Arg(kBoostPlain)
    ->Arg(kVolAdjust | kBalance | kLfeMixer | kBoostSoft)
    ->Arg(kVolAdjust | kBalance | kLfeMixer | kBoostPlain);

// Hands out one recycled output sample, as the output allocator would.
class RecyclingFilter final : public StageFilter {
 public:
  RecyclingFilter() : sample_(test::TestSample::Create(kBufferBytes)) {}
  ~RecyclingFilter() { sample_->Release(); }
  HRESULT GetOutputSample(IMediaSample*, IMediaSample** output) override {
    sample_->AddRef();
    *output = sample_;
    return S_OK;
  }

 private:
  test::TestSample* sample_;
};

class NullPin final : public StageOutputPin {
 public:
  HRESULT Deliver(IMediaSample*) override { return S_OK; }
};

// The four stages linked as the filter links them (expander, time stretcher,
// channel control, meter) and fed the filter's input sample, so the chain
// includes channel control's copy into an output sample.
template <const Format& F>
void BM_StageChain(benchmark::State& state) {
  const int ops = static_cast<int>(state.range(0));
  MemorySettingsStore store;
  const std::string key = "SOFTWARE\\AC3_zembra\\Channel Control";
  const ChannelControlSettings s = settingsFor(ops);
  store.SetDword(key, "Enable", 1);
  store.SetDword(key, "EnableVolAdjust", s.volAdjust);
  store.SetDword(key, "VolAdjustFrontLevel", 3);
  store.SetDword(key, "VolAdjustCenterLevel", static_cast<std::uint32_t>(-3));
  store.SetDword(key, "VolAdjustLFELevel", 2);
  store.SetDword(key, "VolAdjustRearLevel", 4);
  store.SetDword(key, "EnableFRBalance", s.frBalance);
  store.SetDword(key, "FRBalanceLevel", 20);
  store.SetDword(key, "EnableLFEMixer", s.lfeMixer);
  store.SetDword(key, "LFEMixerLevel", 60);
  store.SetDword(key, "LFEMixerCorrectSignalLevel", 1);
  store.SetDword(key, "EnableVolBoost", s.volBoost);
  store.SetDword(key, "VolBoostAlgorithm", s.volBoostAlgorithm == BoostAlgorithm::kPlainGain ? 1 : 0);

  RecyclingFilter filter;
  NullPin pin;
  ChannelExpanderStage expander(store);
  TimeStretcherStage stretcher;
  ChannelControlStage control(store);
  SoundMeterStage meter;
  ProcessingStage* chain[] = {&expander, &stretcher, &control, &meter};
  for (std::size_t i = 0; i < 4; ++i) {
    chain[i]->filter = &filter;
    chain[i]->outputPin = &pin;
    chain[i]->next = i + 1 < 4 ? chain[i + 1] : nullptr;
  }
  meter.enabled = true;
  meter.measuring = true;
  control.hasLfe = F.mask != 0;

  test::TestSample* input = test::TestSample::Create(kBufferBytes);
  input->Fill(makeSignal(F));
  const MediaType type = test::WaveType(F.channels, F.bits, F.mask != 0, F.mask);
  input->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&type.Get()));
  if (expander.Receive(input, true) != S_OK) state.SkipWithError("chain failed");
  input->SetMediaType(nullptr);
  for (auto _ : state) {
    benchmark::DoNotOptimize(expander.Receive(input, true));
  }
  input->Release();
  report(state, F);
}
BENCHMARK_TEMPLATE(BM_StageChain, kStereo16)->ArgName("ops")->Arg(0)->Arg(kBoostSoft);
BENCHMARK_TEMPLATE(BM_StageChain, kSurround32)
    ->ArgName("ops")
    ->Arg(0)
    ->Arg(kVolAdjust | kBalance | kLfeMixer | kBoostSoft);

}  // namespace
}  // namespace zmsp
