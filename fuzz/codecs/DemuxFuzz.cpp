// The demuxing path on arbitrary bytes: open, stream descriptions and names,
// every packet (and the cue text of text tracks), a seek and reading on.
#include <cstdlib>

#include "FuzzInput.h"
#include "codecs/common/AvcConfig.h"
#include "codecs/common/CodecTable.h"
#include "codecs/common/TextCue.h"
#include "codecs/common/TrackName.h"

using namespace orves::codecs;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto demuxer = fuzz::OpenBytes(data, size);
  if (demuxer == nullptr) return 0;
  for (const StreamInfo& stream : demuxer->Streams()) {
    (void)TrackName(stream);
    (void)SubtypeFor(stream.format);
    // What an 'AVC1' media type carries, there and back.
    if (auto header = SequenceHeaderFromAvcC(stream.format.extradata)) (void)AvcCFromSequenceHeader(*header);
  }
  MediaPacket packet;
  auto readSome = [&](int count) {
    for (int i = 0; i < count && demuxer->Read(packet) == ReadStatus::Packet; ++i) {
      if (static_cast<std::size_t>(packet.stream) >= demuxer->Streams().size()) std::abort();
      const StreamFormat& format = demuxer->Streams()[static_cast<std::size_t>(packet.stream)].format;
      if (format.kind == StreamKind::Subtitle)
        (void)CueText(format.codecId, packet.data.data(), packet.data.size());
    }
  };
  readSome(fuzz::kMaxPackets);
  const std::int64_t duration = demuxer->Duration();
  demuxer->Seek(duration != kNoTime && duration > 0 ? duration / 2 : 0);
  readSome(100);
  return 0;
}
