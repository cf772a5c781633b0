// A PcmFormat read from a media type's wave format block, and written into
// one. AM_MEDIA_TYPE and DMO_MEDIA_TYPE share one layout, so both are read
// and written alike.
#pragma once

#include <cstring>

#include "directshow/com/DirectShowApi.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/contract/PcmFormat.h"

namespace zmsp {

// Fills `format` from the type's WAVEFORMATEX (and its extensible fields when
// tag 0xFFFE, cbSize at least 22 and a PCM sub-format). A type whose format
// block is no WAVEFORMATEX leaves every field as it was and answers false.
template <typename MediaTypeRecord>
bool FillPcmFormat(const MediaTypeRecord& type, PcmFormat& format) {
  format.parsed = guids::Same(type.formattype, guids::kFormatWaveFormatEx) && type.pbFormat != nullptr &&
                  type.cbFormat >= sizeof(WAVEFORMATEX);
  if (!format.parsed) return false;
  WAVEFORMATEX wave;
  std::memcpy(&wave, type.pbFormat, sizeof(wave));
  format.formatTag = wave.wFormatTag;
  format.channels = wave.nChannels;
  format.samplesPerSec = wave.nSamplesPerSec;
  format.avgBytesPerSec = wave.nAvgBytesPerSec;
  format.blockAlign = wave.nBlockAlign;
  format.bitsPerSample = wave.wBitsPerSample;
  format.extensible = false;
  if (format.formatTag == PcmFormat::kTagExtensible && wave.cbSize >= 22 &&
      type.cbFormat >= sizeof(WAVEFORMATEXTENSIBLE)) {
    WAVEFORMATEXTENSIBLE ext;
    std::memcpy(&ext, type.pbFormat, sizeof(ext));
    if (guids::Same(ext.SubFormat, guids::kKsDataFormatSubtypePcm)) {
      format.extensible = true;
      format.channelMask = ext.dwChannelMask;
      format.validBitsPerSample = ext.Samples.wValidBitsPerSample;
    }
  }
  return true;
}

// The format of `type` alone, nothing kept from an earlier one.
template <typename MediaTypeRecord>
PcmFormat PcmFormatOf(const MediaTypeRecord& type) {
  PcmFormat format;
  FillPcmFormat(type, format);
  return format;
}

// The wave format block of `format`: WAVEFORMATEXTENSIBLE (40 bytes, with the
// mask and valid bits) when it is extensible, else WAVEFORMATEX (18 bytes);
// block align and byte rate follow from the frame size.
struct WaveFormatBlock {
  WAVEFORMATEXTENSIBLE wave{};
  ULONG size = 0;
};
inline WaveFormatBlock WaveFormatOf(const PcmFormat& format) {
  WaveFormatBlock block;
  WAVEFORMATEX& wave = block.wave.Format;
  wave.wFormatTag = format.extensible ? PcmFormat::kTagExtensible : format.formatTag;
  wave.nChannels = format.channels;
  wave.nSamplesPerSec = format.samplesPerSec;
  wave.wBitsPerSample = format.bitsPerSample;
  wave.nBlockAlign = static_cast<WORD>(format.FrameBytes());
  wave.nAvgBytesPerSec = format.samplesPerSec * format.FrameBytes();
  wave.cbSize = format.extensible ? 22 : 0;
  block.wave.Samples.wValidBitsPerSample = format.validBitsPerSample;
  block.wave.dwChannelMask = format.channelMask;
  block.wave.SubFormat = guids::kKsDataFormatSubtypePcm;
  block.size = format.extensible ? sizeof(WAVEFORMATEXTENSIBLE) : sizeof(WAVEFORMATEX);
  return block;
}

// Replaces the format block of `type` by the wave format of `format` (task
// memory); E_OUTOFMEMORY leaves the type as it was.
template <typename MediaTypeRecord>
HRESULT SetWaveFormat(const PcmFormat& format, MediaTypeRecord& type) {
  const WaveFormatBlock block = WaveFormatOf(format);
  auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(block.size));
  if (bytes == nullptr) return E_OUTOFMEMORY;
  std::memcpy(bytes, &block.wave, block.size);
  CoTaskMemFree(type.pbFormat);
  type.pbFormat = bytes;
  type.cbFormat = block.size;
  type.formattype = guids::kFormatWaveFormatEx;
  return S_OK;
}

}  // namespace zmsp
