#pragma once
// The parameter blocks the expansion and time-stretch DMOs persist at the
// start of their IPersistStream state: little-endian 32-bit words. The stages
// write some words and leave the others as the DMO saved them; our own DMOs
// read the same words.

#include <array>
#include <cstddef>
#include <cstdint>

#include "soundproc/stages/MatrixUpmixer.h"

namespace zmsp {

template <std::size_t Words>
class WordBlock {
 public:
  static constexpr std::size_t kWords = Words;
  static constexpr std::size_t kBytes = Words * 4;

  [[nodiscard]] std::uint32_t Word(std::size_t index) const {
    const std::uint8_t* b = bytes.data() + index * 4;
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  }
  void SetWord(std::size_t index, std::uint32_t value) {
    std::uint8_t* b = bytes.data() + index * 4;
    for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }

  std::array<std::uint8_t, kBytes> bytes{};
};

// The upmix block: 68 bytes. Words 0 and 2 are set once when the DMO is
// created; words 3, 11, 13, 14 and 16 carry the upmix parameters.
class UpmixParameterBlock : public WordBlock<17> {
 public:
  static constexpr std::size_t kCreationWordA = 0;
  static constexpr std::uint32_t kCreationValueA = 50;
  static constexpr std::size_t kCreationWordB = 2;
  static constexpr std::uint32_t kCreationValueB = 1;
  static constexpr std::size_t kAlgorithm = 3;
  static constexpr std::size_t kPanorama = 11;
  static constexpr std::size_t kDimension = 13;  // dimension + 3, 0 to 6
  static constexpr std::size_t kMode = 14;
  static constexpr std::size_t kCenterWidth = 16;

  [[nodiscard]] UpmixParams Params() const {
    UpmixParams params;
    params.algorithm = static_cast<int>(Word(kAlgorithm));
    params.panorama = Word(kPanorama) != 0;
    params.dimension = static_cast<int>(Word(kDimension));
    params.mode = static_cast<int>(Word(kMode));
    params.centerWidth = static_cast<int>(Word(kCenterWidth));
    return params;
  }
  void SetParams(const UpmixParams& params) {
    SetWord(kAlgorithm, static_cast<std::uint32_t>(params.algorithm));
    SetWord(kPanorama, params.panorama ? 1 : 0);
    SetWord(kDimension, static_cast<std::uint32_t>(params.dimension));
    SetWord(kMode, static_cast<std::uint32_t>(params.mode));
    SetWord(kCenterWidth, static_cast<std::uint32_t>(params.centerWidth));
  }
  void SetCreationWords() {
    SetWord(kCreationWordA, kCreationValueA);
    SetWord(kCreationWordB, kCreationValueB);
  }
  // Every parameter word within the range the block defines.
  [[nodiscard]] bool ParamsInRange() const {
    return Word(kAlgorithm) <= 2 && Word(kPanorama) <= 1 && Word(kDimension) <= 6 && Word(kMode) <= 5 &&
           Word(kCenterWidth) <= 7;
  }
};

// The speed block: 4 bytes, word 0 the speed in thousandths (563 to 10000).
class SpeedParameterBlock : public WordBlock<1> {
 public:
  static constexpr std::uint32_t kMinSpeed = 563;
  static constexpr std::uint32_t kMaxSpeed = 10000;

  [[nodiscard]] std::uint32_t Speed() const { return Word(0); }
  void SetSpeed(std::uint32_t thousandths) { SetWord(0, thousandths); }
  [[nodiscard]] bool SpeedInRange() const { return Speed() >= kMinSpeed && Speed() <= kMaxSpeed; }
};

}  // namespace zmsp
