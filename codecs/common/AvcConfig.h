// H.264 decoder configuration in the two forms it travels in: the avcC
// record of MP4 and Matroska (FFmpeg's private data for length-prefixed
// H.264), and the sequence header of an MPEG2VIDEOINFO format block for
// subtype 'AVC1' (each parameter set behind a 16-bit big-endian length,
// with the NAL length size, profile and level beside it).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orves::codecs {

struct AvcSequenceHeader {
  int nalLengthSize = 4;                    // MPEG2VIDEOINFO.dwFlags
  int profile = 0;                          // dwProfile
  int level = 0;                            // dwLevel
  std::vector<std::uint8_t> parameterSets;  // dwSequenceHeader
};

// None for a record that is not avcC or is cut short.
std::optional<AvcSequenceHeader> SequenceHeaderFromAvcC(std::span<const std::uint8_t> avcc);

// Empty when the header holds no sequence parameter set or a length runs
// past its end.
std::vector<std::uint8_t> AvcCFromSequenceHeader(const AvcSequenceHeader& header);

}  // namespace orves::codecs
