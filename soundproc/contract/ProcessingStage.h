// The contract between the sound processor's filter and its processing
// stages (channel expander, time stretcher, channel control, sound meter).
//
// Buffers are interleaved signed integer PCM (16 or 32 bits), counted in
// frames of `channels` samples. For every input sample the filter links the
// stages into a chain and calls the first stage's Receive(sample, true).
//
// Ownership of the sample a stage receives:
//  - isUpstreamSample == true: the sample is the filter's input sample. It
//    belongs to the upstream filter: its data must not be written and it must
//    never be delivered downstream. A stage that changes the data first takes
//    an output sample from the filter (StageFilter::GetOutputSample), copies
//    properties and data into it (SampleHelpers.h), works on the copy and
//    passes the copy on with false, then releases its own reference.
//  - isUpstreamSample == false: an earlier stage obtained the sample from the
//    filter's output allocator; the stage may process it in place and pass it
//    on (the earlier stage keeps and later releases its reference).
// A stage passes a sample on with PassOn: the next stage's Receive, or, for
// the last stage, delivery on the output pin. The result of that call is the
// stage's result. Everything runs on the upstream streaming thread.
//
// Format changes travel as media types attached to samples: a stage that
// finds a type on a sample (IMediaSample::GetMediaType returns S_OK) refills
// its PcmFormat from it (WaveFormat.h) and frees the type with DeleteMediaType.
#pragma once

#include "directshow/com/DirectShowApi.h"
#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/PcmFormat.h"
#include "soundproc/contract/WaveFormat.h"

namespace zmsp {

// What a stage needs from the filter that owns it.
class StageFilter {
 public:
  // A buffer from the output pin's allocator with the input sample's
  // properties carried over (the transform base's InitializeOutputSample).
  // The caller owns one reference to *output.
  virtual HRESULT GetOutputSample(IMediaSample* input, IMediaSample** output) = 0;

 protected:
  ~StageFilter() = default;
};

// What a stage needs from the filter's output pin.
class StageOutputPin {
 public:
  // Hands the sample to the downstream input pin; the caller keeps its reference.
  virtual HRESULT Deliver(IMediaSample* sample) = 0;

 protected:
  ~StageOutputPin() = default;
};

// The stage contract. Fields are public because the property page reads
// them directly on its own thread (plain values, no lock).
class ProcessingStage {
 public:
  virtual ~ProcessingStage() = default;

  // Processes or passes on one sample; see the ownership rules above.
  virtual HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) = 0;

  ProcessingStage* next = nullptr;      // null for the last stage
  StageFilter* filter = nullptr;        // owning filter, for output samples
  StageOutputPin* outputPin = nullptr;  // the filter's, for the last stage's delivery
  bool enabled = false;

 protected:
  // Hands the sample to the next stage, or delivers it when this stage is
  // last. An upstream sample never leaves the filter: the last stage must
  // have copied it (E_UNEXPECTED otherwise).
  HRESULT PassOn(IMediaSample* sample, bool isUpstreamSample) {
    if (next != nullptr) return next->Receive(sample, isUpstreamSample);
    if (isUpstreamSample) return E_UNEXPECTED;
    if (outputPin == nullptr) return E_UNEXPECTED;
    return outputPin->Deliver(sample);
  }
};

}  // namespace zmsp
