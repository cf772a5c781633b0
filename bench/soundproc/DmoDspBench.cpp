// Throughput of our DMOs' engines, the matrix upmixer (stereo to 5.1) and the
// WSOLA time stretcher (speed 1.5), on one output-allocator buffer; and, when
// ffmpeg is installed, both against ffmpeg on the same 600 s 44.1 kHz stereo
// WAV file in /tmp, file to file, in one run:
//
//   bench_soundproc_dmo_dsp --benchmark_filter=VersusFfmpeg
//
// The comparison reports seconds per whole run as counters: ffmpeg_s and ours_s
// (read, process in allocator-sized pieces, write), and engine_s (processing
// alone).

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
std::size_t upmix(MatrixUpmixer& upmixer, const std::vector<std::int16_t>& in, std::vector<std::int16_t>& out) {
  const std::size_t frames = in.size() / 2;
  out.resize(frames * 6);
  std::size_t done = 0;
  while (done < frames) {
    const std::size_t n = std::min(kPieceFrames, frames - done);
    done += upmixer.process(in.data() + 2 * done, n, out.data() + 6 * done, n);
  }
  return done;
}

// Stretches stereo input pushed in allocator-sized pieces, pulling after each.
std::size_t stretch(WsolaStretcher& stretcher, const std::vector<std::int16_t>& in, std::vector<std::int16_t>& out,
                    bool end) {
  const std::size_t frames = in.size() / 2;
  std::size_t written = 0;
  auto pullAll = [&] {
    out.resize(std::max(out.size(), 2 * (written + stretcher.available())));
    written += stretcher.pull(out.data() + 2 * written, stretcher.available());
  };
  for (std::size_t done = 0; done < frames; done += kPieceFrames) {
    const std::size_t n = std::min(kPieceFrames, frames - done);
    benchmark::DoNotOptimize(stretcher.push(in.data() + 2 * done, n));
    pullAll();
  }
  if (end) {
    stretcher.flush();
    pullAll();
  }
  out.resize(2 * written);
  return written;
}

void BM_UpmixStereoTo51(benchmark::State& state) {
  const auto in = stereoSignal();
  MatrixUpmixer upmixer;
  if (!upmixer.configure(2, 6, kRate)) {
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
  if (!stretcher.configure(2, kRate)) {
    state.SkipWithError("configure failed");
    return;
  }
  stretcher.setSpeed(1.5);
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

bool haveFfmpeg() { return std::system("command -v ffmpeg > /dev/null 2>&1") == 0; }

bool makeInputWav() {
  std::ifstream existing(kInputWav, std::ios::binary | std::ios::ate);
  if (existing && existing.tellg() > 100'000'000) {
    return true;
  }
  const std::string command =
      std::string("ffmpeg -v error -y -f lavfi -i "
                  "'aevalsrc=0.3*sin(2*PI*220*t)+0.05*sin(2*PI*3100*t)+0.03*random(0)|"
                  "0.25*sin(2*PI*330*t+1)+0.05*sin(2*PI*2500*t)+0.03*random(1):s=44100:d=600' "
                  "-c:a pcm_s16le ") +
      kInputWav;
  return std::system(command.c_str()) == 0;
}

// The samples of a 16-bit stereo PCM WAV file (the "data" chunk).
bool readWav(const char* path, std::vector<std::int16_t>& pcm) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    return false;
  }
  std::vector<char> bytes(static_cast<std::size_t>(file.tellg()));
  file.seekg(0);
  if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    return false;
  }
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    std::uint32_t size = 0;
    std::memcpy(&size, &bytes[at + 4], 4);
    if (std::memcmp(&bytes[at], "data", 4) == 0) {
      const std::size_t length = std::min<std::size_t>(size, bytes.size() - at - 8) / 2;
      pcm.resize(length);
      std::memcpy(pcm.data(), &bytes[at + 8], length * 2);
      return true;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

bool writeWav(const char* path, const std::vector<std::int16_t>& pcm, int channels) {
  const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
  const auto ch = static_cast<std::uint16_t>(channels);
  const std::uint32_t rate = kRate;
  const std::uint32_t byteRate = rate * ch * 2;
  const auto align = static_cast<std::uint16_t>(ch * 2);
  const std::uint16_t pcmTag = 1, bits = 16;
  const std::uint32_t riffSize = 36 + dataBytes, fmtSize = 16;
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) {
    return false;
  }
  std::fwrite("RIFF", 1, 4, f);
  std::fwrite(&riffSize, 4, 1, f);
  std::fwrite("WAVEfmt ", 1, 8, f);
  std::fwrite(&fmtSize, 4, 1, f);
  std::fwrite(&pcmTag, 2, 1, f);
  std::fwrite(&ch, 2, 1, f);
  std::fwrite(&rate, 4, 1, f);
  std::fwrite(&byteRate, 4, 1, f);
  std::fwrite(&align, 2, 1, f);
  std::fwrite(&bits, 2, 1, f);
  std::fwrite("data", 1, 4, f);
  std::fwrite(&dataBytes, 4, 1, f);
  const bool ok = std::fwrite(pcm.data(), 2, pcm.size(), f) == pcm.size();
  return std::fclose(f) == 0 && ok;
}

// One comparison: ffmpeg with `filter`, then our engine file to file.
void compare(benchmark::State& state, const char* filter,
             const std::function<std::size_t(const std::vector<std::int16_t>&, std::vector<std::int16_t>&)>& ours,
             int outChannels) {
  if (!haveFfmpeg()) {
    state.SkipWithError("ffmpeg is not installed");
    return;
  }
  if (!makeInputWav()) {
    state.SkipWithError("ffmpeg could not write the input file");
    return;
  }
  double ffmpegSeconds = 0, oursSeconds = 0, engineSeconds = 0;
  for (auto _ : state) {
    const std::string command =
        std::string("ffmpeg -v error -y -i ") + kInputWav + " -af " + filter + " " + kFfmpegOut;
    ffmpegSeconds = seconds([&] { benchmark::DoNotOptimize(std::system(command.c_str())); });
    oursSeconds = seconds([&] {
      std::vector<std::int16_t> in, out;
      if (!readWav(kInputWav, in)) {
        state.SkipWithError("input file unreadable");
        return;
      }
      engineSeconds = seconds([&] { benchmark::DoNotOptimize(ours(in, out)); });
      if (!writeWav(kOurOut, out, outChannels)) {
        state.SkipWithError("output file unwritable");
      }
    });
  }
  std::remove(kFfmpegOut);
  std::remove(kOurOut);
  state.counters["ffmpeg_s"] = ffmpegSeconds;
  state.counters["ours_s"] = oursSeconds;
  state.counters["engine_s"] = engineSeconds;
  state.counters["ffmpeg_over_ours"] = oursSeconds > 0 ? ffmpegSeconds / oursSeconds : 0;
}

void BM_VersusFfmpegAtempo15(benchmark::State& state) {
  compare(
      state, "atempo=1.5",
      [](const std::vector<std::int16_t>& in, std::vector<std::int16_t>& out) {
        WsolaStretcher stretcher;
        if (!stretcher.configure(2, kRate)) {
          return std::size_t{0};
        }
        stretcher.setSpeed(1.5);
        return stretch(stretcher, in, out, true);
      },
      2);
}
BENCHMARK(BM_VersusFfmpegAtempo15)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_VersusFfmpegSurround51(benchmark::State& state) {
  compare(
      state, "surround=chl_out=5.1",
      [](const std::vector<std::int16_t>& in, std::vector<std::int16_t>& out) {
        MatrixUpmixer upmixer;
        if (!upmixer.configure(2, 6, kRate)) {
          return std::size_t{0};
        }
        return upmix(upmixer, in, out);
      },
      6);
}
BENCHMARK(BM_VersusFfmpegSurround51)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace zmsp
