#pragma once
// Interleaved PCM test buffers with guard bytes after the data, so a stage that
// writes past what it was given shows up as a changed guard.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <vector>

#include "soundproc/contract/PcmFormat.h"

namespace zmsp::test {

inline constexpr std::byte kGuard{0xA5};
inline constexpr std::size_t kGuardBytes = 64;

template <typename Sample>
class PcmTestBuffer {
 public:
  explicit PcmTestBuffer(std::vector<Sample> samples)
      : bytes_(samples.size() * sizeof(Sample) + kGuardBytes, kGuard) {
    std::memcpy(bytes_.data(), samples.data(), samples.size() * sizeof(Sample));
    count_ = samples.size();
  }
  PcmTestBuffer(std::initializer_list<Sample> samples) : PcmTestBuffer(std::vector<Sample>(samples)) {}

  [[nodiscard]] std::span<std::byte> data() { return {bytes_.data(), count_ * sizeof(Sample)}; }
  [[nodiscard]] std::span<std::byte> withGuard() { return {bytes_.data(), bytes_.size()}; }
  [[nodiscard]] std::size_t dataBytes() const { return count_ * sizeof(Sample); }

  [[nodiscard]] std::vector<Sample> samples() const {
    std::vector<Sample> out(count_);
    std::memcpy(out.data(), bytes_.data(), count_ * sizeof(Sample));
    return out;
  }
  [[nodiscard]] bool guardIntact() const {
    for (std::size_t i = count_ * sizeof(Sample); i < bytes_.size(); ++i) {
      if (bytes_[i] != kGuard) {
        return false;
      }
    }
    return true;
  }

 private:
  std::vector<std::byte> bytes_;
  std::size_t count_ = 0;
};

inline PcmFormat pcmLayout(std::uint16_t channels, std::uint16_t bits) {
  PcmFormat layout;
  layout.parsed = true;
  layout.formatTag = PcmFormat::kTagPcm;
  layout.channels = channels;
  layout.bitsPerSample = bits;
  return layout;
}

inline PcmFormat extensibleLayout(std::uint16_t channels, std::uint16_t bits, std::uint32_t mask) {
  PcmFormat layout = pcmLayout(channels, bits);
  layout.formatTag = PcmFormat::kTagExtensible;
  layout.extensible = true;
  layout.channelMask = mask;
  return layout;
}

}  // namespace zmsp::test
