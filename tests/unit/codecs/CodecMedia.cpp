#include "CodecMedia.h"

#include <cstdlib>
#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace orves::codecs::test {

std::filesystem::path Media(const std::string& name) {
  static std::once_flag made;
  std::call_once(made, [] {
    av_log_set_level(AV_LOG_QUIET);
#ifndef _WIN32
    // Natively the suite also runs alone; under Wine the codecs_media test
    // has made the clips.
    const std::string command =
        "bash '" ORVES_SOURCE_DIR "/scripts/make-media.sh' '" ORVES_MEDIA_DIR "' codecs >/dev/null";
    if (std::system(command.c_str()) != 0) std::abort();
#endif
  });
  return std::filesystem::path(ORVES_MEDIA_DIR) / name;
}

int ColourIndex(int red, int green, int blue) {
  return (red > 128 ? 1 : 0) | (green > 128 ? 2 : 0) | (blue > 128 ? 4 : 0);
}

int FirstStream(const Demuxer& demuxer, StreamKind kind) {
  for (const StreamInfo& stream : demuxer.Streams()) {
    if (stream.format.kind == kind) return stream.index;
  }
  return -1;
}

std::vector<MediaPacket> ReadAll(Demuxer& demuxer, int stream) {
  std::vector<MediaPacket> packets;
  MediaPacket packet;
  while (demuxer.Read(packet) == ReadStatus::Packet) {
    if (packet.stream == stream) packets.push_back(packet);
  }
  return packets;
}

}  // namespace orves::codecs::test
