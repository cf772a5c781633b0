#pragma once
// What the stage classes share: the sample sizes shown on the property page, the copy of an upstream sample
// into an output sample, and the stages' message boxes.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "soundproc/contract/ProcessingStage.h"

namespace zmsp {

// Actual data length and buffer size of the last sample a stage received.
struct SampleSizes {
  std::int32_t actualDataLength = 0;
  std::int32_t bufferSize = 0;
  void Record(IMediaSample* sample);
};

// When `sample` carries a media type, refills `format` from it, frees the
// taken type and returns true.
bool RefillFormatFromSample(IMediaSample* sample, PcmFormat& format);

// An output sample from the filter holding the input sample's properties (no
// override type) and a copy of its data. On failure nothing is left to release
// and *copy is null.
HRESULT CopyToOutputSample(StageFilter* filter, IMediaSample* input, IMediaSample** copy);

// The writable bytes of a sample and how many of them hold data; false when
// the sample gives no pointer.
struct SampleBytes {
  std::byte* data = nullptr;
  std::size_t capacity = 0;
  std::size_t length = 0;
};
bool GetSampleBytes(IMediaSample* sample, SampleBytes& bytes);

// The stages' user-visible messages: a message box without caption and with
// an OK button on Windows, shown on a thread of its own so that the calling
// streaming thread goes on at once; a line on stderr natively. Tests and
// tools may install their own handler (an empty function restores the default).
void ShowStageMessage(std::string_view text);
void SetStageMessageHandler(std::function<void(std::string_view)> handler);

}  // namespace zmsp
