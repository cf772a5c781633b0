#include "soundproc/stages/ChannelPositions.h"

#include <bit>

namespace zmsp {

namespace {

std::int32_t PositionOf(std::uint32_t mask, std::uint32_t speakerBit, std::uint16_t channels) {
  if ((mask & speakerBit) == 0) {
    return ChannelPositions::kAbsent;
  }
  const int position = std::popcount(mask & (speakerBit - 1));
  return position < channels ? position : ChannelPositions::kAbsent;
}

}  // namespace

ChannelPositions ChannelPositions::FromLayout(const PcmFormat& layout) {
  ChannelPositions positions;
  if (!layout.extensible || (layout.channelMask & kSpeakerAll) != 0) {
    return positions;
  }
  const std::uint32_t mask = layout.channelMask;
  positions.frontLeft = PositionOf(mask, kSpeakerFrontLeft, layout.channels);
  positions.frontRight = PositionOf(mask, kSpeakerFrontRight, layout.channels);
  positions.frontCenter = PositionOf(mask, kSpeakerFrontCenter, layout.channels);
  positions.lowFrequency = PositionOf(mask, kSpeakerLowFrequency, layout.channels);
  return positions;
}

}  // namespace zmsp
