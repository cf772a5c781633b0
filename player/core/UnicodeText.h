#pragma once
// Small UTF-8/UTF-16 helpers of the caption engine that need no code page
// tables, and the numeric character references (&#NNNN;) the writer uses
// for characters the Korean code page cannot hold.
#include <cstdint>
#include <string>
#include <string_view>

namespace orves {

// Appends the UTF-8 form of a Unicode scalar value.
void AppendUtf8(std::string& out, char32_t codePoint);

// Length in bytes of the well-formed UTF-8 sequence starting at `pos`
// (shortest form, no surrogates, at most U+10FFFF), or 0 when there is none.
size_t Utf8SequenceLength(std::string_view text, size_t pos);

bool IsValidUtf8(std::string_view text);
bool HasNonAscii(std::string_view text);

// Replaces every byte that starts no well-formed sequence by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// UTF-16 bytes (no byte-order mark) to UTF-8; unpaired surrogates and an odd
// last byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// UTF-8 to UTF-16LE bytes (no byte-order mark); bytes that start no
// well-formed sequence become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);

// Decodes "&#NNN;" and "&#xHHH;" references to characters, in one pass (a
// decoded "&" never starts another reference). References that name no
// Unicode scalar value, or lack the semicolon, stay as written.
std::string DecodeNumericReferences(std::string_view utf8);

// "&#NNN;" for a code point.
std::string NumericReference(char32_t codePoint);

}  // namespace orves
