#pragma once
// The one encoding rule of every caption format: a byte-order mark says
// UTF-8 or UTF-16; without one, text that is valid UTF-8 (and not plain
// ASCII) is UTF-8; anything else is CP949, the encoding of Korean caption
// files. Saving writes a file back in the encoding it was read in.
#include <string>
#include <string_view>

#include "player/core/TextCodec.h"

namespace orves {

enum class TCaptionEncoding { Cp949, Utf8, Utf16Le, Utf16Be };
using TSamiEncoding = TCaptionEncoding;

const char* EncodingName(TCaptionEncoding encoding);  // "cp949", "utf-8", "utf-16le", "utf-16be"

struct TDecodedCaptionFile {
  // The bytes after any byte-order mark up to the first zero; UTF-16 is
  // converted to UTF-8, CP949 stays as it is.
  std::string text;
  TCaptionEncoding encoding = TCaptionEncoding::Cp949;
  bool byteOrderMark = false;
  bool validUtf8 = false;  // the text is known to be valid UTF-8
};

TDecodedCaptionFile DecodeCaptionFile(std::string bytes);

// The file's text as UTF-8: CP949 converted, bytes of a UTF-8 file that form
// no character replaced by U+FFFD (valid text is moved, not copied).
std::string CaptionTextAsUtf8(TDecodedCaptionFile file, ITextCodec& codec);

// The bytes of a file holding `utf8` in `encoding`, with a byte-order mark
// when the file had one (always for UTF-16). A CP949 file whose text CP949
// cannot hold whole is written as UTF-8 with a byte-order mark instead, so
// no character is lost.
std::string EncodeCaptionFile(std::string_view utf8, TCaptionEncoding encoding, bool byteOrderMark,
                              ITextCodec& codec);

}  // namespace orves
