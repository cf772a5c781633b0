#pragma once
// Writes the loaded captions back as a minimal SAMI file with the sync offset
// applied to every start time: Korean entries as KRCC, then English entries
// as EGCC, in CP949. The written file reads back into the same texts.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "player/captions/CaptionFileWriter.h"
#include "player/captions/SamiDocument.h"

namespace orves {

// "#RRGGBB" for a 0x00BBGGRR colour.
std::string ColourToHtml(TColour colour);

// The start written for an entry, in milliseconds, or nothing when the
// shifted time lies before the movie's start. Truncates toward zero, except
// that the rounding error of seconds = ms x 0.001 is absorbed first, so an
// unshifted save writes every start exactly as it was read.
std::optional<int64_t> WrittenStartMilliseconds(double start, double syncOffset);

// One entry's text as written after its tags: CP949, characters CP949 lacks
// as "&#NNN;", markup characters escaped so the reader cannot mistake them.
std::string EncodeCaptionText(const std::string& utf8, ITextCodec& codec);

// The whole file's bytes: both tables, or only the table `only`.
std::string BuildSamiFile(const TSamiDocument& document, double syncOffset, ITextCodec& codec,
                          std::optional<TCaptionLanguage> only = std::nullopt);

// Writes to a temporary file beside `path` and then replaces `path` with it,
// so a failed save never leaves a half-written caption file behind.
TSaveResult SaveCaptionFile(const TSamiDocument& document, double syncOffset, ITextCodec& codec,
                            const std::filesystem::path& path);

}  // namespace orves
