// Standard headers first: the Windows SDK's strsafe.h, pulled in by dshow.h,
// poisons names that <string> needs.
#include <cstring>
#include <string>

#include "soundproc/stages/ChannelExpanderStage.h"

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/stages/DmoParameterBlocks.h"
#include "soundproc/stages/DmoStreamer.h"
#include "soundproc/stages/PersistedBlock.h"

namespace zmsp {

namespace {

constexpr std::uint32_t kMaxExpandedRate = 48000;

// The standard mask of an input or output channel count, 0 for others.
std::uint32_t StandardMask(std::uint32_t channels) {
  switch (channels) {
    case 2:
      return 0x3;
    case 4:
      return 0x33;
    case 6:
      return 0x3F;
    case 7:
      return 0x13F;
    case 8:
      return 0xFF;
    default:
      return 0;
  }
}

bool ChannelsExpand(std::uint32_t in, std::uint32_t out) {
  return in == 2 || (in == 4 && out >= 6) || (in == 6 && out >= 7);
}

// The summary of `type` alone, nothing kept from an earlier type.
InputFormatSummary SummaryOf(const AM_MEDIA_TYPE& type) {
  InputFormatSummary summary;
  summary.Fill(type);
  return summary;
}

}  // namespace

ChannelExpanderStage::ChannelExpanderStage(SettingsStore& store, const DmoSources& sources)
    : store_(store), sources_(sources) {
  const Settings settings(store);
  enabled = settings.ChannelExpanderEnable();
  outputChannels = settings.OutputChannels();
  minFrequency = settings.MinFrequency();
  ac3Only = settings.AC3Only();
}

bool ChannelExpanderStage::AppliesTo(const AM_MEDIA_TYPE& type) const {
  if (!enabled || (ac3Only && !ac3Source)) return false;
  const InputFormatSummary in = SummaryOf(type);
  if (!in.parsed || in.bitsPerSample != 16) return false;
  if (in.formatTag != InputFormatSummary::kTagPcm && in.formatTag != InputFormatSummary::kTagExtensible)
    return false;
  if (in.samplesPerSec == 0 || in.samplesPerSec < minFrequency || in.samplesPerSec > kMaxExpandedRate)
    return false;
  if (!ChannelsExpand(in.channels, outputChannels)) return false;
  if (in.formatTag == InputFormatSummary::kTagPcm) return in.channels == 2;
  return in.extensible && in.channelMask == StandardMask(in.channels);
}

HRESULT ChannelExpanderStage::OutputType(const AM_MEDIA_TYPE& input, AM_MEDIA_TYPE* output) const {
  if (output == nullptr) return E_POINTER;
  HRESULT hr = CopyMediaType(output, &input);
  if (FAILED(hr) || !AppliesTo(input)) return hr;

  const InputFormatSummary in = SummaryOf(input);
  WAVEFORMATEXTENSIBLE wave{};
  wave.Format.wFormatTag = InputFormatSummary::kTagExtensible;
  wave.Format.nChannels = static_cast<WORD>(outputChannels);
  wave.Format.nSamplesPerSec = in.samplesPerSec;
  wave.Format.wBitsPerSample = in.bitsPerSample;
  wave.Format.nBlockAlign = static_cast<WORD>(in.bitsPerSample * outputChannels / 8);
  wave.Format.nAvgBytesPerSec = in.samplesPerSec * wave.Format.nBlockAlign;
  wave.Format.cbSize = 22;
  wave.Samples.wValidBitsPerSample = 16;
  wave.dwChannelMask = StandardMask(outputChannels);
  wave.SubFormat = guids::kKsDataFormatSubtypePcm;

  auto* block = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(wave)));
  if (block == nullptr) {
    FreeMediaType(*output);
    return E_OUTOFMEMORY;
  }
  std::memcpy(block, &wave, sizeof(wave));
  CoTaskMemFree(output->pbFormat);
  output->pbFormat = block;
  output->cbFormat = sizeof(wave);
  return S_OK;
}

HRESULT ChannelExpanderStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
  if (sample == nullptr) return E_POINTER;
  lastSample.Record(sample);
  {
    TakenMediaType type(sample);
    if (type) {
      format.Fill(*type.Get());
      NegotiateTypes(*type.Get());
    }
  }
  if (enabled && typesAccepted) return StreamSample(sample);
  return PassOn(sample, isUpstreamSample);
}

void ChannelExpanderStage::NegotiateTypes(const AM_MEDIA_TYPE& type) {
  if (!AppliesTo(type)) {
    typesAccepted = false;
    return;
  }
  // A new DMO gets the creation form of the parameters once more; a failure
  // leaves "types accepted" as it was.
  if (!dmo_ && (!CreateDmo() || FAILED(HandOverAtCreation()))) return;
  MediaType output;
  {
    AM_MEDIA_TYPE produced{};
    const HRESULT hr = OutputType(type, &produced);
    if (FAILED(hr) || !output.Set(produced)) {
      FreeMediaType(produced);
      return;
    }
    FreeMediaType(produced);
  }
  typesAccepted = SetDmoTypes(*dmo_.Get(), type, output.Get());
  if (!typesAccepted) messages_.Show("expDMO: type not accepted");
}

bool ChannelExpanderStage::CreateDmo() {
  return CreateConfiguredDmo(
      sources_, kOutsideDmo, OwnDmoKind::Upmixer, "expDMO", [this] { return HandOverAtCreation(); }, dmo_,
      messages_);
}

UpmixParams ChannelExpanderStage::WantedParams(const Settings& settings) const {
  UpmixParams params;
  params.algorithm = static_cast<int>(settings.Algorithm());
  if (settings.PL2AutoMode() != 0) {
    params.mode = fileType != 0 ? UpmixParams::kModeMusic : UpmixParams::kModeMovie;
  } else {
    params.mode = static_cast<int>(settings.ProLogic2Mode());
  }
  if (params.mode == UpmixParams::kModeMusic) {
    params.panorama = settings.PL2MusicPanorama();
    params.dimension = settings.PL2MusicDimension() + UpmixParams::kDimensionNeutral;
    params.centerWidth = static_cast<int>(settings.PL2MusicCenterWidth());
  } else {
    params.panorama = false;
    params.dimension = UpmixParams::kDimensionNeutral;
    params.centerWidth = 0;
  }
  return params;
}

void ChannelExpanderStage::Remember(const UpmixParams& params, const Settings& settings) {
  algorithm = static_cast<std::uint32_t>(params.algorithm);
  proLogic2Mode = static_cast<std::uint32_t>(params.mode);
  pl2AutoMode = settings.PL2AutoMode();
}

HRESULT ChannelExpanderStage::HandOverAtCreation() {
  const Settings settings(store_);
  UpmixParameterBlock block;
  HRESULT hr = ReadPersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (FAILED(hr)) return hr;
  const UpmixParams params = WantedParams(settings);
  block.SetCreationWords();
  block.SetParams(params);
  hr = WritePersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (SUCCEEDED(hr)) Remember(params, settings);
  return hr;
}

HRESULT ChannelExpanderStage::HandOverPerSample() {
  const Settings settings(store_);
  UpmixParameterBlock block;
  HRESULT hr = ReadPersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (FAILED(hr)) return hr;
  const UpmixParams params = WantedParams(settings);
  pl2AutoMode = settings.PL2AutoMode();
  if (block.Params() == params) return S_OK;
  block.SetParams(params);
  hr = WritePersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (SUCCEEDED(hr)) Remember(params, settings);
  return hr;
}

HRESULT ChannelExpanderStage::StreamSample(IMediaSample* sample) {
  if (filter == nullptr) return E_UNEXPECTED;
  if (Settings(store_).ChannelExpanderRealtimeApply()) {
    const HRESULT hr = HandOverPerSample();
    if (FAILED(hr)) return hr;
  }
  DmoStreamShape shape;
  shape.frameBytes = outputChannels * format.bitsPerSample / 8;
  shape.sampleRate = format.samplesPerSec;
  shape.keepMediaTimes = true;
  shape.outputType = [this](const AM_MEDIA_TYPE& input, MediaType& output) {
    AM_MEDIA_TYPE produced{};
    HRESULT hr = OutputType(input, &produced);
    if (SUCCEEDED(hr) && !output.Set(produced)) hr = E_OUTOFMEMORY;
    FreeMediaType(produced);
    return hr;
  };
  DmoStreamer streamer(*dmo_.Get(), *filter, shape,
                       [this](IMediaSample* output) { return PassOn(output, false); });
  return streamer.Stream(sample, totals);
}

}  // namespace zmsp
