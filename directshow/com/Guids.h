// GUID helpers every module uses: comparison without depending on which
// operators a platform header happens to declare, and the GUID a wave
// format tag maps to.
#pragma once

#include <cstring>

#include "directshow/com/DirectShowApi.h"

namespace ds::guids {

// Builds {XXXXXXXX-0000-0010-8000-00AA00389B71}, the GUID a wave format tag
// (or a FOURCC) maps to.
constexpr GUID WaveFormatGuid(DWORD tag) {
  return {tag, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

inline bool Same(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

inline bool IsNull(const GUID& guid) {
  static constexpr GUID kNull{};
  return Same(guid, kNull);
}

}  // namespace ds::guids
