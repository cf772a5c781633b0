// orvesmp-sami dump against ffmpeg reading the same caption file and writing
// it as SubRip (ffmpeg -i FILE -f srt -), both run as processes with their
// output thrown away, in one run: a 1.4 MB SubRip file of 10,000 cues and a
// SAMI file of 10,000 entries, written to /tmp.
//
//   bench_caption_dump
//
// Counters: ffmpeg_s and ours_s, the best wall time of the iterations;
// ffmpeg_over_ours, their ratio; ffmpeg_cpu_s and ours_cpu_s, the CPU time of
// those runs (fairer on a machine shared with other work).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/captions/CaptionFiles.h"

namespace orves {
namespace {

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct RunTime {
  double wall = 1e9;
  double cpu = 1e9;
};

// Runs `command` and keeps the best wall and CPU time seen.
bool Time(const std::string& command, RunTime& best) {
  const double cpu = ChildCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  best.wall =
      std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  best.cpu = std::min(best.cpu, ChildCpuSeconds() - cpu);
  return status == 0;
}

void Compare(benchmark::State& state, const std::string& file, const std::string& bytes) {
  if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) {
    state.SkipWithError("ffmpeg is not installed");
    return;
  }
  std::ofstream(file, std::ios::binary) << bytes;
  RunTime ffmpeg, ours;
  for (auto _ : state) {
    const bool ok = Time("ffmpeg -v error -i " + file + " -f srt - > /dev/null", ffmpeg) &&
                    Time(std::string(ORVES_SAMI_TOOL) + " dump " + file + " > /dev/null", ours);
    if (!ok) state.SkipWithError("a command failed");
  }
  std::remove(file.c_str());
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
  state.counters["ffmpeg_s"] = ffmpeg.wall;
  state.counters["ours_s"] = ours.wall;
  state.counters["ffmpeg_over_ours"] = ffmpeg.wall / ours.wall;
  state.counters["ffmpeg_cpu_s"] = ffmpeg.cpu;
  state.counters["ours_cpu_s"] = ours.cpu;
}

void DumpSubRipVersusFfmpeg(benchmark::State& state) {
  Compare(state, "/tmp/orves_caption_dump_bench.srt", bench::MakeTimedFile(TCaptionFormat::SubRip));
}
BENCHMARK(DumpSubRipVersusFfmpeg)->Iterations(15)->Unit(benchmark::kMillisecond)->UseRealTime();

void DumpSamiVersusFfmpeg(benchmark::State& state) {
  Compare(state, "/tmp/orves_caption_dump_bench.smi", bench::MakeSamiFile(true));
}
BENCHMARK(DumpSamiVersusFfmpeg)->Iterations(15)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orves
