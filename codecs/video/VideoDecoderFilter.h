// Orves Video Decoder: compressed video in (whatever upstream filter sends
// it), pictures out in the first of NV12, YV12, YUY2 and RGB32 downstream
// takes, each as VIDEOINFOHEADER2 (with the picture aspect ratio) and then
// as VIDEOINFOHEADER for renderers that take only that. After a new segment
// the pictures before its start are not delivered; a renderer that asks for
// another stride on a buffer gets it.
#pragma once

#include <memory>
#include <optional>

#include "codecs/common/StreamFormat.h"
#include "codecs/common/StreamMediaType.h"
#include "codecs/video/VideoDecoder.h"
#include "directshow/base/TransformFilter.h"

namespace orves::codecs {

class VideoDecoderFilter final : public ds::TransformFilter {
 public:
  VideoDecoderFilter();
  ~VideoDecoderFilter() override;

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
  // Delivers every picture the decoder has ready.
  HRESULT DeliverPictures();

  std::optional<StreamFormat> input_;
  std::unique_ptr<VideoDecoder> decoder_;
  PictureLayout layout_;
};

}  // namespace orves::codecs
