// Loading a large caption file must stay well inside one 200 ms timer tick,
// and the per-tick lookup must cost next to nothing.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/captions/CaptionFiles.h"
#include "player/captions/CaptionView.h"
#include "player/captions/SamiDocument.h"
#include "player/core/TextCodec.h"

namespace orves {
namespace {

// Argument 0: the file in CP949 (every text converted), 1: in UTF-8.
void LoadFile(benchmark::State& state) {
  const std::string file = bench::MakeSamiFile(state.range(0) == 1);
  const auto codec = MakeSystemTextCodec();
  TSamiDocument document(*codec);
  for (auto _ : state) {
    document.LoadBytes(file);
    benchmark::DoNotOptimize(document.Count(TCaptionLanguage::Korean));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
  state.counters["entries"] = document.Count(TCaptionLanguage::Korean);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(LoadFile)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 10,000 cues of SubRip (0), WebVTT (1) or ASS (2), read into a table.
void LoadTimedFile(benchmark::State& state) {
  const TCaptionFormat formats[] = {TCaptionFormat::SubRip, TCaptionFormat::WebVtt, TCaptionFormat::Ass};
  const TCaptionFormat format = formats[state.range(0)];
  const std::string file = bench::MakeTimedFile(format);
  const auto codec = MakeSystemTextCodec();
  TSamiDocument document(*codec);
  for (auto _ : state) {
    document.LoadBytes(file, format);
    benchmark::DoNotOptimize(document.Count(TCaptionLanguage::Korean));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
  state.SetLabel(FormatName(format));
  state.counters["entries"] = document.Count(TCaptionLanguage::Korean);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(LoadTimedFile)->ArgName("format")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void LookupCurrentEntry(benchmark::State& state) {
  const auto codec = MakeSystemTextCodec();
  TSamiDocument document(*codec);
  document.LoadBytes(bench::MakeSamiFile(false));
  const auto& table = document.Table(TCaptionLanguage::Korean);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> position(0, table.back().start + 10);
  std::vector<double> positions(4096);
  for (double& p : positions) p = position(random);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindCurrentEntry(table, positions[i++ & 4095], 0.5));
  }
}
BENCHMARK(LookupCurrentEntry)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace orves
