#pragma once
// The caption file formats the player reads, told apart by extension, and
// by content when the extension names none of them.
#include <optional>
#include <string_view>

namespace orves {

enum class TCaptionFormat { Sami, SubRip, WebVtt, Ass };

const char* FormatName(TCaptionFormat format);  // "sami", "subrip", "webvtt", "ass"

// "smi"/"sami"/"smil", "srt", "vtt", "ass"/"ssa" (any case), else nothing.
std::optional<TCaptionFormat> FormatOfExtension(std::string_view extension);

// The format a file's text looks like: a SAMI sync tag anywhere, else an ASS
// script section, a WEBVTT header or a SubRip time line near its start; SAMI
// when it shows none.
TCaptionFormat SniffCaptionFormat(std::string_view text);

}  // namespace orves
