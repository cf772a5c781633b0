// Orves Source's track lists: IAMStreamSelect (audio tracks in group 1,
// text tracks in group 2) and IOrvesTextTracks.
#include <cstring>
#include <cwchar>

#include "codecs/common/CodecTable.h"
#include "codecs/common/TrackName.h"
#include "codecs/common/WideText.h"
#include "codecs/source/SourceFilter.h"
#include "codecs/source/SourcePin.h"

namespace orves::codecs {

namespace {

constexpr DWORD kAudioGroup = 1;
constexpr DWORD kTextGroup = 2;

LPWSTR TaskMemoryWide(std::string_view utf8) {
  const std::wstring text = WideFromUtf8(utf8);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (copy != nullptr) std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

char* TaskMemoryUtf8(std::string_view text) {
  auto* copy = static_cast<char*>(CoTaskMemAlloc(text.size() + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

}  // namespace

const StreamInfo* SourceFilter::SelectableStream(LONG index, DWORD* group) {
  if (!demuxer_ || index < 0) return nullptr;
  const auto at = static_cast<std::size_t>(index);
  int stream = -1;
  if (at < audioStreams_.size()) {
    stream = audioStreams_[at];
    *group = kAudioGroup;
  } else if (at - audioStreams_.size() < textStreams_.size()) {
    stream = textStreams_[at - audioStreams_.size()];
    *group = kTextGroup;
  }
  return stream >= 0 ? &demuxer_->Streams()[static_cast<std::size_t>(stream)] : nullptr;
}

HRESULT SourceFilter::Count(DWORD* streams) {
  if (streams == nullptr) return E_POINTER;
  std::lock_guard lock(FilterLock());
  *streams = static_cast<DWORD>(audioStreams_.size() + textStreams_.size());
  return S_OK;
}

HRESULT SourceFilter::Info(LONG index, AM_MEDIA_TYPE** type, DWORD* flags, LCID* lcid, DWORD* group,
                           WCHAR** name, IUnknown** object, IUnknown** unknown) {
  std::lock_guard lock(FilterLock());
  DWORD streamGroup = 0;
  const StreamInfo* stream = SelectableStream(index, &streamGroup);
  if (stream == nullptr) return S_FALSE;
  if (type != nullptr) {
    *type = nullptr;
    for (SourcePin* pin : pins_) {
      if (pin->Stream().index == stream->index) {
        ds::MediaType own;
        pin->GetMediaType(0, own);
        *type = ds::CreateMediaType(&own.Get());
      }
    }
    // A text track has no pin; its type says only that it is text.
    if (*type == nullptr && streamGroup == kTextGroup) {
      ds::MediaType text;
      text.Get().majortype = MEDIATYPE_Text;
      *type = ds::CreateMediaType(&text.Get());
    }
  }
  const bool selected = stream->index == (streamGroup == kAudioGroup ? selectedAudio_ : selectedText_);
  if (flags != nullptr) *flags = selected ? AMSTREAMSELECTINFO_ENABLED | AMSTREAMSELECTINFO_EXCLUSIVE : 0;
  if (lcid != nullptr) *lcid = 0;
  if (group != nullptr) *group = streamGroup;
  if (name != nullptr) {
    *name = TaskMemoryWide(TrackName(*stream));
    if (*name == nullptr) return E_OUTOFMEMORY;
  }
  if (object != nullptr) *object = nullptr;
  if (unknown != nullptr) *unknown = nullptr;
  return S_OK;
}

HRESULT SourceFilter::Enable(LONG index, DWORD flags) {
  std::lock_guard lock(FilterLock());
  DWORD group = 0;
  const StreamInfo* stream = SelectableStream(index, &group);
  if (stream == nullptr) return E_INVALIDARG;
  const bool enable = (flags & (AMSTREAMSELECTENABLE_ENABLE | AMSTREAMSELECTENABLE_ENABLEALL)) != 0;
  if (group == kTextGroup) {
    if (enable) {
      selectedText_ = stream->index;
    } else if (selectedText_ == stream->index) {
      selectedText_ = -1;
    }
    return S_OK;
  }
  // One audio track always plays.
  if (!enable || stream->index == selectedAudio_) return S_OK;
  selectedAudio_ = stream->index;
  if (state_ == State_Stopped || !worker_) return S_OK;
  // The newly selected track's pin delivers from where playing is; the
  // others end their streams.
  Reposition(CurrentPosition());
  return S_OK;
}

HRESULT SourceFilter::GetTrackCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  std::lock_guard lock(FilterLock());
  *count = static_cast<LONG>(textStreams_.size());
  return S_OK;
}

HRESULT SourceFilter::GetTrackInfo(LONG track, LPWSTR* name, LPWSTR* language, LPWSTR* title) {
  if (name == nullptr || language == nullptr || title == nullptr) return E_POINTER;
  *name = *language = *title = nullptr;
  std::lock_guard lock(FilterLock());
  if (track < 0 || static_cast<std::size_t>(track) >= textStreams_.size()) return E_INVALIDARG;
  const StreamInfo& stream =
      demuxer_->Streams()[static_cast<std::size_t>(textStreams_[static_cast<std::size_t>(track)])];
  *name = TaskMemoryWide(TrackName(stream));
  *language = TaskMemoryWide(stream.language);
  *title = TaskMemoryWide(stream.title);
  if (*name != nullptr && *language != nullptr && *title != nullptr) return S_OK;
  CoTaskMemFree(*name);
  CoTaskMemFree(*language);
  CoTaskMemFree(*title);
  *name = *language = *title = nullptr;
  return E_OUTOFMEMORY;
}

HRESULT SourceFilter::GetCues(LONG track, OrvesTextCue** cues, LONG* count) {
  if (cues == nullptr || count == nullptr) return E_POINTER;
  *cues = nullptr;
  *count = 0;
  std::lock_guard lock(FilterLock());
  if (track < 0 || static_cast<std::size_t>(track) >= textStreams_.size() || !textReader_)
    return E_INVALIDARG;
  if (!textReader_->Ready()) return kCuesPending;
  const int stream = textStreams_[static_cast<std::size_t>(track)];
  const TextTrack* found = nullptr;
  for (const TextTrack& text : textReader_->Tracks()) {
    if (text.stream == stream) found = &text;
  }
  if (found == nullptr) return S_OK;  // the second reading found no cue for it
  // One block: the cue array, then the texts it points into.
  std::size_t bytes = found->cues.size() * sizeof(OrvesTextCue);
  for (const TextCue& cue : found->cues) bytes += cue.text.size() + 1;
  auto* block = static_cast<std::uint8_t*>(CoTaskMemAlloc(bytes));
  if (block == nullptr) return E_OUTOFMEMORY;
  auto* array = reinterpret_cast<OrvesTextCue*>(block);
  char* text = reinterpret_cast<char*>(block + found->cues.size() * sizeof(OrvesTextCue));
  for (std::size_t i = 0; i < found->cues.size(); ++i) {
    const TextCue& cue = found->cues[i];
    std::memcpy(text, cue.text.c_str(), cue.text.size() + 1);
    array[i] = {cue.start, cue.stop, text};
    text += cue.text.size() + 1;
  }
  *cues = array;
  *count = static_cast<LONG>(found->cues.size());
  return S_OK;
}

HRESULT SourceFilter::GetScriptHeader(LONG track, char** header) {
  if (header == nullptr) return E_POINTER;
  *header = nullptr;
  std::lock_guard lock(FilterLock());
  if (track < 0 || static_cast<std::size_t>(track) >= textStreams_.size()) return E_INVALIDARG;
  std::string script;
  const StreamInfo& stream =
      demuxer_->Streams()[static_cast<std::size_t>(textStreams_[static_cast<std::size_t>(track)])];
  if (CarriesScriptHeader(stream.format.codecId)) {
    script.assign(stream.format.extradata.begin(), stream.format.extradata.end());
    while (!script.empty() && script.back() == '\0') script.pop_back();
  }
  *header = TaskMemoryUtf8(script);
  return *header != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT SourceFilter::GetTrackMarkup(LONG track, LONG* markup) {
  if (markup == nullptr) return E_POINTER;
  *markup = kMarkupPlain;
  std::lock_guard lock(FilterLock());
  if (track < 0 || static_cast<std::size_t>(track) >= textStreams_.size()) return E_INVALIDARG;
  const StreamInfo& stream =
      demuxer_->Streams()[static_cast<std::size_t>(textStreams_[static_cast<std::size_t>(track)])];
  *markup = TextMarkupOf(stream.format.codecId);
  return S_OK;
}

}  // namespace orves::codecs
