// The one table of the codecs the module knows: FFmpeg's codec id, the
// DirectShow subtypes a stream of it travels as (the first is the one the
// source offers unless a rule below picks another) with the format block
// each subtype comes with, and the short name track names use.
#pragma once

#include "interfaces/OrvesCodecs.h"
#include <string_view>
#include <vector>

#include "codecs/common/Guid.h"
#include "codecs/common/StreamFormat.h"

namespace orves::codecs {

enum class FormatBlock {
  VideoInfo2,    // VIDEOINFOHEADER2, private data appended
  Mpeg1Video,    // MPEG1VIDEOINFO, sequence header inside
  Mpeg2Video,    // MPEG2VIDEOINFO, sequence header (or parameter sets) inside
  WaveFormatEx,  // WAVEFORMATEX (or WAVE_FORMAT_EXTENSIBLE), private data appended
  None,          // text tracks: read through the text-track interface, no pin
};

struct Subtype {
  Guid guid;
  FormatBlock block;
};

struct CodecEntry {
  int codecId;
  StreamKind kind;
  std::string_view name;
  std::vector<Subtype> subtypes;
  bool IsText() const { return kind == StreamKind::Subtitle; }
};

const std::vector<CodecEntry>& Codecs();

// ASS and SSA tracks keep their styles in a script header (the private data).
bool CarriesScriptHeader(int codecId);
// The markup the cue texts of a text track of `codecId` carry.
OrvesTextMarkup TextMarkupOf(int codecId);

// The entry of an FFmpeg codec id; null for a codec the module does not play.
const CodecEntry* FindCodec(int codecId);

// The entry a subtype belongs to; FOURCCs match in either letter case
// (AVI files write 'xvid' as often as 'XVID'). Null when unknown.
const CodecEntry* FindCodecBySubtype(const Guid& subtype);

// The codec id of an upstream subtype, 0 when unknown. Integer and float
// PCM share their tags across bit counts; `bitsPerSample` picks the variant.
int CodecIdForSubtype(const Guid& subtype, int bitsPerSample);

// The subtype the source offers for a stream: the container's own FOURCC
// when the codec's row lists it, length-prefixed H.264/HEVC (avcC/hvcC
// private data) as 'AVC1'/'HVC1', raw AAC with its configuration as tag
// 0xFF and ADTS without one as 0x1600, float PCM as 0x0003. Null subtype
// (all zero) for a codec the table does not list.
Subtype SubtypeFor(const StreamFormat& format);

}  // namespace orves::codecs
