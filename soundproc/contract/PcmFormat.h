// The one description of a PCM wave format in the sound processor: what the
// filter, every stage, our DMOs, the DSP engines and the status page keep of
// a media type's wave format. Plain values only, no COM or media types, so
// the DSP engines and the page texts build and are tested on their own;
// WaveFormat.h reads it from a media type and writes it into one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zmsp {

struct PcmFormat {
  static constexpr std::uint16_t kTagPcm = 0x0001;
  static constexpr std::uint16_t kTagAc3Spdif = 0x0092;  // AC3 carried over S/PDIF
  static constexpr std::uint16_t kTagExtensible = 0xFFFE;

  bool parsed = false;  // a wave format was read at all
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  // Tag 0xFFFE with the extensible fields and a PCM sub-format; only then are
  // the mask and the valid bits meaningful.
  bool extensible = false;
  std::uint32_t channelMask = 0;
  std::uint16_t validBitsPerSample = 0;

  // Bytes of one interleaved frame: whole bytes per sample times the
  // channels; 0 when the format describes no frame.
  [[nodiscard]] constexpr std::uint32_t FrameBytes() const {
    return static_cast<std::uint32_t>(channels) * (bitsPerSample / 8u);
  }
  // Whole frames in `bytes`; none without a frame size.
  [[nodiscard]] constexpr std::size_t FramesIn(std::size_t bytes) const {
    const std::uint32_t frame = FrameBytes();
    return frame == 0 ? 0 : bytes / frame;
  }
  [[nodiscard]] constexpr bool IntegerWidthSupported() const {
    return bitsPerSample == 16 || bitsPerSample == 32;
  }
};

// Speaker bits of an extensible channel mask, in interleaving order.
inline constexpr std::uint32_t kSpeakerFrontLeft = 0x1;
inline constexpr std::uint32_t kSpeakerFrontRight = 0x2;
inline constexpr std::uint32_t kSpeakerFrontCenter = 0x4;
inline constexpr std::uint32_t kSpeakerLowFrequency = 0x8;
inline constexpr std::uint32_t kSpeakerAll = 0x80000000u;

}  // namespace zmsp
