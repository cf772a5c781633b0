// The text subtitle tracks embedded in the file Orves Source plays (SubRip,
// ASS/SSA, WebVTT, MP4 timed text), for a caption engine: listed at once,
// their cues read in one pass on a worker thread after the file is loaded.
// Queried from the source filter with kIOrvesTextTracks.
#pragma once

#include "directshow/com/DirectShowApi.h"

namespace orves::codecs {

// E_PENDING: the cues are still being read.
inline constexpr HRESULT kCuesPending = static_cast<HRESULT>(0x8000000A);

struct OrvesTextCue {
  REFERENCE_TIME start;
  REFERENCE_TIME stop;
  const char* text;  // UTF-8, ASS override tags and SubRip tags as written
};

struct IOrvesTextTracks : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTrackCount(LONG* count) = 0;
  // The track's name as the player lists it ("한국어 — SubRip"), its ISO 639
  // language code and its title, each a task-memory string the caller frees
  // with CoTaskMemFree (empty strings when the file gives none).
  virtual HRESULT STDMETHODCALLTYPE GetTrackInfo(LONG track, LPWSTR* name, LPWSTR* language,
                                                 LPWSTR* title) = 0;
  // The track's cues by start time, in one task-memory block (the texts
  // inside it) the caller frees with CoTaskMemFree; kCuesPending while the
  // reading runs, E_INVALIDARG for a track that does not exist.
  virtual HRESULT STDMETHODCALLTYPE GetCues(LONG track, OrvesTextCue** cues, LONG* count) = 0;
  // An ASS/SSA track's script header (script info and styles) as UTF-8 in
  // task memory; an empty string for the other formats.
  virtual HRESULT STDMETHODCALLTYPE GetScriptHeader(LONG track, char** header) = 0;
};

}  // namespace orves::codecs
