// The PCM the audio decoder delivers: interleaved integers the sound
// processor takes, 16-bit, or 32-bit for sources of more than 16 bits, with
// a WAVE_FORMAT_EXTENSIBLE channel mask.
#pragma once

#include <cstdint>

namespace orves::codecs {

struct PcmFormat {
  int sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 16;
  std::uint32_t channelMask = 0;

  int BlockAlign() const { return channels * bitsPerSample / 8; }
  // More than two channels need the mask, more than 16 bits the
  // extensible form too.
  bool Extensible() const { return channels > 2 || bitsPerSample > 16; }
  friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

// 32 for a source of more than 16 significant bits, else 16. `sourceBits` is
// 0 for lossy codecs, which decode to floats of no fixed depth.
int OutputBits(int sourceBits);

// The speaker mask for a decoder's channel layout (FFmpeg's native layout
// bits 0-17 are the WAVE speaker bits, in the same order). A layout that does
// not name exactly `channels` of those speakers gets the usual layout of its
// channel count, which the decoder then mixes to.
std::uint32_t WaveChannelMask(std::uint64_t layoutMask, int channels);

}  // namespace orves::codecs
