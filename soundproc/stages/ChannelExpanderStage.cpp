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

bool ChannelsExpand(std::uint32_t in, std::uint32_t out) {
  return in == 2 || (in == 4 && out >= 6) || (in == 6 && out >= 7);
}

}  // namespace

ChannelExpanderStage::ChannelExpanderStage(SettingsStore& store, const DmoSources& sources)
    : DmoStage(store, sources, {kOutsideDmo, OwnDmoKind::Upmixer, "expDMO", "expDMO: type not accepted"}) {
  const Settings settings(store);
  enabled = settings.ChannelExpanderEnable();
  outputChannels = settings.OutputChannels();
  minFrequency = settings.MinFrequency();
  ac3Only = settings.AC3Only();
}

bool ChannelExpanderStage::AppliesTo(const AM_MEDIA_TYPE& type) const {
  if (!enabled || (ac3Only && !ac3Source)) return false;
  const PcmFormat in = PcmFormatOf(type);
  if (!in.parsed || in.bitsPerSample != 16) return false;
  if (in.formatTag != PcmFormat::kTagPcm && in.formatTag != PcmFormat::kTagExtensible) return false;
  if (in.samplesPerSec == 0 || in.samplesPerSec < minFrequency || in.samplesPerSec > kMaxExpandedRate)
    return false;
  if (!ChannelsExpand(in.channels, outputChannels)) return false;
  if (in.formatTag == PcmFormat::kTagPcm) return in.channels == 2;
  return in.extensible && in.channelMask == MatrixUpmixer::ChannelMask(in.channels);
}

HRESULT ChannelExpanderStage::OutputType(const AM_MEDIA_TYPE& input, MediaType& output) const {
  if (!output.Set(input)) return E_OUTOFMEMORY;
  if (!AppliesTo(input)) return S_OK;

  PcmFormat out = PcmFormatOf(input);
  out.channels = static_cast<std::uint16_t>(outputChannels);
  out.extensible = true;
  out.channelMask = MatrixUpmixer::ChannelMask(static_cast<int>(outputChannels));
  out.validBitsPerSample = 16;
  return SetWaveFormat(out, output.Get());
}

HRESULT ChannelExpanderStage::DmoTypesFor(const AM_MEDIA_TYPE& type, MediaType& input, MediaType& output) {
  if (!AppliesTo(type)) return S_FALSE;
  if (!input.Set(type)) return E_OUTOFMEMORY;
  return OutputType(type, output);
}

bool ChannelExpanderStage::RealtimeApply(const Settings& settings) const {
  return settings.ChannelExpanderRealtimeApply();
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

HRESULT ChannelExpanderStage::HandOver(bool atCreation) {
  const Settings settings(store_);
  UpmixParameterBlock block;
  HRESULT hr = ReadPersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (FAILED(hr)) return hr;
  const UpmixParams params = WantedParams(settings);
  if (atCreation) {
    block.SetCreationWords();
  } else {
    pl2AutoMode = settings.PL2AutoMode();
    if (block.Params() == params) return S_OK;
  }
  block.SetParams(params);
  hr = WritePersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (SUCCEEDED(hr)) Remember(params, settings);
  return hr;
}

DmoStreamShape ChannelExpanderStage::StreamShape() {
  PcmFormat expanded = format;
  expanded.channels = static_cast<std::uint16_t>(outputChannels);
  DmoStreamShape shape;
  shape.frameBytes = expanded.FrameBytes();
  shape.sampleRate = format.samplesPerSec;
  shape.keepMediaTimes = true;
  shape.outputType = [this](const AM_MEDIA_TYPE& input, MediaType& output) {
    return OutputType(input, output);
  };
  return shape;
}

}  // namespace zmsp
