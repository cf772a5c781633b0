// A GUID as plain data, so the portable rules can name DirectShow subtypes;
// the filters copy it into a Windows GUID field by field.
#pragma once

#include <cstdint>

namespace orves::codecs {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// A FOURCC as DirectShow stores it: the first character in the low byte.
constexpr std::uint32_t Fourcc(const char (&code)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

// {XXXXXXXX-0000-0010-8000-00AA00389B71}: the subtype of a FOURCC or of a
// wave format tag.
constexpr Guid FourccGuid(std::uint32_t fourccOrTag) {
  return {fourccOrTag, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

constexpr bool IsFourccGuid(const Guid& guid) { return guid == FourccGuid(guid.data1); }

}  // namespace orves::codecs
