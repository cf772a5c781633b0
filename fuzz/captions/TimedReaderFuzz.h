#pragma once
// The checks every reader of a format with end times must pass on arbitrary
// bytes: no crash or hang; tables in ascending order with valid UTF-8 texts;
// a file saved shifted reads back into the same cues, shifted; a clean
// SubRip file made from the cues reads back into as many cues.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "player/captions/CaptionClock.h"
#include "player/captions/CueWriter.h"
#include "player/captions/SamiDocument.h"
#include "player/captions/SamiWriter.h"
#include "player/core/UnicodeText.h"

namespace orves::fuzz {

inline ITextCodec& Codec() {
  static const auto codec = MakeSystemTextCodec();
  return *codec;
}

inline void Check(bool condition) {
  if (!condition) std::abort();
}

inline void CheckTable(const std::vector<TCaptionEntry>& table) {
  for (size_t i = 0; i < table.size(); ++i) {
    Check(IsValidUtf8(table[i].text));
    Check(i == 0 || table[i - 1].start < table[i].start);
    Check(table[i].text.empty() || (table[i].text.front() > ' ' || (table[i].text.front() & 0x80)));
  }
}

// Shifted by a second and read again, every cue is back a second later (ASS
// keeps centiseconds, so a time may move by the rounding).
inline void CheckShiftedSave(const TTimedCaptionFile& file) {
  for (const TCueTiming& timing : file.timings) {
    if (std::max(timing.start, timing.end) > kMaxCaptionMilliseconds - 2000) return;
  }
  constexpr int64_t kShift = 1000;
  const TTimedCaptionFile again = ReadTimedCaptionFile(file.format, ShiftTimedCaptionFile(file, kShift));
  Check(again.cues.size() == file.cues.size());
  const int64_t slack = file.format == TCaptionFormat::Ass ? 5 : 0;
  for (size_t i = 0; i < file.cues.size(); ++i) {
    Check(std::llabs(again.cues[i].start - file.cues[i].start - kShift) <= slack);
    Check(std::llabs(again.cues[i].end - file.cues[i].end - kShift) <= slack);
    Check(again.cues[i].shown.text == file.cues[i].shown.text);
  }
}

inline int RunTimedReader(const uint8_t* data, size_t size, TCaptionFormat format) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TSamiDocument document(Codec());
  document.LoadBytes(bytes, format);
  for (const auto language : {TCaptionLanguage::Korean, TCaptionLanguage::English}) {
    CheckTable(document.Table(language));
    Check(document.Count(language) <= 2 * TSamiDocument::MaxEntries + 1);
  }
  if (document.Sources().empty()) return 0;
  const TTimedCaptionFile& file = document.Sources().front().timed;
  CheckShiftedSave(file);
  const TTimedCaptionFile clean = ReadSubRip(BuildSubRipFile(file.cues, 0));
  size_t shown = 0;
  for (const TCaptionCue& cue : file.cues)
    shown += cue.shown.text.empty() || std::max(cue.start, cue.end) <= 0 ? 0 : 1;
  Check(clean.cues.size() == shown);
  // Converting to SAMI must not fail either.
  TSamiDocument sami(Codec());
  sami.LoadBytes(BuildSamiFile(document, 0, Codec()));
  return 0;
}

}  // namespace orves::fuzz
