// What the player and every other program know of OrvesCodecs.ax: the class
// ids of its three filters and the one interface of ours on Orves Source,
// IOrvesTextTracks, which lists the text subtitle tracks embedded in the file
// it plays (SubRip, ASS/SSA, WebVTT, MP4 timed text) and hands out their
// cues, read in one pass on a worker thread after the file is loaded. A
// contract only: no code, so the player shares none with the module.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <strmif.h>
#else
#include "directshow/compat/dshow_compat.h"
#endif

namespace orves {

inline constexpr CLSID kOrvesSource = {
    0x45102F62, 0x1D9D, 0x41A2, {0xA1, 0xE8, 0x14, 0xDB, 0x59, 0x2E, 0x3D, 0xE6}};
inline constexpr CLSID kOrvesVideoDecoder = {
    0xC8557DEA, 0xF9A4, 0x449F, {0xB1, 0x1B, 0x00, 0xA6, 0x48, 0x69, 0x89, 0x33}};
inline constexpr CLSID kOrvesAudioDecoder = {
    0xE09970D1, 0x34F6, 0x4FAF, {0x82, 0x8F, 0x8A, 0xDE, 0x0F, 0xD9, 0x7E, 0x2D}};
inline constexpr IID kIOrvesTextTracks = {
    0xE5988655, 0xF480, 0x4A68, {0x8F, 0xCD, 0x99, 0x22, 0x20, 0x5B, 0x11, 0xD9}};

// E_PENDING: the cues are still being read.
inline constexpr HRESULT kCuesPending = static_cast<HRESULT>(0x8000000A);

// The markup a track's cue texts carry.
enum OrvesTextMarkup : LONG {
  kMarkupPlain = 0,   // none (MP4 timed text)
  kMarkupSubRip = 1,  // <b>, <i>, <u>, <font color>
  kMarkupWebVtt = 2,  // <c.class>, <v Speaker>, <b>, <i>
  kMarkupAss = 3,     // an ASS event's text with its override tags ({\i1}, \N)
};

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
  // The markup of the track's cue texts (OrvesTextMarkup).
  virtual HRESULT STDMETHODCALLTYPE GetTrackMarkup(LONG track, LONG* markup) = 0;
};

}  // namespace orves
