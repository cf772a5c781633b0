// A media sample from upstream as the packet our decoders take: its bytes,
// times (no stop time when it gives none), sync point and discontinuity.
#pragma once

#include "codecs/common/MediaPacket.h"
#include "directshow/com/DirectShowApi.h"

namespace orves::codecs {

// False when the sample's buffer cannot be read.
inline bool PacketFromSample(IMediaSample* sample, MediaPacket& packet) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return false;
  packet.data.assign(data, data + sample->GetActualDataLength());
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  const HRESULT times = sample->GetTime(&start, &stop);
  if (SUCCEEDED(times)) {
    packet.start = start;
    packet.stop = times == VFW_S_NO_STOP_TIME ? kNoTime : stop;
  }
  packet.syncPoint = sample->IsSyncPoint() == S_OK;
  packet.discontinuity = sample->IsDiscontinuity() == S_OK;
  return true;
}

}  // namespace orves::codecs
