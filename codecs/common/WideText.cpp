#include "codecs/common/WideText.h"

namespace orves::codecs {

std::wstring WideFromUtf8(std::string_view text) {
  std::wstring wide;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80             ? 1
                       : (lead & 0xE0) == 0xC0 ? 2
                       : (lead & 0xF0) == 0xE0 ? 3
                       : (lead & 0xF8) == 0xF0 ? 4
                                               : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && c >= kMinimum[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (!valid) {
      c = 0xFFFD;
      i += 1;
    } else {
      i += static_cast<std::size_t>(length);
    }
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0x10000) {
        c -= 0x10000;
        wide += static_cast<wchar_t>(0xD800 + (c >> 10));
        wide += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        continue;
      }
    }
    wide += static_cast<wchar_t>(c);
  }
  return wide;
}

}  // namespace orves::codecs
