#include "codecs/common/PcmFormat.h"

#include <array>
#include <bit>

namespace orves::codecs {

namespace {

constexpr std::uint64_t kWaveSpeakers = 0x3FFFF;

// FL FR FC LFE BL BR FLC FRC BC SL SR: mono is the centre, stereo FL FR,
// 5.1 and 7.1 with side speakers.
constexpr std::array<std::uint32_t, 9> kUsualMasks{0, 0x4, 0x3, 0x7, 0x107, 0x607, 0x60F, 0x70F, 0x63F};

}  // namespace

int OutputBits(int sourceBits) { return sourceBits > 16 ? 32 : 16; }

std::uint32_t WaveChannelMask(std::uint64_t layoutMask, int channels) {
  if (channels <= 0) return 0;
  if ((layoutMask & ~kWaveSpeakers) == 0 && std::popcount(layoutMask) == channels) {
    return static_cast<std::uint32_t>(layoutMask);
  }
  if (static_cast<std::size_t>(channels) < kUsualMasks.size())
    return kUsualMasks[static_cast<std::size_t>(channels)];
  // More than eight: the first speakers in WAVE order.
  return channels >= 18 ? static_cast<std::uint32_t>(kWaveSpeakers) : (1u << channels) - 1;
}

}  // namespace orves::codecs
