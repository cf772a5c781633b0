// Standard headers first: the Windows SDK's strsafe.h, pulled in by dshow.h,
// poisons names that <string> needs.
#include <string>

#include "soundproc/stages/DmoStage.h"

namespace zmsp {

DmoStage::DmoStage(SettingsStore& store, const DmoSources& sources, const DmoKind& kind)
    : store_(store), sources_(sources), kind_(kind) {}

HRESULT DmoStage::Receive(IMediaSample* sample, bool isUpstreamSample) {
  if (sample == nullptr) return E_POINTER;
  lastSample.Record(sample);
  {
    TakenMediaType type(sample);
    if (type) {
      FillPcmFormat(*type.Get(), format);
      NegotiateTypes(*type.Get());
    }
  }
  if (enabled && typesAccepted) return StreamSample(sample);
  return PassOn(sample, isUpstreamSample);
}

void DmoStage::NegotiateTypes(const AM_MEDIA_TYPE& type) {
  MediaType input, output;
  const HRESULT decided = DmoTypesFor(type, input, output);
  if (decided == S_FALSE) {
    typesAccepted = false;
    return;
  }
  if (FAILED(decided)) return;
  // A new DMO gets the creation form of its parameters once more; a failure
  // leaves "types accepted" as it was.
  if (!dmo_) {
    const bool created = CreateConfiguredDmo(
        sources_, kind_.outsideClass, kind_.own, kind_.name, [this] { return HandOver(true); }, dmo_,
        messages_);
    if (!created || FAILED(HandOver(true))) return;
  }
  typesAccepted = SetDmoTypes(*dmo_.Get(), input.Get(), output.Get());
  if (!typesAccepted) messages_.Show(kind_.refusedMessage);
}

HRESULT DmoStage::StreamSample(IMediaSample* sample) {
  if (filter == nullptr) return E_UNEXPECTED;
  if (RealtimeApply(Settings(store_))) {
    const HRESULT hr = HandOver(false);
    if (FAILED(hr)) return hr;
  }
  const DmoStreamShape shape = StreamShape();
  DmoStreamer streamer(*dmo_.Get(), *filter, shape,
                       [this](IMediaSample* output) { return PassOn(output, false); });
  return streamer.Stream(sample, totals);
}

}  // namespace zmsp
