#pragma once
// Streams one input sample through a DMO and passes on what comes out: the
// loop the expander and time-stretcher stages share. For every piece the DMO
// returns, an output sample from the filter gets the input sample's
// properties; pieces after the first lose their media type, sync point and
// discontinuity and get time stamps (and media times, where the stage keeps
// them) advanced by the frames output before them.

#include <cstdint>
#include <functional>

#include "directshow/com/DirectShowApi.h"
#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/ProcessingStage.h"

namespace zmsp {

// Where the two stages differ.
struct DmoStreamShape {
  std::uint32_t frameBytes = 0;  // of the output as passed on; > 0
  std::uint32_t sampleRate = 0;  // > 0
  // Mono input: the DMO gets stereo frames with both channels equal, and its
  // output is folded back to mono (the left channel).
  bool monoThroughStereo = false;
  // true: media times follow the pieces; false: every output sample has none.
  bool keepMediaTimes = true;
  // The output samples' type from the input sample's type; none: the input
  // sample's own type is carried over.
  std::function<HRESULT(const AM_MEDIA_TYPE& input, MediaType& output)> outputType;
};

// What the page shows of the last input sample.
struct DmoStreamTotals {
  std::uint32_t producedBytes = 0;
  std::int32_t lastOutputSize = 0;
};

class DmoStreamer {
 public:
  using PassOn = std::function<HRESULT(IMediaSample* output)>;

  DmoStreamer(IMediaObject& dmo, StageFilter& filter, const DmoStreamShape& shape, PassOn passOn)
      : dmo_(dmo), filter_(filter), shape_(shape), passOn_(std::move(passOn)) {}

  // Feeds `input` to the DMO and passes on every piece of output. Returns the
  // first failure of the DMO, the sample or the passing on (which ends the
  // loop); otherwise the first success other than S_OK that passing on gave,
  // else S_OK. E_UNEXPECTED when the shape has no frame size or sample rate.
  HRESULT Stream(IMediaSample* input, DmoStreamTotals& totals);

 private:
  struct InputTimes {
    bool start = false;
    bool stop = false;
    REFERENCE_TIME startTime = 0;
    REFERENCE_TIME stopTime = 0;
    bool mediaTimes = false;
    LONGLONG mediaStart = 0;
    LONGLONG mediaStop = 0;
    bool syncPoint = false;
    bool discontinuity = false;
  };

  HRESULT ReadTimes(IMediaSample* input, InputTimes& times);
  HRESULT MakeInputBuffer(IMediaSample* input, IMediaBuffer** buffer);
  // Hands the input to the DMO, then reads its media times.
  HRESULT FeedInput(IMediaSample* input, InputTimes& times);
  HRESULT NewOutputSample(IMediaSample* input, IMediaSample** output);
  HRESULT FillPiece(IMediaSample* output, LONG& length, bool& incomplete);
  void StampPiece(IMediaSample* output, const InputTimes& times, std::uint32_t produced, LONG length,
                  bool incomplete);

  IMediaObject& dmo_;
  StageFilter& filter_;
  const DmoStreamShape& shape_;
  PassOn passOn_;
};

}  // namespace zmsp
