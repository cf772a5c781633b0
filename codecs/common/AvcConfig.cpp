#include "codecs/common/AvcConfig.h"

namespace orves::codecs {

namespace {

constexpr int kNalSps = 7;
constexpr int kNalPps = 8;

// Reads `count` length-prefixed units at `at`, appending each (with its
// length) to `out`; false when one runs past the end.
bool CopyUnits(std::span<const std::uint8_t> data, std::size_t& at, int count,
               std::vector<std::uint8_t>& out) {
  for (int i = 0; i < count; ++i) {
    if (at + 2 > data.size()) return false;
    const std::size_t length = static_cast<std::size_t>(data[at] << 8 | data[at + 1]);
    if (at + 2 + length > data.size()) return false;
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
    at += 2 + length;
  }
  return true;
}

}  // namespace

std::optional<AvcSequenceHeader> SequenceHeaderFromAvcC(std::span<const std::uint8_t> avcc) {
  if (avcc.size() < 7 || avcc[0] != 1) return std::nullopt;
  AvcSequenceHeader header;
  header.profile = avcc[1];
  header.level = avcc[3];
  header.nalLengthSize = (avcc[4] & 0x03) + 1;
  std::size_t at = 6;
  if (!CopyUnits(avcc, at, avcc[5] & 0x1F, header.parameterSets)) return std::nullopt;
  if (at >= avcc.size()) return std::nullopt;
  const int pictureSets = avcc[at++];
  if (!CopyUnits(avcc, at, pictureSets, header.parameterSets)) return std::nullopt;
  return header;
}

std::vector<std::uint8_t> AvcCFromSequenceHeader(const AvcSequenceHeader& header) {
  std::vector<std::uint8_t> sequence;
  std::vector<std::uint8_t> picture;
  int sequenceCount = 0;
  int pictureCount = 0;
  const std::span<const std::uint8_t> data(header.parameterSets);
  for (std::size_t at = 0; at < data.size();) {
    if (at + 2 > data.size()) return {};
    const std::size_t length = static_cast<std::size_t>(data[at] << 8 | data[at + 1]);
    if (length == 0 || at + 2 + length > data.size()) return {};
    const int type = data[at + 2] & 0x1F;
    std::vector<std::uint8_t>& target = type == kNalSps ? sequence : picture;
    if (type == kNalSps) ++sequenceCount;
    if (type == kNalPps) ++pictureCount;
    if (type == kNalSps || type == kNalPps) {
      target.insert(target.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                    data.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
    }
    at += 2 + length;
  }
  if (sequenceCount == 0 || sequenceCount > 31 || pictureCount > 255) return {};
  const std::uint8_t* sps = sequence.data() + 2;  // the first set, after its length
  const std::size_t spsLength = static_cast<std::size_t>(sequence[0] << 8 | sequence[1]);
  const int lengthSize = header.nalLengthSize >= 1 && header.nalLengthSize <= 4 ? header.nalLengthSize : 4;
  std::vector<std::uint8_t> avcc{1,
                                 spsLength > 1 ? sps[1] : static_cast<std::uint8_t>(header.profile),
                                 spsLength > 2 ? sps[2] : std::uint8_t{0},
                                 spsLength > 3 ? sps[3] : static_cast<std::uint8_t>(header.level),
                                 static_cast<std::uint8_t>(0xFC | (lengthSize - 1)),
                                 static_cast<std::uint8_t>(0xE0 | sequenceCount)};
  avcc.insert(avcc.end(), sequence.begin(), sequence.end());
  avcc.push_back(static_cast<std::uint8_t>(pictureCount));
  avcc.insert(avcc.end(), picture.begin(), picture.end());
  return avcc;
}

}  // namespace orves::codecs
