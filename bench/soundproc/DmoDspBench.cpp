// Throughput of our DMOs' engines, the matrix upmixer (stereo to 5.1) and the
// WSOLA time stretcher (speed 1.5), on one output-allocator buffer; and, when
// ffmpeg is installed, both against ffmpeg on the same 600 s 44.1 kHz stereo
// WAV file in /tmp, file to file, in one run:
//
//   bench_soundproc_dmo_dsp --benchmark_filter=VersusFfmpeg
//
// The comparison reports seconds per whole run as counters: ffmpeg_s and ours_s
// (read, process in allocator-sized pieces, write), and engine_s (processing
// alone), all wall time; ffmpeg_cpu_s, ours_cpu_s and engine_cpu_s, the CPU
// time of the same.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "bench/soundproc/BenchBuffers.h"
#include "soundproc/stages/MatrixUpmixer.h"
#include "soundproc/stages/WsolaStretcher.h"

namespace zmsp {
namespace {

using bench::kBufferBytes;
using bench::kStereo16;

constexpr int kRate = 44100;
constexpr std::size_t kPieceFrames = kBufferBytes / 4;  // one allocator buffer of stereo 16-bit

std::vector<std::int16_t> stereoSignal() {
  const std::vector<std::uint8_t> bytes = bench::makeSignal(kStereo16);
  std::vector<std::int16_t> pcm(bytes.size() / 2);
  std::memcpy(pcm.data(), bytes.data(), bytes.size());
  return pcm;
}

// Stereo to 5.1 in allocator-sized pieces; returns the frames written.
std::size_t upmix(MatrixUpmixer& upmixer, const std::vector<std::int16_t>& in,
                  std::vector<std::int16_t>& out) {
  const std::size_t frames = in.size() / 2;
  out.resize(frames * 6);
  std::size_t done = 0;
  while (done < frames) {
    const std::size_t n = std::min(kPieceFrames, frames - done);
    done += upmixer.Process(in.data() + 2 * done, n, out.data() + 6 * done, n);
  }
  return done;
}

// Stretches stereo input pushed in allocator-sized pieces, pulling after each.
std::size_t stretch(WsolaStretcher& stretcher, const std::vector<std::int16_t>& in,
                    std::vector<std::int16_t>& out, bool end) {
  const std::size_t frames = in.size() / 2;
  std::size_t written = 0;
  auto pullAll = [&] {
    out.resize(std::max(out.size(), 2 * (written + stretcher.Available())));
    written += stretcher.Pull(out.data() + 2 * written, stretcher.Available());
  };
  for (std::size_t done = 0; done < frames; done += kPieceFrames) {
    const std::size_t n = std::min(kPieceFrames, frames - done);
    benchmark::DoNotOptimize(stretcher.Push(in.data() + 2 * done, n));
    pullAll();
  }
  if (end) {
    stretcher.Flush();
    pullAll();
  }
  out.resize(2 * written);
  return written;
}

void BM_UpmixStereoTo51(benchmark::State& state) {
  const auto in = stereoSignal();
  MatrixUpmixer upmixer;
  if (!upmixer.Configure(2, 6, kRate)) {
    state.SkipWithError("configure failed");
    return;
  }
  std::vector<std::int16_t> out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(upmix(upmixer, in, out));
    benchmark::ClobberMemory();
  }
  bench::reportThroughput(state, kStereo16);
}
BENCHMARK(BM_UpmixStereoTo51);

void BM_StretchSpeed15(benchmark::State& state) {
  const auto in = stereoSignal();
  WsolaStretcher stretcher;
  if (!stretcher.Configure(2, kRate)) {
    state.SkipWithError("configure failed");
    return;
  }
  stretcher.SetSpeed(1.5);
  std::vector<std::int16_t> out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(stretch(stretcher, in, out, false));
    benchmark::ClobberMemory();
  }
  bench::reportThroughput(state, kStereo16);
}
BENCHMARK(BM_StretchSpeed15);

// ---- Against ffmpeg on a 600 s file ----

const char* const kInputWav = "/tmp/zmsp_dmo_bench_600s.wav";
const char* const kFfmpegOut = "/tmp/zmsp_dmo_bench_ffmpeg_out.wav";
const char* const kOurOut = "/tmp/zmsp_dmo_bench_ours_out.wav";

template <typename F>
double seconds(F&& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// User plus system CPU seconds of this process or of its finished children.
// On a machine shared with other work, CPU time compares fairer than wall time.
double cpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

bool haveFfmpeg() { return std::system("command -v ffmpeg > /dev/null 2>&1") == 0; }

bool makeInputWav() {
  std::ifstream existing(kInputWav, std::ios::binary | std::ios::ate);
  if (existing && existing.tellg() > 100'000'000) {
    return true;
  }
  const std::string command =
      std::string(
          "ffmpeg -v error -y -f lavfi -i "
          "'aevalsrc=0.3*sin(2*PI*220*t)+0.05*sin(2*PI*3100*t)+0.03*random(0)|"
          "0.25*sin(2*PI*330*t+1)+0.05*sin(2*PI*2500*t)+0.03*random(1):s=44100:d=600' "
          "-c:a pcm_s16le ") +
      kInputWav;
  return std::system(command.c_str()) == 0;
}

// Turns one piece of stereo input into output frames in `out`; `last` marks
// the end of the stream.
using PieceProcessor = std::function<void(const std::int16_t* in, std::size_t frames, bool last,
                                          std::vector<std::int16_t>& out)>;

// Positions `file` at the start of a WAV file's "data" chunk; its size in bytes.
std::size_t findData(std::FILE* file) {
  char riff[12];
  if (std::fread(riff, 1, 12, file) != 12) {
    return 0;
  }
  char header[8];
  while (std::fread(header, 1, 8, file) == 8) {
    std::uint32_t size = 0;
    std::memcpy(&size, header + 4, 4);
    if (std::memcmp(header, "data", 4) == 0) {
      return size;
    }
    std::fseek(file, static_cast<long>(size + (size & 1)), SEEK_CUR);
  }
  return 0;
}

void writeHeader(std::FILE* file, std::uint32_t dataBytes, int channels) {
  const auto ch = static_cast<std::uint16_t>(channels);
  const std::uint32_t rate = kRate, byteRate = rate * ch * 2, riffSize = 36 + dataBytes, fmtSize = 16;
  const auto align = static_cast<std::uint16_t>(ch * 2);
  const std::uint16_t pcmTag = 1, bits = 16;
  std::fwrite("RIFF", 1, 4, file);
  std::fwrite(&riffSize, 4, 1, file);
  std::fwrite("WAVEfmt ", 1, 8, file);
  std::fwrite(&fmtSize, 4, 1, file);
  std::fwrite(&pcmTag, 2, 1, file);
  std::fwrite(&ch, 2, 1, file);
  std::fwrite(&rate, 4, 1, file);
  std::fwrite(&byteRate, 4, 1, file);
  std::fwrite(&align, 2, 1, file);
  std::fwrite(&bits, 2, 1, file);
  std::fwrite("data", 1, 4, file);
  std::fwrite(&dataBytes, 4, 1, file);
}

// Streams the input WAV through `process` in allocator-sized pieces into a
// WAV file, as a host does; adds the time spent in `process` to engineSeconds.
bool processFile(const PieceProcessor& process, int outChannels, double& engineSeconds, double& engineCpu) {
  std::FILE* in = std::fopen(kInputWav, "rb");
  std::FILE* out = std::fopen(kOurOut, "wb");
  bool ok = in != nullptr && out != nullptr;
  std::size_t remaining = ok ? findData(in) / 4 : 0;
  std::uint32_t written = 0;
  if (ok) {
    writeHeader(out, 0, outChannels);
  }
  std::vector<std::int16_t> piece(2 * kPieceFrames);
  std::vector<std::int16_t> result;
  while (ok && remaining > 0) {
    const std::size_t frames = std::fread(piece.data(), 4, std::min(kPieceFrames, remaining), in);
    ok = frames > 0;
    remaining = ok ? remaining - frames : 0;
    const double cpu = cpuSeconds(RUSAGE_SELF);
    engineSeconds += seconds([&] { process(piece.data(), frames, remaining == 0, result); });
    engineCpu += cpuSeconds(RUSAGE_SELF) - cpu;
    ok = ok && std::fwrite(result.data(), 2, result.size(), out) == result.size();
    written += static_cast<std::uint32_t>(result.size() * 2);
  }
  if (ok) {
    std::fseek(out, 0, SEEK_SET);
    writeHeader(out, written, outChannels);
  }
  ok = (in != nullptr && std::fclose(in) == 0) && ok;
  ok = (out != nullptr && std::fclose(out) == 0) && ok;
  return ok;
}

// One comparison: ffmpeg with `filter`, then our engine file to file.
void compare(benchmark::State& state, const char* filter, const PieceProcessor& ours, int outChannels) {
  if (!haveFfmpeg()) {
    state.SkipWithError("ffmpeg is not installed");
    return;
  }
  if (!makeInputWav()) {
    state.SkipWithError("ffmpeg could not write the input file");
    return;
  }
  double ffmpegSeconds = 0, oursSeconds = 0, engineSeconds = 0, ffmpegCpu = 0, oursCpu = 0, engineCpu = 0;
  for (auto _ : state) {
    const std::string command =
        std::string("ffmpeg -v error -y -i ") + kInputWav + " -af " + filter + " " + kFfmpegOut;
    const double childCpu = cpuSeconds(RUSAGE_CHILDREN);
    ffmpegSeconds = seconds([&] { benchmark::DoNotOptimize(std::system(command.c_str())); });
    ffmpegCpu = cpuSeconds(RUSAGE_CHILDREN) - childCpu;
    const double ownCpu = cpuSeconds(RUSAGE_SELF);
    oursSeconds = seconds([&] {
      if (!processFile(ours, outChannels, engineSeconds, engineCpu)) {
        state.SkipWithError("input unreadable or output unwritable");
      }
    });
    oursCpu = cpuSeconds(RUSAGE_SELF) - ownCpu;
  }
  std::remove(kFfmpegOut);
  std::remove(kOurOut);
  state.counters["ffmpeg_s"] = ffmpegSeconds;
  state.counters["ours_s"] = oursSeconds;
  state.counters["engine_s"] = engineSeconds;
  state.counters["ffmpeg_over_ours"] = oursSeconds > 0 ? ffmpegSeconds / oursSeconds : 0;
  state.counters["ffmpeg_cpu_s"] = ffmpegCpu;
  state.counters["ours_cpu_s"] = oursCpu;
  state.counters["engine_cpu_s"] = engineCpu;
}

void BM_VersusFfmpegAtempo15(benchmark::State& state) {
  WsolaStretcher stretcher;
  if (!stretcher.Configure(2, kRate)) {
    state.SkipWithError("configure failed");
    return;
  }
  stretcher.SetSpeed(1.5);
  compare(
      state, "atempo=1.5",
      [&](const std::int16_t* in, std::size_t frames, bool last, std::vector<std::int16_t>& out) {
        benchmark::DoNotOptimize(stretcher.Push(in, frames));
        if (last) {
          stretcher.Flush();
        }
        out.resize(2 * stretcher.Available());
        out.resize(2 * stretcher.Pull(out.data(), stretcher.Available()));
      },
      2);
}
BENCHMARK(BM_VersusFfmpegAtempo15)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_VersusFfmpegSurround51(benchmark::State& state) {
  MatrixUpmixer upmixer;
  if (!upmixer.Configure(2, 6, kRate)) {
    state.SkipWithError("configure failed");
    return;
  }
  compare(
      state, "surround=chl_out=5.1",
      [&](const std::int16_t* in, std::size_t frames, bool, std::vector<std::int16_t>& out) {
        out.resize(6 * frames);
        out.resize(6 * upmixer.Process(in, frames, out.data(), frames));
      },
      6);
}
BENCHMARK(BM_VersusFfmpegSurround51)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace zmsp
