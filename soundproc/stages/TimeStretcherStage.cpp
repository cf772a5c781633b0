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
    : store_(store), sources_(sources) {}

bool TimeStretcherStage::Qualifies(const InputFormatSummary& f) {
  return f.parsed && f.formatTag != InputFormatSummary::kTagAc3Spdif && f.bitsPerSample == 16 &&
         (f.channels == 1 || f.channels == 2 || f.channels == 4 || f.channels == 6) && f.samplesPerSec != 0;
}

HRESULT TimeStretcherStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
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

void TimeStretcherStage::NegotiateTypes(const AM_MEDIA_TYPE& type) {
  InputFormatSummary own;
  own.Fill(type);
  if (!Qualifies(own)) {
    typesAccepted = false;
    return;
  }
  MediaType given;
  if (!given.Set(type) || (own.channels == 1 && !MakeStereo(given))) return;
  // A new DMO gets the speed once more; a failure leaves "types accepted" as it was.
  if (!dmo_ && (!CreateDmo() || FAILED(HandOverAtCreation()))) return;
  typesAccepted = SetDmoTypes(*dmo_.Get(), given.Get(), given.Get());
  if (!typesAccepted) messages_.Show("timestretchDMO: type not accepted");
}

bool TimeStretcherStage::CreateDmo() {
  return CreateConfiguredDmo(
      sources_, kOutsideDmo, OwnDmoKind::TimeStretcher, "TimeStretchDMO",
      [this] { return HandOverAtCreation(); }, dmo_, messages_);
}

HRESULT TimeStretcherStage::HandOverAtCreation() {
  const std::uint32_t wanted = Settings(store_).Speed();
  SpeedParameterBlock block;
  HRESULT hr = ReadPersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (FAILED(hr)) return hr;
  block.SetSpeed(wanted);
  hr = WritePersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (SUCCEEDED(hr)) speed = wanted;
  return hr;
}

HRESULT TimeStretcherStage::HandOverPerSample() {
  const std::uint32_t wanted = Settings(store_).Speed();
  SpeedParameterBlock block;
  HRESULT hr = ReadPersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (FAILED(hr) || block.Speed() == wanted) return hr;
  block.SetSpeed(wanted);
  hr = WritePersistedBlock(dmo_.Get(), block.bytes.data(), block.bytes.size());
  if (SUCCEEDED(hr)) speed = wanted;
  return hr;
}

HRESULT TimeStretcherStage::StreamSample(IMediaSample* sample) {
  if (filter == nullptr) return E_UNEXPECTED;
  if (Settings(store_).TimeStretcherRealtimeApply()) {
    const HRESULT hr = HandOverPerSample();
    if (FAILED(hr)) return hr;
  }
  DmoStreamShape shape;
  shape.frameBytes = format.FrameBytes();
  shape.sampleRate = format.samplesPerSec;
  shape.monoThroughStereo = format.channels == 1;
  shape.keepMediaTimes = false;
  DmoStreamer streamer(*dmo_.Get(), *filter, shape,
                       [this](IMediaSample* output) { return PassOn(output, false); });
  return streamer.Stream(sample, totals);
}

}  // namespace zmsp
