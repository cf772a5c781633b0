#pragma once
// The skeleton the channel expander and the time stretcher share: a stage
// that runs samples through a DMO. A sample that carries a media type
// refills the stage's format and sets the DMO's types (creating the DMO and
// handing it its parameters on first use); while the stage is enabled and
// the DMO took the types, every sample streams through the DMO (DmoStreamer),
// otherwise it is passed on untouched. The derived stage says which types it
// takes and which the DMO gets, how its parameters reach the DMO, and the
// shape of its output.
//
// The DMO is the outside component when its class is registered, else our
// own DMO of the same kind from the factory in `sources` (see DmoCreation.h).

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/Settings.h"
#include "soundproc/stages/DmoCreation.h"
#include "soundproc/stages/DmoStreamer.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

class DmoStage : public ProcessingStage {
 public:
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) final;

  // The DMO in use (not referenced for the caller), null before the first
  // type the stage takes.
  [[nodiscard]] IMediaObject* Dmo() const { return dmo_.Get(); }

  // Shown on the page.
  bool typesAccepted = false;
  PcmFormat format;
  SampleSizes lastSample;
  DmoStreamTotals totals;  // output of the last input sample

 protected:
  // Which DMO the stage drives, and its name in the messages.
  struct DmoKind {
    CLSID outsideClass;
    OwnDmoKind own;
    const char* name;            // "can't create NAME (0x...)"
    const char* refusedMessage;  // the DMO took no types
  };

  DmoStage(SettingsStore& store, const DmoSources& sources, const DmoKind& kind);

  // The DMO's input and output types for a sample's `type`: S_OK, S_FALSE
  // when the stage does not process `type`, or a failure (nothing changes).
  virtual HRESULT DmoTypesFor(const AM_MEDIA_TYPE& type, MediaType& input, MediaType& output) = 0;
  // Hands the settings to the DMO through its persisted parameter block: to
  // a new DMO in the block's creation form (`atCreation`), and before every
  // sample when the stage's "RealtimeApply" is set, then only when they changed.
  virtual HRESULT HandOver(bool atCreation) = 0;
  [[nodiscard]] virtual bool RealtimeApply(const Settings& settings) const = 0;
  // The output of the current format as passed on.
  [[nodiscard]] virtual DmoStreamShape StreamShape() = 0;

  SettingsStore& store_;
  ComPtr<IMediaObject> dmo_;

 private:
  void NegotiateTypes(const AM_MEDIA_TYPE& type);
  HRESULT StreamSample(IMediaSample* sample);

  DmoSources sources_;
  DmoKind kind_;
  StageMessages messages_;
};

}  // namespace zmsp
