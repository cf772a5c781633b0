// Media types as other filters hand them to our decoders: the format block
// of each stream of the input (as our source would offer it), cut short and
// with its length fields overwritten from the input's last bytes, read back
// into a stream format. Reading never leaves the block.
#include <algorithm>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "codecs/common/StreamMediaType.h"

using namespace orves::codecs;

namespace {

void ReadBack(AM_MEDIA_TYPE type, std::vector<BYTE> block) {
  type.cbFormat = static_cast<ULONG>(block.size());
  type.pbFormat = block.empty() ? nullptr : block.data();
  (void)FormatFromMediaType(type);
  (void)PictureLayoutOf(type);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto demuxer = fuzz::OpenBytes(data, size);
  if (demuxer == nullptr) return 0;
  // Four bytes from the input's end: a cut and a value for a length field.
  std::uint32_t twist = 0;
  std::memcpy(&twist, data + size - std::min<std::size_t>(size, 4), std::min<std::size_t>(size, 4));
  for (const StreamInfo& stream : demuxer->Streams()) {
    ds::MediaType type;
    if (!MediaTypeFor(stream.format, type)) continue;
    const AM_MEDIA_TYPE& offered = type.Get();
    const std::vector<BYTE> block(offered.pbFormat, offered.pbFormat + offered.cbFormat);
    ReadBack(offered, block);
    // Cut short.
    ReadBack(offered, std::vector<BYTE>(block.begin(), block.begin() + (twist % (block.size() + 1))));
    // A length field (cbSize, cbSequenceHeader, sizes) overwritten.
    for (std::size_t at : {std::size_t{16}, std::size_t{88}, std::size_t{92}, std::size_t{116}}) {
      if (at + 4 > block.size()) continue;
      std::vector<BYTE> twisted = block;
      std::memcpy(twisted.data() + at, &twist, 4);
      ReadBack(offered, twisted);
    }
  }
  return 0;
}
