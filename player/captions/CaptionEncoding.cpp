#include "player/captions/CaptionEncoding.h"

#include "player/core/UnicodeText.h"

namespace orves {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view UpToFirstZero(std::string_view text) { return text.substr(0, text.find('\0')); }

char32_t CodePointAt(std::string_view utf8, size_t pos, size_t length) {
  if (length == 1) return static_cast<unsigned char>(utf8[pos]);
  char32_t c = static_cast<unsigned char>(utf8[pos]) & (0xFF >> (length + 1));
  for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[pos + k]) & 0x3F);
  return c;
}

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
  std::string out;
  out.reserve(utf8.size() * 2 + 2);
  AppendUnit(out, 0xFEFF, bigEndian);
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = Utf8SequenceLength(utf8, i);
    const char32_t c = n ? CodePointAt(utf8, i, n) : 0xFFFD;
    i += n ? n : 1;
    if (c < 0x10000) {
      AppendUnit(out, static_cast<char16_t>(c), bigEndian);
    } else {
      AppendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
      AppendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
    }
  }
  return out;
}

}  // namespace

const char* EncodingName(TCaptionEncoding encoding) {
  switch (encoding) {
    case TCaptionEncoding::Cp949:
      return "cp949";
    case TCaptionEncoding::Utf8:
      return "utf-8";
    case TCaptionEncoding::Utf16Le:
      return "utf-16le";
    case TCaptionEncoding::Utf16Be:
      return "utf-16be";
  }
  return "cp949";
}

TDecodedCaptionFile DecodeCaptionFile(std::string bytes) {
  TDecodedCaptionFile file;
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    const bool bigEndian = bytes[0] == '\xFE';
    file.encoding = bigEndian ? TCaptionEncoding::Utf16Be : TCaptionEncoding::Utf16Le;
    file.byteOrderMark = true;
    const std::string utf8 = Utf16ToUtf8(std::string_view(bytes).substr(2), bigEndian);
    file.text = std::string(UpToFirstZero(utf8));
    file.validUtf8 = true;
    return file;
  }
  file.byteOrderMark = StartsWith(bytes, kUtf8Mark);
  file.text = std::move(bytes);
  if (file.byteOrderMark) file.text.erase(0, kUtf8Mark.size());
  file.text.resize(UpToFirstZero(file.text).size());
  file.validUtf8 = IsValidUtf8(file.text);
  file.encoding = file.byteOrderMark || (file.validUtf8 && HasNonAscii(file.text)) ? TCaptionEncoding::Utf8
                                                                                   : TCaptionEncoding::Cp949;
  return file;
}

std::string CaptionTextAsUtf8(TDecodedCaptionFile file, ITextCodec& codec) {
  if (file.encoding == TCaptionEncoding::Cp949 && HasNonAscii(file.text)) return codec.Cp949ToUtf8(file.text);
  if (file.encoding != TCaptionEncoding::Cp949 && !file.validUtf8) return SanitizeUtf8(file.text);
  return std::move(file.text);
}

std::string EncodeCaptionFile(std::string_view utf8, TCaptionEncoding encoding, bool byteOrderMark,
                              ITextCodec& codec) {
  switch (encoding) {
    case TCaptionEncoding::Utf16Le:
    case TCaptionEncoding::Utf16Be:
      return Utf8ToUtf16(utf8, encoding == TCaptionEncoding::Utf16Be);
    case TCaptionEncoding::Cp949:
      if (!HasNonAscii(utf8)) return std::string(utf8);
      if (auto cp949 = codec.Utf8ToCp949(utf8)) return *cp949;
      byteOrderMark = true;
      break;
    case TCaptionEncoding::Utf8:
      break;
  }
  std::string out = byteOrderMark ? std::string(kUtf8Mark) : std::string();
  out += IsValidUtf8(utf8) ? std::string(utf8) : SanitizeUtf8(utf8);
  return out;
}

}  // namespace orves
