// OrvesCodecs.ax: the classes it serves and how each is registered. The
// server's exports (directshow_server) read this one table; the decoders'
// input types come from the codec table, so a codec added there is
// registered too.
#include <vector>

#include "codecs/audio/AudioDecoderFilter.h"
#include "codecs/common/CodecGuids.h"
#include "codecs/common/CodecTable.h"
#include "codecs/source/SourceFilter.h"
#include "codecs/video/VideoDecoderFilter.h"
#include "directshow/com/ServerModule.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orves::codecs {

namespace {

// Below MERIT_NORMAL: a machine's own choice of decoders and splitters stays
// first for other programs; the player adds ours to its graphs itself.
constexpr DWORD kMerit = 0x00600000 - 1;

constexpr const wchar_t* kSourceExtensions[] = {
    L".mkv", L".mka",  L".webm", L".mp4", L".m4v",  L".m4a", L".mov", L".3gp",  L".avi",
    L".mpg", L".mpeg", L".vob",  L".ts",  L".m2ts", L".mts", L".ogg", L".ogv",  L".ogm",
    L".oga", L".opus", L".asf",  L".wmv", L".wma",  L".flv", L".mp3", L".flac", L".wav"};

// The GUIDs the registration rows point at, built once from the codec table.
struct Registration {
  std::vector<GUID> videoSubtypes;
  std::vector<GUID> audioSubtypes;
  std::vector<ds::RegisteredType> videoIn;
  std::vector<ds::RegisteredType> audioIn;
  std::vector<ds::RegisteredPin> sourcePins;
  std::vector<ds::RegisteredPin> videoPins;
  std::vector<ds::RegisteredPin> audioPins;
  ds::FilterEntry source{};
  ds::FilterEntry videoDecoder{};
  ds::FilterEntry audioDecoder{};
  std::vector<ds::ServedClass> classes;
};

const ds::RegisteredType kVideoAny[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const ds::RegisteredType kAudioAny[] = {{&MEDIATYPE_Audio, &GUID_NULL}};
const ds::RegisteredType kPictures[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_NV12},
                                        {&MEDIATYPE_Video, &MEDIASUBTYPE_YV12},
                                        {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2},
                                        {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
const ds::RegisteredType kPcm[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};

const Registration& Table() {
  static const Registration table = [] {
    Registration r;
    for (const CodecEntry& entry : Codecs()) {
      for (const Subtype& subtype : entry.subtypes) {
        if (entry.kind == StreamKind::Video) r.videoSubtypes.push_back(ToGuid(subtype.guid));
        if (entry.kind == StreamKind::Audio) r.audioSubtypes.push_back(ToGuid(subtype.guid));
      }
    }
    // The vectors of GUIDs are complete: their addresses stay put from here.
    for (const GUID& subtype : r.videoSubtypes) r.videoIn.push_back({&MEDIATYPE_Video, &subtype});
    for (const GUID& subtype : r.audioSubtypes) r.audioIn.push_back({&MEDIATYPE_Audio, &subtype});
    r.sourcePins = {{.name = L"Video", .output = true, .types = kVideoAny, .zero = true, .many = true},
                    {.name = L"Audio", .output = true, .types = kAudioAny, .zero = true, .many = true}};
    r.videoPins = {{.name = L"XForm In", .output = false, .types = r.videoIn},
                   {.name = L"XForm Out", .output = true, .types = kPictures}};
    r.audioPins = {{.name = L"XForm In", .output = false, .types = r.audioIn},
                   {.name = L"XForm Out", .output = true, .types = kPcm}};
    r.source = {.merit = kMerit, .pins = r.sourcePins, .sourceExtensions = kSourceExtensions};
    r.videoDecoder = {.merit = kMerit, .pins = r.videoPins};
    r.audioDecoder = {.merit = kMerit, .pins = r.audioPins};
    r.classes = {
        {.classId = &kOrvesSource,
         .name = L"Orves Source",
         .create = ds::CreateComObject<SourceFilter>,
         .filter = &r.source},
        {.classId = &kOrvesVideoDecoder,
         .name = L"Orves Video Decoder",
         .create = ds::CreateComObject<VideoDecoderFilter>,
         .filter = &r.videoDecoder},
        {.classId = &kOrvesAudioDecoder,
         .name = L"Orves Audio Decoder",
         .create = ds::CreateComObject<AudioDecoderFilter>,
         .filter = &r.audioDecoder},
    };
    return r;
  }();
  return table;
}

// A filter module writes nothing to the host program's console.
void SilenceLibraries() { av_log_set_level(AV_LOG_QUIET); }

}  // namespace

}  // namespace orves::codecs

const ds::ServerModule& ds::ThisServerModule() {
  static const ServerModule kModule{orves::codecs::Table().classes, orves::codecs::SilenceLibraries};
  return kModule;
}
