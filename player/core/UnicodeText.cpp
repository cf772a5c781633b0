#include "player/core/UnicodeText.h"

#include <algorithm>
#include <cstring>

namespace orves {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsScalarValue(uint32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

size_t Utf8SequenceLength(std::string_view text, size_t pos) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(pos);
  if (lead < 0x80) return 1;
  size_t length;
  uint32_t c;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - pos < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(at(pos + i))) return 0;
    c = (c << 6) | (at(pos + i) & 0x3F);
  }
  const uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  return c >= shortest && IsScalarValue(c) ? length : 0;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    // Runs of ASCII, the bulk of caption files, eight bytes at a time.
    while (i + 8 <= text.size()) {
      uint64_t eight;
      std::memcpy(&eight, text.data() + i, 8);
      if (eight & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= text.size()) break;
    const size_t n = Utf8SequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

bool HasNonAscii(std::string_view text) {
  for (const char b : text) {
    if (static_cast<unsigned char>(b) >= 0x80) return true;
  }
  return false;
}

std::string SanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t n = Utf8SequenceLength(text, i);
    if (n == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t i) -> uint32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (a << 8) | b : (b << 8) | a;
  };
  const size_t units = bytes.size() / 2;
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (size_t i = 0; i < units; ++i) {
    const uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const uint32_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      out += kReplacement;
    } else {
      AppendUtf8(out, u);
    }
  }
  if (bytes.size() % 2 != 0) out += kReplacement;
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  const auto put = [&out](uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = Utf8SequenceLength(utf8, i);
    if (n == 0) {
      put(0xFFFD);
      ++i;
      continue;
    }
    uint32_t c = static_cast<unsigned char>(utf8[i]);
    if (n > 1) {
      c &= 0x7F >> n;
      for (size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      put(0xD800 + (c >> 10));
      put(0xDC00 + (c & 0x3FF));
    } else {
      put(c);
    }
    i += n;
  }
  return out;
}

std::string DecodeNumericReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t amp = text.find("&#", i);
    if (amp == std::string_view::npos) break;
    out.append(text.substr(i, amp - i));
    size_t p = amp + 2;
    const bool hex = p < text.size() && (text[p] == 'x' || text[p] == 'X');
    if (hex) ++p;
    const size_t firstDigit = p;
    uint32_t value = 0;
    // Eight digits reach past U+10FFFF in either base; more are never valid.
    while (p < text.size() && p - firstDigit < 8) {
      const char ch = text[p];
      int digit;
      if (ch >= '0' && ch <= '9') {
        digit = ch - '0';
      } else if (hex && ch >= 'a' && ch <= 'f') {
        digit = ch - 'a' + 10;
      } else if (hex && ch >= 'A' && ch <= 'F') {
        digit = ch - 'A' + 10;
      } else {
        break;
      }
      value = value * (hex ? 16 : 10) + digit;
      ++p;
    }
    if (p > firstDigit && p < text.size() && text[p] == ';' && value != 0 && IsScalarValue(value)) {
      AppendUtf8(out, value);
      i = p + 1;
    } else {
      out += '&';
      i = amp + 1;
    }
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

std::string NumericReference(char32_t codePoint) {
  return "&#" + std::to_string(static_cast<uint32_t>(codePoint)) + ";";
}

}  // namespace orves
