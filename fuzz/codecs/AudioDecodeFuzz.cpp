// The audio decoding path on arbitrary bytes: each audio stream decoded to
// PCM whose blocks must match their announced format, before and after a
// cut into the middle of a block.
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "codecs/audio/AudioDecoder.h"

using namespace orves::codecs;

namespace {

void TakeBlocks(AudioDecoder& decoder) {
  AudioBlock block;
  std::uint64_t sum = 0;
  while (decoder.NextBlock(block)) {
    const PcmFormat format = decoder.Format();
    if (block.size !=
        static_cast<std::size_t>(block.frames) * static_cast<std::size_t>(format.BlockAlign())) {
      std::abort();
    }
    if (block.stop < block.start) std::abort();
    // Every byte must be readable.
    for (std::size_t i = 0; i < block.size; ++i) sum += block.data[i];
  }
  (void)sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto demuxer = fuzz::OpenBytes(data, size);
  if (demuxer == nullptr) return 0;
  std::vector<std::unique_ptr<AudioDecoder>> decoders(demuxer->Streams().size());
  for (const StreamInfo& stream : demuxer->Streams()) {
    if (stream.format.kind == StreamKind::Audio) {
      decoders[static_cast<std::size_t>(stream.index)] = std::make_unique<AudioDecoder>(stream.format);
    }
  }
  MediaPacket packet;
  for (int i = 0; i < fuzz::kMaxPackets && demuxer->Read(packet) == ReadStatus::Packet; ++i) {
    if (auto& decoder = decoders[static_cast<std::size_t>(packet.stream)]) {
      if (i == fuzz::kMaxPackets / 4 && packet.start != kNoTime) {
        decoder->Flush();
        decoder->SkipUntil(packet.start + 1234);
      }
      decoder->Send(packet);
      TakeBlocks(*decoder);
    }
  }
  for (auto& decoder : decoders) {
    if (decoder == nullptr) continue;
    decoder->Drain();
    TakeBlocks(*decoder);
  }
  return 0;
}
