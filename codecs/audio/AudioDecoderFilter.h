// Orves Audio Decoder: compressed audio in, interleaved integer PCM out
// (16-bit, 32-bit for sources of more than 16 bits, WAVE_FORMAT_EXTENSIBLE
// with the channel mask beyond two channels), the type the sound processor
// takes. A change of the stream's rate or channels travels as a media type
// on the first sample in the new format. After a new segment, sound starts
// at its start to the sample.
#pragma once

#include <memory>

#include "codecs/audio/AudioDecoder.h"
#include "directshow/base/TransformFilter.h"

namespace orves::codecs {

class AudioDecoderFilter final : public ds::TransformFilter {
 public:
  AudioDecoderFilter();
  ~AudioDecoderFilter() override;

  HRESULT CheckInputType(const AM_MEDIA_TYPE* type) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  HRESULT GetMediaType(int position, ds::MediaType* type) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) override;
  HRESULT BreakConnect(PIN_DIRECTION direction) override;

  // Stopping forgets what the decoder holds: the graph starts again
  // elsewhere, or from the same place with a new segment.
  HRESULT STDMETHODCALLTYPE Stop() override;

  HRESULT Receive(IMediaSample* sample) override;
  HRESULT EndOfStream() override;
  HRESULT EndFlush() override;
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 private:
  HRESULT DeliverBlocks();
  HRESULT DeliverPart(const AudioBlock& block, const std::uint8_t* data, int frames, REFERENCE_TIME start,
                      bool first);

  std::unique_ptr<AudioDecoder> decoder_;
  PcmFormat format_;  // of the connection's output type
};

}  // namespace orves::codecs
