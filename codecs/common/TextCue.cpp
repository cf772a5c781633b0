#include "codecs/common/TextCue.h"

#include <string_view>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace orves::codecs {

namespace {

// Drops `count` comma-separated fields; the text itself may hold commas.
std::string_view AfterFields(std::string_view event, int count) {
  for (int i = 0; i < count; ++i) {
    const std::size_t comma = event.find(',');
    if (comma == std::string_view::npos) return {};
    event.remove_prefix(comma + 1);
  }
  return event;
}

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

constexpr char32_t kReplacement = 0xFFFD;

// Valid UTF-8 of `bytes`: each byte that does not start a well-formed
// sequence (overlong, surrogate, beyond U+10FFFF, cut short) becomes U+FFFD.
std::string ValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, c = lead & 0x07, minimum = 0x10000;
    }
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= bytes.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    valid = valid && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (valid) {
      out.append(bytes.substr(i, static_cast<std::size_t>(length)));
      i += static_cast<std::size_t>(length);
    } else {
      AppendUtf8(out, kReplacement);
      ++i;
    }
  }
  return out;
}

std::string Utf16BeToUtf8(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                       static_cast<unsigned char>(bytes[i + 1]));
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 2]) << 8 |
                                                 static_cast<unsigned char>(bytes[i + 3]));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : c);
  }
  return out;
}

std::string_view TimedTextString(std::string_view sample, bool& utf16) {
  if (sample.size() < 2) return {};
  const std::size_t length = static_cast<std::size_t>(static_cast<unsigned char>(sample[0]) << 8 |
                                                      static_cast<unsigned char>(sample[1]));
  std::string_view text = sample.substr(2, length);
  utf16 = text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFE &&
          static_cast<unsigned char>(text[1]) == 0xFF;
  if (utf16) text.remove_prefix(2);
  return text;
}

}  // namespace

std::string CueText(int codecId, const std::uint8_t* data, std::size_t size) {
  std::string_view payload(reinterpret_cast<const char*>(data), data != nullptr ? size : 0);
  std::string text;
  switch (codecId) {
    case AV_CODEC_ID_ASS:
    case AV_CODEC_ID_SSA:
      // "Dialogue: Layer,Start,End,..." lines carry one field more than the
      // "ReadOrder,Layer,Style,..." events Matroska and FFmpeg store.
      text = ValidUtf8(payload.starts_with("Dialogue:") ? AfterFields(payload, 9) : AfterFields(payload, 8));
      break;
    case AV_CODEC_ID_MOV_TEXT: {
      bool utf16 = false;
      const std::string_view string = TimedTextString(payload, utf16);
      text = utf16 ? Utf16BeToUtf8(string) : ValidUtf8(string);
      break;
    }
    default:
      text = ValidUtf8(payload);
      break;
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '\0'))
    text.pop_back();
  return text;
}

}  // namespace orves::codecs
