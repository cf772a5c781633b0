// The MPEG format blocks the SDK's headers declare but our native
// declarations (directshow/compat) do not, under names of our own, beside
// the module's class ids and interface (interfaces/OrvesCodecs.h).
#pragma once

#include <cstddef>

#include "codecs/common/Guid.h"
#include "directshow/com/DirectShowApi.h"
#include "interfaces/OrvesCodecs.h"

namespace orves::codecs {

// FORMAT_MPEGVideo and FORMAT_MPEG2Video.
inline constexpr GUID kFormatMpeg1Video = {
    0x05589F82, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
inline constexpr GUID kFormatMpeg2Video = {
    0xE06D80E3, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};

// MPEG1VIDEOINFO and MPEG2VIDEOINFO without their variable tails: the
// sequence header follows the struct in the format block.
#pragma pack(push, 4)
struct Mpeg1VideoInfo {
  VIDEOINFOHEADER hdr;
  DWORD dwStartTimeCode;
  DWORD cbSequenceHeader;
};
struct Mpeg2VideoInfo {
  VIDEOINFOHEADER2 hdr;
  DWORD dwStartTimeCode;
  DWORD cbSequenceHeader;
  DWORD dwProfile;
  DWORD dwLevel;
  DWORD dwFlags;
};
#pragma pack(pop)
static_assert(sizeof(Mpeg1VideoInfo) == 96);
static_assert(sizeof(Mpeg2VideoInfo) == 132);
#ifdef _WIN32
static_assert(offsetof(MPEG1VIDEOINFO, bSequenceHeader) == sizeof(Mpeg1VideoInfo));
static_assert(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) == sizeof(Mpeg2VideoInfo));
#endif

inline GUID ToGuid(const Guid& guid) {
  GUID out{guid.data1, guid.data2, guid.data3, {}};
  for (int i = 0; i < 8; ++i) out.Data4[i] = guid.data4[i];
  return out;
}

inline Guid FromGuid(const GUID& guid) {
  Guid out{static_cast<std::uint32_t>(guid.Data1), guid.Data2, guid.Data3, {}};
  for (int i = 0; i < 8; ++i) out.data4[i] = guid.Data4[i];
  return out;
}

}  // namespace orves::codecs
