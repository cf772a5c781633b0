#pragma once
// The part of an input format summary the signal-path engines need, without any
// media-type or COM types, so the DSP builds and is tested on its own.

#include <cstddef>
#include <cstdint>

namespace zmsp {

inline constexpr std::uint16_t kFormatTagPcm = 0x0001;
inline constexpr std::uint16_t kFormatTagExtensible = 0xFFFE;
inline constexpr std::uint16_t kFormatTagAc3Spdif = 0x0092;

// Speaker bits of an extensible channel mask, in interleaving order.
inline constexpr std::uint32_t kSpeakerFrontLeft = 0x1;
inline constexpr std::uint32_t kSpeakerFrontRight = 0x2;
inline constexpr std::uint32_t kSpeakerFrontCenter = 0x4;
inline constexpr std::uint32_t kSpeakerLowFrequency = 0x8;
inline constexpr std::uint32_t kSpeakerAll = 0x80000000u;

struct PcmLayout {
  bool parsed = false;          // a wave format was read at all
  std::uint16_t formatTag = 0;  // 1 PCM, 0xFFFE extensible, 0x92 AC3 over S/PDIF
  std::uint16_t channels = 0;
  std::uint16_t bitsPerSample = 0;
  bool extensible = false;  // tag 0xFFFE with a PCM sub-format; only then is the mask valid
  std::uint32_t channelMask = 0;

  // Bytes of one interleaved frame; 0 when the layout cannot describe a frame.
  [[nodiscard]] constexpr std::uint32_t frameBytes() const {
    return static_cast<std::uint32_t>(channels) * (bitsPerSample / 8u);
  }
  [[nodiscard]] constexpr bool integerWidthSupported() const {
    return bitsPerSample == 16 || bitsPerSample == 32;
  }
};

// Frames held by `bytes` of data; partial trailing frames are not counted and a
// layout without a frame size has none.
[[nodiscard]] constexpr std::size_t framesIn(const PcmLayout& layout, std::size_t bytes) {
  const std::uint32_t frame = layout.frameBytes();
  return frame == 0 ? 0 : bytes / frame;
}

}  // namespace zmsp
