#include "tools/zmsp-process/ProcessRunner.h"

#include <algorithm>
#include <cstdio>

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/frame/SoundProcessorFilter.h"
#include "tools/zmsp-process/HostFilters.h"

namespace zmsp::process {

namespace {

// Class ids of the host's own filters (any ids other than the filter's do).
constexpr CLSID kHostUpstream = {0x5A4D5350, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
constexpr CLSID kHostDecoder = {0x5A4D5350, 0x0002, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 2}};
constexpr CLSID kHostRenderer = {0x5A4D5350, 0x0003, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 3}};

constexpr std::uint32_t kFramesPerSample = 4096;

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(hr));
  return text;
}

MediaType InputType(const wav::Format& f) {
  return host::PcmType(f.formatTag, f.channels, f.sampleRate, f.bitsPerSample, f.channelMask);
}

bool FormatOfType(const AM_MEDIA_TYPE& type, wav::Format& format) {
  if (type.pbFormat == nullptr || type.cbFormat < sizeof(WAVEFORMATEX)) return false;
  WAVEFORMATEXTENSIBLE wave{};
  std::memcpy(&wave, type.pbFormat, std::min<std::size_t>(type.cbFormat, sizeof(wave)));
  format.formatTag = wave.Format.wFormatTag;
  format.channels = wave.Format.nChannels;
  format.sampleRate = wave.Format.nSamplesPerSec;
  format.bitsPerSample = wave.Format.wBitsPerSample;
  if (format.Extensible() && type.cbFormat >= sizeof(WAVEFORMATEXTENSIBLE)) {
    format.validBitsPerSample = wave.Samples.wValidBitsPerSample;
    format.channelMask = wave.dwChannelMask;
  }
  return true;
}

Result Failure(Outcome outcome, HRESULT hr, std::string message) {
  Result result;
  result.outcome = outcome;
  result.hr = hr;
  result.message = std::move(message);
  return result;
}

}  // namespace

bool SourceSubtypeByName(const std::string& name, std::optional<GUID>& subtype, GUID& majorType) {
  majorType = guids::kMediaTypeAudio;
  struct Entry {
    const char* name;
    GUID subtype;
  };
  static const Entry kEntries[] = {
      {"mp3", guids::kSubtypeMp3},
      {"wma", guids::kSubtypeWma},
      {"vorbis", guids::kSubtypeVorbis},
      {"ac3", guids::kSubtypeDolbyAc3},
      {"mpeg1", guids::kSubtypeMpeg1Payload},
      {"mpeg2", guids::kSubtypeMpeg2Audio},
      {"lpcm", guids::kSubtypeDvdLpcm},
      {"dts", guids::kSubtypeDts},
      {"sdds", guids::kSubtypeSdds},
      {"wave", guids::kSubtypeWave},
  };
  if (name == "unknown") {
    subtype.reset();
    return true;
  }
  for (const Entry& entry : kEntries) {
    if (name == entry.name) {
      subtype = entry.subtype;
      return true;
    }
  }
  return false;
}

Result Run(Input& input, SettingsStore& store, const Options& options, Output& output) {
  SoundProcessorFilter* created = nullptr;
  HRESULT hr = SoundProcessorFilter::Create(store, &created);
  if (FAILED(hr)) {
    return Failure(Outcome::FilterRefused, hr,
                   hr == E_FAIL
                       ? "the filter refuses to be created: no Enable value of Channel Expander, Channel "
                         "Control or Time Stretcher is set"
                       : "the filter could not be created (" + Hex(hr) + ")");
  }
  auto filter = ComPtr<SoundProcessorFilter>::Adopt(created);
  auto graph = host::HostGraph::Create();

  const wav::Format format = input.Format();
  const std::uint32_t frameBytes = format.FrameBytes();
  const MediaType pcm = InputType(format);
  auto upstream = MakeComObject<host::HostFilter>(kHostUpstream, L"Splitter");
  auto decoder = MakeComObject<host::HostFilter>(kHostDecoder, L"Decoder");
  auto renderer = MakeComObject<host::HostFilter>(kHostRenderer, L"Renderer");
  MediaType sourceType;
  if (options.sourceSubtype) sourceType = host::AudioSubtype(*options.sourceSubtype, options.sourceMajorType);
  auto& upstreamOut = upstream->AddPin<host::HostPin>(L"Out", PINDIR_OUTPUT, &sourceType.Get());
  auto& decoderIn = decoder->AddPin<host::HostPin>(L"In", PINDIR_INPUT);
  auto& decoderOut =
      decoder->AddPin<host::SourcePin>(L"Out", pcm.Get(), static_cast<LONG>(kFramesPerSample * frameBytes));
  auto& sinkIn = renderer->AddPin<host::SinkPin>(L"In");

  graph->AddFilter(upstream.Get(), L"Splitter");
  graph->AddFilter(decoder.Get(), L"Decoder");
  graph->AddFilter(filter.Get(), L"ZEMBRA's Sound Processor");
  graph->AddFilter(renderer.Get(), L"Renderer");
  if (options.fileName) {
    auto file = MakeComObject<host::FileSourceStub>(guids::kAsyncReader, *options.fileName);
    graph->AddFilter(file.Get(), L"File Source");
  }

  Result result;
  auto finish = [&]() {
    graph->Clear();
    return result;
  };
  if (options.sourceSubtype) upstreamOut.Connect(&decoderIn, &sourceType.Get());
  hr = decoderOut.Connect(&filter->InputPin(), &pcm.Get());
  if (FAILED(hr)) {
    result = Failure(Outcome::ConnectionRefused, hr, "the filter refuses this input (" + Hex(hr) + ")");
    return finish();
  }
  hr = filter->OutputPin().Connect(&sinkIn, nullptr);
  if (FAILED(hr)) {
    result = Failure(Outcome::Failed, hr, "the filter's output did not connect (" + Hex(hr) + ")");
    return finish();
  }
  if (!FormatOfType(sinkIn.CurrentMediaType().Get(), result.outputFormat)) {
    result = Failure(Outcome::Failed, E_UNEXPECTED, "the filter's output type is not a wave format");
    return finish();
  }
  if (!output.Begin(result.outputFormat)) {
    result = Failure(Outcome::Failed, E_FAIL, "the output could not be started");
    return finish();
  }
  bool writeFailed = false;
  bool typeUnreadable = false;
  sinkIn.consume = [&](IMediaSample* sample) -> HRESULT {
    TakenMediaType type(sample);
    if (type && !FormatOfType(*type.Get(), result.outputFormat)) {
      typeUnreadable = true;
      return E_UNEXPECTED;
    }
    BYTE* data = nullptr;
    const LONG length = sample->GetActualDataLength();
    if (length > 0 && SUCCEEDED(sample->GetPointer(&data)) &&
        !output.Write(data, static_cast<std::size_t>(length))) {
      writeFailed = true;
      return E_FAIL;
    }
    return S_OK;
  };
  filter->Stages().SetMeasuring(options.measureLevels);
  hr = graph->Run();
  if (FAILED(hr)) {
    result = Failure(Outcome::Failed, hr, "the graph did not start (" + Hex(hr) + ")");
    return finish();
  }

  const std::size_t chunk = static_cast<std::size_t>(kFramesPerSample) * frameBytes;
  std::uint64_t framesSent = 0;
  bool readFailed = false;
  for (bool more = true; more;) {
    // The samples are read straight into the source's media sample.
    auto fill = [&](std::uint8_t* into, std::size_t& length) {
      readFailed = !input.Read(into, chunk, length);
      more = !readFailed && length == chunk;
      const std::uint64_t frames = length / frameBytes;
      const auto start = static_cast<REFERENCE_TIME>(framesSent * 10000000 / format.sampleRate);
      framesSent += frames;
      return std::pair{start, static_cast<REFERENCE_TIME>(framesSent * 10000000 / format.sampleRate)};
    };
    hr = decoderOut.PushFilled(fill);
    if (readFailed) hr = E_FAIL;
    if (FAILED(hr)) {
      const char* what = readFailed       ? "the input could not be read"
                         : writeFailed    ? "the output could not be written"
                         : typeUnreadable ? "the filter's output type is not a wave format"
                                          : "processing failed";
      result = Failure(Outcome::Failed, hr, std::string(what) + " (" + Hex(hr) + ")");
      return finish();
    }
  }
  decoderOut.PushEndOfStream();
  graph->Stop();

  result.outputChannels = result.outputFormat.channels;
  result.levels = filter->Stages().MeterLevels();
  result.outcome = Outcome::Done;
  return finish();
}

}  // namespace zmsp::process
