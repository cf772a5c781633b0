// The video decoding path on arbitrary bytes: each video stream decoded and
// every picture converted to every output type in a buffer of exactly the
// layout's size, before and after a seek.
#include <vector>

#include "FuzzInput.h"
#include "codecs/video/VideoDecoder.h"

using namespace orves::codecs;

namespace {

void TakePictures(VideoDecoder& decoder) {
  PictureInfo info;
  std::vector<std::uint8_t> buffer;
  while (decoder.NextPicture(info)) {
    if (info.width <= 0 || info.height <= 0 || info.width > 4096 || info.height > 4096) continue;
    for (VideoOutput type : kVideoOutputOrder) {
      const int stride = MinimumStride(type, info.width);
      buffer.assign(LayoutFor(type, info.height, stride, true).size, 0);
      decoder.CopyPicture(type, buffer.data(), stride, true);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto demuxer = fuzz::OpenBytes(data, size);
  if (demuxer == nullptr) return 0;
  std::vector<std::unique_ptr<VideoDecoder>> decoders(demuxer->Streams().size());
  for (const StreamInfo& stream : demuxer->Streams()) {
    if (stream.format.kind == StreamKind::Video) {
      decoders[static_cast<std::size_t>(stream.index)] = std::make_unique<VideoDecoder>(stream.format, 1);
    }
  }
  MediaPacket packet;
  for (int i = 0; i < fuzz::kMaxPackets && demuxer->Read(packet) == ReadStatus::Packet; ++i) {
    if (auto& decoder = decoders[static_cast<std::size_t>(packet.stream)]) {
      decoder->Send(packet);
      TakePictures(*decoder);
      if (i == fuzz::kMaxPackets / 2) {
        decoder->Flush();
        decoder->SkipUntil(packet.start);
      }
    }
  }
  for (auto& decoder : decoders) {
    if (decoder == nullptr) continue;
    decoder->Drain();
    TakePictures(*decoder);
  }
  return 0;
}
