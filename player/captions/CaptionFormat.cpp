#include "player/captions/CaptionFormat.h"

#include "player/captions/SamiMarkup.h"
#include "player/core/Paths.h"

namespace orves {

const char* FormatName(TCaptionFormat format) {
  switch (format) {
    case TCaptionFormat::Sami:
      return "sami";
    case TCaptionFormat::SubRip:
      return "subrip";
    case TCaptionFormat::WebVtt:
      return "webvtt";
    case TCaptionFormat::Ass:
      return "ass";
  }
  return "sami";
}

std::optional<TCaptionFormat> FormatOfExtension(std::string_view extension) {
  const std::string lower = LowerAscii(extension);
  if (IsCaptionExtension(lower)) return TCaptionFormat::Sami;
  if (lower == "srt") return TCaptionFormat::SubRip;
  if (lower == "vtt") return TCaptionFormat::WebVtt;
  if (lower == "ass" || lower == "ssa") return TCaptionFormat::Ass;
  return std::nullopt;
}

TCaptionFormat SniffCaptionFormat(std::string_view text) {
  // Whatever else it holds, a file with a sync tag reads as it always has.
  if (FindNextSync(text, 0) != std::string_view::npos) return TCaptionFormat::Sami;
  const std::string_view head = text.substr(0, 4096);
  if (FindNoCase(head, "[script info]") != std::string_view::npos ||
      FindNoCase(head, "[events]") != std::string_view::npos) {
    return TCaptionFormat::Ass;
  }
  if (head.substr(0, 6) == "WEBVTT") return TCaptionFormat::WebVtt;
  if (head.find("-->") != std::string_view::npos) return TCaptionFormat::SubRip;
  return TCaptionFormat::Sami;
}

}  // namespace orves
