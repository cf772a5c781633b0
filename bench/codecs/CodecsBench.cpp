// The codecs module's speed against FFmpeg's own command on the same
// machine in the same run:
//   DecodeOrves:   60 s of 1080p H.264 through the demuxer, its worker and
//                  queue, the video decoder core and the copy into an NV12
//                  sample-sized buffer (what the filters do minus COM).
//   DecodeFfmpeg:  `ffmpeg -threads 2 -i FILE -f null -` on the same file.
//   SeekToPicture: in a 10-minute 1080p file, from a seek to the first
//                  picture at the target, median and worst of 24 seeks;
//                  key frames every 10 s (the encoder's default) or 2 s.
//   DecodeResident: the 10-minute 1080p file decoded from end to end the same
//                  way, the resident size sampled every 250 pictures: after
//                  the first minute it must stay flat (bounded queues, no
//                  growth per picture).
// Besides the wall-clock figures each reports CPU time (all threads, or the
// child process's), which other load on the machine does not change.
// The files are made at bench time by scripts/make-media.sh (codec-bench).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "codecs/common/StreamQueues.h"
#include "codecs/source/DemuxWorker.h"
#include "codecs/video/VideoDecoder.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orves::codecs {
namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the whole process (every thread), in milliseconds: what a seek
// costs whatever else the machine runs.
double ProcessCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// CPU time of finished child processes, in milliseconds.
double ChildrenCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Resident set size of this process, in MiB (Linux /proc).
double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string MediaFile(const char* name) {
  static const std::string folder = std::string(ORVES_BENCH_MEDIA_DIR);
  static std::once_flag made;
  std::call_once(made, [] {
    av_log_set_level(AV_LOG_QUIET);
    const std::string command =
        "bash '" ORVES_SOURCE_DIR "/scripts/make-media.sh' '" + folder + "' codec-bench >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) std::abort();
  });
  return folder + "/" + name;
}

// The source filter's side: demuxer, worker, the video pin's queue.
struct Source {
  explicit Source(const std::string& file) : demuxer(Demuxer::OpenFile(file)) {
    if (demuxer == nullptr) std::abort();
    for (const StreamInfo& stream : demuxer->Streams()) {
      if (stream.format.kind == StreamKind::Video && video < 0) video = stream.index;
    }
    queues = std::make_unique<StreamQueues>(demuxer->Streams().size());
    for (const StreamInfo& stream : demuxer->Streams()) {
      queues->SetActive(static_cast<std::size_t>(stream.index), stream.index == video);
    }
    worker = std::make_unique<DemuxWorker>(*demuxer, *queues);
  }
  const StreamFormat& VideoFormat() const {
    return demuxer->Streams()[static_cast<std::size_t>(video)].format;
  }

  std::unique_ptr<Demuxer> demuxer;
  int video = -1;
  std::unique_ptr<StreamQueues> queues;
  std::unique_ptr<DemuxWorker> worker;
};

// The video decoder filter's side: pictures copied into an NV12 buffer.
struct Sink {
  explicit Sink(const StreamFormat& format) : decoder(format) {
    stride = MinimumStride(VideoOutput::NV12, format.width);
    buffer.resize(LayoutFor(VideoOutput::NV12, format.height, stride).size);
  }
  // Delivers the pictures this packet gave; `first` is the first of them.
  int Take(PictureInfo& first) {
    int count = 0;
    PictureInfo info;
    while (decoder.NextPicture(info)) {
      decoder.CopyPicture(VideoOutput::NV12, buffer.data(), stride);
      benchmark::DoNotOptimize(buffer.data());
      if (count++ == 0) first = info;
    }
    return count;
  }
  VideoDecoder decoder;
  int stride = 0;
  std::vector<std::uint8_t> buffer;
};

void DecodeOrves(benchmark::State& state) {
  const std::string file = MediaFile("bench-1080p-60s.mkv");
  std::int64_t frames = 0;
  const double cpuBegin = ProcessCpuMs();
  for (auto _ : state) {
    Source source(file);
    Sink sink(source.VideoFormat());
    source.worker->Start();
    MediaPacket packet;
    PictureInfo info;
    while (source.queues->Pop(static_cast<std::size_t>(source.video), packet) == PopResult::Packet) {
      sink.decoder.Send(packet);
      frames += sink.Take(info);
    }
    sink.decoder.Drain();
    frames += sink.Take(info);
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["frames_per_cpu_s"] = static_cast<double>(frames) * 1e3 / (ProcessCpuMs() - cpuBegin);
}
BENCHMARK(DecodeOrves)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

void DecodeFfmpeg(benchmark::State& state) {
  const std::string file = MediaFile("bench-1080p-60s.mkv");
  const std::string command =
      "ffmpeg -nostdin -hide_banner -loglevel error -threads 2 -i '" + file + "' -f null -";
  std::int64_t frames = 0;
  const double cpuBegin = ChildrenCpuMs();
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) std::abort();
    frames += 1500;  // 60 s at 25 fps
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["frames_per_cpu_s"] = static_cast<double>(frames) * 1e3 / (ChildrenCpuMs() - cpuBegin);
}
BENCHMARK(DecodeFfmpeg)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

void DecodeResident(benchmark::State& state) {
  const std::string file = MediaFile("bench-1080p-10min.mkv");
  constexpr std::int64_t kSampleEvery = 250;    // pictures: every 10 s of film
  constexpr std::int64_t kSettledAfter = 1500;  // the first minute fills queues and pools
  std::vector<double> settled;
  std::int64_t frames = 0;
  for (auto _ : state) {
    Source source(file);
    Sink sink(source.VideoFormat());
    source.worker->Start();
    MediaPacket packet;
    PictureInfo info;
    std::int64_t nextSample = kSampleEvery;
    while (source.queues->Pop(static_cast<std::size_t>(source.video), packet) == PopResult::Packet) {
      sink.decoder.Send(packet);
      frames += sink.Take(info);
      if (frames >= nextSample) {
        if (frames >= kSettledAfter) settled.push_back(ResidentMiB());
        nextSample += kSampleEvery;
      }
    }
  }
  if (settled.empty()) std::abort();
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["rss_first_mib"] = settled.front();
  state.counters["rss_last_mib"] = settled.back();
  state.counters["rss_max_mib"] = *std::max_element(settled.begin(), settled.end());
  state.counters["rss_growth_mib"] = settled.back() - settled.front();
}
BENCHMARK(DecodeResident)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void SeekToPicture(benchmark::State& state) {
  const std::string file =
      MediaFile(state.range(0) == 10 ? "bench-1080p-10min.mkv" : "bench-1080p-gop2-10min.mkv");
  std::vector<double> milliseconds;
  std::vector<double> cpuMilliseconds;
  for (auto _ : state) {
    Source source(file);
    Sink sink(source.VideoFormat());
    source.worker->Start();
    std::mt19937 random(17);
    std::uniform_int_distribution<std::int64_t> target(0, 590 * kUnitsPerSecond);
    for (int seek = 0; seek < 24; ++seek) {
      const std::int64_t time = target(random);
      const auto begin = Clock::now();
      const double cpuBegin = ProcessCpuMs();
      source.worker->Seek(time);
      sink.decoder.Flush();
      sink.decoder.SkipUntil(time);
      MediaPacket packet;
      PictureInfo info;
      bool shown = false;
      while (!shown &&
             source.queues->Pop(static_cast<std::size_t>(source.video), packet) == PopResult::Packet) {
        sink.decoder.Send(packet);
        shown = sink.Take(info) > 0;
      }
      if (!shown || info.start > time || info.stop <= time) std::abort();  // not the picture at the target
      milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
      cpuMilliseconds.push_back(ProcessCpuMs() - cpuBegin);
    }
  }
  state.counters["median_ms"] = Median(milliseconds);
  state.counters["worst_ms"] = *std::max_element(milliseconds.begin(), milliseconds.end());
  state.counters["median_cpu_ms"] = Median(cpuMilliseconds);
}
// The argument: seconds between key frames.
BENCHMARK(SeekToPicture)->Arg(10)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace orves::codecs
