// What the codecs fuzz targets share: a demuxer over the fuzzer's bytes,
// with FFmpeg's log silenced and reading bounded so one input stays quick.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codecs/source/Demuxer.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orves::codecs::fuzz {

inline constexpr int kMaxPackets = 2000;

inline std::unique_ptr<Demuxer> OpenBytes(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
  (void)quiet;
  return Demuxer::Open(MemorySource({data, size}), "input");
}

}  // namespace orves::codecs::fuzz
