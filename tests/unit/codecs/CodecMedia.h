// The clips the codecs tests read, made by scripts/make-media.sh (set
// "codecs"), and what their pictures and sound are known to hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs/common/MediaPacket.h"
#include "codecs/source/Demuxer.h"

namespace orves::codecs::test {

// The clip's path; makes the clips on first use when they are missing.
std::filesystem::path Media(const std::string& name);

// Second k of a clip shows colour k: red, green and blue on for bits 0, 1, 2.
int ColourIndex(int red, int green, int blue);
inline constexpr std::int64_t kSecond = 10'000'000;

// The first stream of `kind`, -1 when none.
int FirstStream(const Demuxer& demuxer, StreamKind kind);

// Every packet of `stream` from the current position to the end.
std::vector<MediaPacket> ReadAll(Demuxer& demuxer, int stream);

}  // namespace orves::codecs::test
