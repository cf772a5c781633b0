// Names of tracks as the player shows them ("한국어 — AC3 5.1"), built from
// the container's language and title tags and the stream's codec.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codecs/common/StreamFormat.h"

namespace orves::codecs {

// The Korean name of an ISO 639-2 (bibliographic or terminology) or 639-1
// code, in any letter case: "kor" -> "한국어". An unknown code comes back as
// written; "und", "zxx" and the empty code (no language) come back empty.
std::string LanguageName(std::string_view code);

// "5.1" for six channels with one LFE speaker; without a mask the usual
// layout of that count ("2.0", "5.1", "7.1").
std::string ChannelsName(int channels, std::uint64_t channelMask);

// Language, title and codec summary joined by " — ", leaving out what the
// tags do not give: "한국어 — AC3 5.1", "English — Commentary — AAC 2.0",
// "H.264 1920x1080", "일본어 — SubRip".
std::string TrackName(const StreamInfo& stream);

}  // namespace orves::codecs
