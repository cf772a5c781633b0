// A host graph around one SoundProcessorFilter for the unit tests:
// [splitter] -> [decoder] -> filter -> [renderer], plus an optional file source.
// Stages are test stages that log the chain and let tests decide the
// expander's output type.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "soundproc/frame/SoundProcessorFilter.h"
#include "tools/zmsp-process/HostFilters.h"

namespace zmsp::test {

// Logs its name and flag, optionally fails, and passes the sample on.
class LoggingStage : public ProcessingStage {
 public:
  LoggingStage(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override {
    TakenMediaType type(sample);
    log_.push_back(name_ + (isUpstreamSample ? "(up)" : "(out)") + (type ? "+type" : ""));
    if (type) lastChannels = reinterpret_cast<const WAVEFORMATEX*>(type.Get()->pbFormat)->nChannels;
    if (result != S_OK) return result;
    return PassOn(sample, isUpstreamSample);
  }
  HRESULT result = S_OK;
  int lastChannels = 0;

 protected:
  std::string name_;
  std::vector<std::string>& log_;
};

// The last link: copies an upstream sample into an output sample and delivers it.
class CopyingMeter final : public LoggingStage {
 public:
  using LoggingStage::LoggingStage;
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override {
    log_.push_back(name_ + (isUpstreamSample ? "(up)" : "(out)"));
    if (!isUpstreamSample) return PassOn(sample, false);
    IMediaSample* copy = nullptr;
    HRESULT hr = filter->GetOutputSample(sample, &copy);
    if (FAILED(hr)) return hr;
    hr = CopySampleProperties(sample, copy, nullptr);
    if (SUCCEEDED(hr)) hr = CopySampleData(sample, copy);
    if (SUCCEEDED(hr)) hr = PassOn(copy, false);
    copy->Release();
    return hr;
  }
};

class TestStages final : public StageSet {
 public:
  explicit TestStages(std::vector<std::string>& log)
      : control("control", log),
        expander("expander", log),
        stretcher("stretcher", log),
        meter("meter", log) {}

  ProcessingStage& ChannelControl() override { return control; }
  ProcessingStage& ChannelExpander() override { return expander; }
  ProcessingStage& TimeStretcher() override { return stretcher; }
  ProcessingStage& SoundMeter() override { return meter; }
  void SetAc3Source(bool value) override { ac3Source = value; }
  void SetFileType(int value) override { fileType = value; }
  void SetHasLfe(bool value) override { hasLfe = value; }
  void RefreshExpanderSettings(const Settings& settings) override {
    expander.enabled = settings.ChannelExpanderEnable();
    outputChannels = settings.OutputChannels();
  }
  // Expands stereo when enabled, as the real expander's rule does for stereo.
  bool ExpanderAppliesTo(const AM_MEDIA_TYPE& type) override {
    PcmFormat format;
    FillPcmFormat(type, format);
    return expander.enabled && format.parsed && format.channels == 2;
  }
  HRESULT ExpanderOutputType(const AM_MEDIA_TYPE& input, MediaType& output) override {
    if (!ExpanderAppliesTo(input)) return output.Set(input) ? S_OK : E_OUTOFMEMORY;
    PcmFormat format;
    FillPcmFormat(input, format);
    static const std::uint32_t kMasks[9] = {0, 0, 0, 0, 0x33, 0, 0x3F, 0x13F, 0xFF};
    output = host::PcmType(0xFFFE, static_cast<std::uint16_t>(outputChannels), format.samplesPerSec,
                           format.bitsPerSample, kMasks[outputChannels]);
    return S_OK;
  }
  void SetMeasuring(bool) override {}
  std::array<std::int32_t, 8> MeterLevels() override { return {}; }

  LoggingStage control;
  LoggingStage expander;
  LoggingStage stretcher;
  CopyingMeter meter;
  bool ac3Source = false;
  int fileType = -1;
  bool hasLfe = false;
  std::uint32_t outputChannels = 6;
};

constexpr CLSID kSplitterClass = {0x11111111, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1}};
constexpr CLSID kDecoderClass = {0x22222222, 0, 0, {2, 2, 2, 2, 2, 2, 2, 2}};
constexpr CLSID kRendererClass = {0x33333333, 0, 0, {3, 3, 3, 3, 3, 3, 3, 3}};

class FilterHarness : public ::testing::Test {
 protected:
  void SetUp() override { store.SetDword(keys::kChannelControl, "Enable", 1); }
  void TearDown() override {
    if (graph) graph->Clear();
    filter.Reset();
    graph.Reset();
    splitter.Reset();
    decoder.Reset();
    renderer.Reset();
    fileSource.Reset();
    EXPECT_EQ(ServerObjects::Objects(), 0) << "a COM object leaked";
  }

  // Creates the filter with test stages and the host filters around it.
  void Build(const MediaType& pcm, const GUID* sourceSubtype = nullptr,
             const GUID& major = guids::kMediaTypeAudio) {
    auto set = std::make_unique<TestStages>(log);
    stages = set.get();
    SoundProcessorFilter* created = nullptr;
    ASSERT_EQ(SoundProcessorFilter::Create(store, std::move(set), &created), S_OK);
    filter = ComPtr<SoundProcessorFilter>::Adopt(created);
    graph = host::HostGraph::Create();
    splitter = MakeComObject<host::HostFilter>(kSplitterClass, L"Splitter");
    decoder = MakeComObject<host::HostFilter>(kDecoderClass, L"Decoder");
    renderer = MakeComObject<host::HostFilter>(kRendererClass, L"Renderer");
    if (sourceSubtype != nullptr) sourceType = host::AudioSubtype(*sourceSubtype, major);
    splitterOut = &splitter->AddPin<host::HostPin>(L"Out", PINDIR_OUTPUT, &sourceType.Get());
    decoderIn = &decoder->AddPin<host::HostPin>(L"In", PINDIR_INPUT);
    decoderOut = &decoder->AddPin<host::SourcePin>(L"Out", pcm.Get(), 65536);
    sink = &renderer->AddPin<host::SinkPin>(L"In");
    inputType = pcm;
    graph->AddFilter(splitter.Get(), L"Splitter");
    graph->AddFilter(decoder.Get(), L"Decoder");
    graph->AddFilter(filter.Get(), L"Sound Processor");
    graph->AddFilter(renderer.Get(), L"Renderer");
    if (sourceSubtype != nullptr) {
      ASSERT_EQ(splitterOut->Connect(decoderIn, &sourceType.Get()), S_OK);
    }
  }

  void AddFileSource(const std::wstring& name, const CLSID& classId = guids::kAsyncReader) {
    fileSource = MakeComObject<host::FileSourceStub>(classId, name);
    graph->AddFilter(fileSource.Get(), L"File Source");
  }

  HRESULT ConnectInput() { return decoderOut->Connect(&filter->InputPin(), &inputType.Get()); }
  // The filter's own answer for the input connection (the pin turns S_FALSE into S_OK).
  HRESULT CheckInputConnect() { return filter->CheckConnect(PINDIR_INPUT, decoderOut); }
  HRESULT ConnectAll() {
    HRESULT hr = ConnectInput();
    if (FAILED(hr)) return hr;
    hr = filter->OutputPin().Connect(sink, nullptr);
    if (FAILED(hr)) return hr;
    return graph->Run();
  }
  HRESULT Push(std::size_t bytes, const AM_MEDIA_TYPE* type = nullptr) {
    std::vector<std::uint8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + pushed);
    ++pushed;
    return decoderOut->Push(data.data(), data.size(), type, 1000 * pushed, 1000 * pushed + 500);
  }
  int OutputChannels() {
    return reinterpret_cast<const WAVEFORMATEX*>(filter->OutputPin().CurrentMediaType().Get().pbFormat)
        ->nChannels;
  }

  MemorySettingsStore store;
  std::vector<std::string> log;
  TestStages* stages = nullptr;
  ComPtr<SoundProcessorFilter> filter;
  ComPtr<host::HostGraph> graph;
  ComPtr<host::HostFilter> splitter, decoder, renderer;
  ComPtr<host::FileSourceStub> fileSource;
  host::HostPin* splitterOut = nullptr;
  host::HostPin* decoderIn = nullptr;
  host::SourcePin* decoderOut = nullptr;
  host::SinkPin* sink = nullptr;
  MediaType sourceType, inputType;
  int pushed = 0;
};

}  // namespace zmsp::test
