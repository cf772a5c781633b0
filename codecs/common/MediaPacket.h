// One compressed packet on its way from the demuxer to an output pin: the
// bytes, the stream it belongs to, its presentation span in 100 ns units and
// the two flags a DirectShow sample carries.
#pragma once

#include <cstdint>
#include <vector>

#include "codecs/common/TimeBase.h"

namespace orves::codecs {

struct MediaPacket {
  int stream = -1;
  std::vector<std::uint8_t> data;
  // Presentation start and stop, kNoTime where the container gives none.
  std::int64_t start = kNoTime;
  std::int64_t stop = kNoTime;
  // A decoder can start here (key frame).
  bool syncPoint = false;
  // The first packet after opening or a seek: what came before is unrelated.
  bool discontinuity = false;
};

}  // namespace orves::codecs
