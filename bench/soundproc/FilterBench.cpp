// The whole chain as the filter runs it: the input pin's Receive with the
// per-sample driver (settings re-read, chain linking) and the four stages,
// delivering to a sink that drops what it gets. One 557,056-byte upstream
// sample is received over and over; "x_memcpy" is the time per sample over
// the time of one memcpy of the buffer, measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench/soundproc/BenchBuffers.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/contract/SettingsStore.h"
#include "soundproc/frame/SoundProcessorFilter.h"
#include "tools/zmsp-process/HostFilters.h"

namespace zmsp {
namespace {

using bench::kBufferBytes;
constexpr CLSID kBenchDecoder = {0x5A4D5350, 0x0B00, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
constexpr CLSID kBenchRenderer = {0x5A4D5350, 0x0B00, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 2}};

// A renderer input that accepts every sample and keeps nothing.
class DiscardingPin final : public ds::BaseInputPin {
 public:
  DiscardingPin(ds::BaseFilter& filter, const wchar_t* name) : BaseInputPin(filter, name) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return type != nullptr ? S_OK : E_POINTER; }
  // The filter brings its own allocator, as it does for the audio renderer.
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override {
    if (allocator != nullptr) *allocator = nullptr;
    return VFW_E_NO_ALLOCATOR;
  }

  std::int64_t received = 0;

 private:
  HRESULT OnReceive(IMediaSample*) override {
    ++received;
    return S_OK;
  }
};

using bench::Format;
using bench::kStereo16;
using bench::kSurround32;

// ops: 0 nothing but the meter; 1 every channel-control operation (soft boost).
template <const Format& F>
void BM_FilterReceive(benchmark::State& state) {
  MemorySettingsStore store;
  const std::string key = "SOFTWARE\\AC3_zembra\\Channel Control";
  store.SetDword(key, "Enable", 1);
  if (state.range(0) != 0) {
    for (const char* name : {"EnableVolAdjust", "EnableFRBalance", "EnableLFEMixer",
                             "LFEMixerCorrectSignalLevel", "EnableVolBoost"}) {
      store.SetDword(key, name, 1);
    }
    store.SetDword(key, "VolAdjustFrontLevel", 3);
    store.SetDword(key, "VolAdjustRearLevel", 4);
    store.SetDword(key, "FRBalanceLevel", 20);
    store.SetDword(key, "LFEMixerLevel", 60);
  }
  SoundProcessorFilter* created = nullptr;
  if (FAILED(SoundProcessorFilter::Create(store, &created))) {
    state.SkipWithError("filter refused");
    return;
  }
  auto filter = ComPtr<SoundProcessorFilter>::Adopt(created);
  auto graph = host::HostGraph::Create();
  auto decoder = MakeComObject<host::HostFilter>(kBenchDecoder, L"Decoder");
  auto renderer = MakeComObject<host::HostFilter>(kBenchRenderer, L"Renderer");
  const MediaType pcm = host::PcmType(F.mask != 0 ? 0xFFFE : 1, F.channels, 48000, F.bits, F.mask);
  auto& decoderOut = decoder->AddPin<host::SourcePin>(L"Out", pcm.Get(), static_cast<LONG>(kBufferBytes));
  auto& sink = renderer->AddPin<DiscardingPin>(L"In");
  graph->AddFilter(decoder.Get(), L"Decoder");
  graph->AddFilter(filter.Get(), L"ZEMBRA's Sound Processor");
  graph->AddFilter(renderer.Get(), L"Renderer");
  if (FAILED(decoderOut.Connect(&filter->InputPin(), &pcm.Get())) ||
      FAILED(filter->OutputPin().Connect(&sink, nullptr)) || FAILED(graph->Run())) {
    state.SkipWithError("graph did not start");
    graph->Clear();
    return;
  }
  filter->Stages().SetMeasuring(true);

  ComPtr<IMediaSample> sample;
  ComPtr<IMemInputPin> input;
  decoderOut.Allocator()->GetBuffer(sample.Put(), nullptr, nullptr, 0);
  filter->InputPin().QueryInterface(IID_IMemInputPin, input.PutVoid());
  const std::vector<std::uint8_t> signal = bench::makeSignal(F);
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(data, signal.data(), kBufferBytes);
  sample->SetActualDataLength(static_cast<LONG>(kBufferBytes));
  // The first sample carries the type through the chain; later ones carry none.
  if (input->Receive(sample.Get()) != S_OK) state.SkipWithError("receive failed");
  sample->SetMediaType(nullptr);
  for (auto _ : state) {
    benchmark::DoNotOptimize(input->Receive(sample.Get()));
  }
  bench::reportThroughput(state, F);
  if (sink.received < static_cast<std::int64_t>(state.iterations()))
    state.SkipWithError("samples went missing");

  sample.Reset();
  graph->Stop();
  graph->Clear();
}
BENCHMARK_TEMPLATE(BM_FilterReceive, kStereo16)->ArgName("ops")->Arg(0)->Arg(1);
BENCHMARK_TEMPLATE(BM_FilterReceive, kSurround32)->ArgName("ops")->Arg(0)->Arg(1);

}  // namespace
}  // namespace zmsp
