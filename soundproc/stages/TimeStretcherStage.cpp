// Standard headers first: the Windows SDK's strsafe.h, pulled in by dshow.h,
// poisons names that <string> needs.
#include <cstring>
#include <string>

#include "soundproc/stages/TimeStretcherStage.h"

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/stages/DmoParameterBlocks.h"
#include "soundproc/stages/DmoStreamer.h"
#include "soundproc/stages/PersistedBlock.h"

namespace zmsp {

namespace {

// `type` with a mono wave format turned into stereo: two channels, block
// align and byte rate doubled, sample rate unchanged.
bool MakeStereo(MediaType& type) {
  AM_MEDIA_TYPE& t = type.Get();
  if (t.pbFormat == nullptr || t.cbFormat < sizeof(WAVEFORMATEX)) return false;
  WAVEFORMATEX wave;
  std::memcpy(&wave, t.pbFormat, sizeof(wave));
  wave.nChannels = 2;
  wave.nBlockAlign = static_cast<WORD>(wave.nBlockAlign * 2);
  wave.nAvgBytesPerSec *= 2;
  std::memcpy(t.pbFormat, &wave, sizeof(wave));
  return true;
}

}  // namespace

TimeStretcherStage::TimeStretcherStage(SettingsStore& store, const DmoSources& sources)
    : DmoStage(
          store, sources,
          {kOutsideDmo, OwnDmoKind::TimeStretcher, "TimeStretchDMO", "timestretchDMO: type not accepted"}) {}

bool TimeStretcherStage::Qualifies(const PcmFormat& f) {
  return f.parsed && f.formatTag != PcmFormat::kTagAc3Spdif && f.bitsPerSample == 16 &&
         (f.channels == 1 || f.channels == 2 || f.channels == 4 || f.channels == 6) && f.samplesPerSec != 0;
}

// The DMO takes the stage's own type in and out, mono as stereo.
HRESULT TimeStretcherStage::DmoTypesFor(const AM_MEDIA_TYPE& type, MediaType& input, MediaType& output) {
  const PcmFormat own = PcmFormatOf(type);
  if (!Qualifies(own)) return S_FALSE;
  if (!input.Set(type) || (own.channels == 1 && !MakeStereo(input))) return E_OUTOFMEMORY;
  output = input;
  return S_OK;
}

bool TimeStretcherStage::RealtimeApply(const Settings& settings) const {
  return settings.TimeStretcherRealtimeApply();
}

HRESULT TimeStretcherStage::HandOver(bool atCreation) {
  const std::uint32_t wanted = Settings(store_).Speed();
  SpeedParameterBlock block;
  HRESULT hr = ReadPersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (FAILED(hr) || (!atCreation && block.Speed() == wanted)) return hr;
  block.SetSpeed(wanted);
  hr = WritePersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (SUCCEEDED(hr)) speed = wanted;
  return hr;
}

DmoStreamShape TimeStretcherStage::StreamShape() {
  DmoStreamShape shape;
  shape.frameBytes = format.FrameBytes();
  shape.sampleRate = format.samplesPerSec;
  shape.monoThroughStereo = format.channels == 1;
  shape.keepMediaTimes = false;
  return shape;
}

}  // namespace zmsp
