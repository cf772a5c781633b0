#pragma once
// Saving captions with the sync offset applied. A file is written in the
// format its name's extension names (SAMI, SubRip, WebVTT, ASS), else in the
// format the shown table was read in. Written in the format it was read in, a
// SubRip, WebVTT or ASS file keeps everything but its times (exact
// milliseconds; the ASS header, styles and other fields untouched) and its
// encoding; SAMI is written as the SAMI writer writes it (both tables); a
// table written in another format becomes a clean SubRip or WebVTT file (ASS
// is never made anew: asked for, it is SubRip).
#include <filesystem>
#include <optional>
#include <string>

#include "player/captions/CaptionFileWriter.h"
#include "player/captions/SamiDocument.h"

namespace orves {

// A caption the lookup never shows (the last entry of a SAMI table) still
// lasts this long in a converted file.
inline constexpr double kLastCaptionSeconds = 5.0;

struct TCaptionWrite {
  std::optional<TCaptionFormat> format;                  // none: the format the table was read in
  TCaptionLanguage language = TCaptionLanguage::Korean;  // the table written
  bool bothTables = true;                                // SAMI: both tables, as the player saves
  double syncOffset = 0;                                 // seconds
  // A file written in the format it was read in keeps its layout (only the
  // times change); otherwise it is written anew.
  bool keepLayout = true;
};

// The format a file of that name is written in, if its extension names one.
std::optional<TCaptionFormat> WrittenFormatOf(const std::filesystem::path& path);

// The bytes of the written file.
std::string BuildCaptionFile(const TSamiDocument& document, const TCaptionWrite& write, ITextCodec& codec);

// The player's save: the shown table, in the format of `path` (see above).
TSaveResult SaveShiftedCaptions(const TSamiDocument& document, TCaptionLanguage shown, double syncOffset,
                                ITextCodec& codec, const std::filesystem::path& path);

}  // namespace orves
