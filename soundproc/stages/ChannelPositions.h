#pragma once
// Where the front and LFE speakers sit inside an interleaved frame.

#include <cstdint>

#include "soundproc/contract/PcmFormat.h"

namespace zmsp {

struct ChannelPositions {
  static constexpr std::int32_t kAbsent = -1;
  std::int32_t frontLeft = kAbsent;
  std::int32_t frontRight = kAbsent;
  std::int32_t frontCenter = kAbsent;
  std::int32_t lowFrequency = kAbsent;

  // Speakers of an extensible mask are interleaved in mask-bit order, so a
  // speaker's position is the number of lower mask bits set. A mask with the
  // "all speakers" bit describes no fixed order. A position that would lie
  // outside the frame (a mask naming more speakers than the format has
  // channels) counts as absent, so no operation ever reaches into the next
  // frame or past the buffer.
  [[nodiscard]] static ChannelPositions FromLayout(const PcmFormat& layout);
};

}  // namespace zmsp
