#include "player/captions/SamiWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "player/core/UnicodeText.h"

namespace orves {
namespace {

constexpr std::string_view kHeader =
    "<SAMI><HEAD><STYLE TYPE=\"text/css\"><!--\r\n"
    "P {text-align:center; font-size:25pt; font-family:\xB1\xBC\xB8\xB2; color:white;}\r\n"  // 굴림
    ".KRCC {Name:Korean; lang:Korean; SAMIType:CC;}\r\n"
    ".EGCC {Name:English; lang:English; SAMIType:CC;}\r\n"
    "--></Style></HEAD><BODY>\r\n\r\n";
constexpr std::string_view kFooter = "\r\n\r\n</BODY></SAMI>";

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view lowerNeedle) {
  return FindNoCase(text.substr(at, lowerNeedle.size()), lowerNeedle) == 0;
}

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

// Characters that would mean something to the reader are written as numeric
// references, which the reader decodes after it has used the markup: "<" and
// ">" (tags), "&" that starts an entity the reader knows, the "E" of a class
// marker (EGCC/ENCC in a Korean text would move the entry to English), the
// "=" of "color=" (a colour), and the blanks and line feeds at either end
// (the reader trims them).
bool NeedsReference(std::string_view text, size_t i, size_t firstVisible, size_t lastVisible) {
  const char c = text[i];
  if (c == '<' || c == '>') return true;
  if (c == '&') {
    return StartsWithNoCase(text, i, "&#") || StartsWithNoCase(text, i, "&nbsp") ||
           text.substr(i, 6) == "&quot;";
  }
  if (c == 'E') return text.substr(i, 4) == "EGCC" || text.substr(i, 4) == "ENCC";
  if (c == '=') return i >= 5 && StartsWithNoCase(text, i - 5, "color=");
  return IsBlankByte(c) && (i < firstVisible || i > lastVisible);
}

// `utf8` holds at least one byte above 32.
std::string EscapeMarkup(std::string_view utf8) {
  const size_t firstVisible = std::find_if_not(utf8.begin(), utf8.end(), IsBlankByte) - utf8.begin();
  const size_t lastVisible = utf8.rend() - std::find_if_not(utf8.rbegin(), utf8.rend(), IsBlankByte) - 1;
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (NeedsReference(utf8, i, firstVisible, lastVisible)) {
      out += NumericReference(static_cast<unsigned char>(utf8[i]));
    } else {
      out += utf8[i];
    }
  }
  return out;
}

// UTF-8 to CP949, character by character where the whole text does not
// convert, so that only the characters CP949 lacks become references.
std::string ToCp949(std::string_view utf8, ITextCodec& codec) {
  if (auto whole = codec.Utf8ToCp949(utf8)) return *whole;
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = std::max<size_t>(Utf8SequenceLength(utf8, i), 1);
    const std::string_view one = utf8.substr(i, n);
    if (auto converted = codec.Utf8ToCp949(one)) {
      out += *converted;
    } else {
      char32_t c = 0xFFFD;
      if (n > 1) {
        c = static_cast<unsigned char>(one[0]) & (0xFF >> (n + 1));
        for (size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(one[k]) & 0x3F);
      }
      out += NumericReference(c);
    }
    i += n;
  }
  return out;
}

bool IsBlank(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlankByte); }

void AppendEntries(std::string& out, const TSamiDocument& document, TCaptionLanguage language,
                   double syncOffset, ITextCodec& codec) {
  const char* paragraph = language == TCaptionLanguage::Korean ? "><P CLASS=KRCC>" : "><P CLASS=EGCC>";
  for (const TCaptionEntry& entry : document.Table(language)) {
    const auto ms = WrittenStartMilliseconds(entry.start, syncOffset);
    if (!ms) continue;
    out += "<SYNC START=";
    out += std::to_string(*ms);
    out += paragraph;
    if (entry.hasColour[0]) {
      out += "<Font Color=";
      out += ColourToHtml(entry.colour[0]);
      out += ">";
    }
    out += EncodeCaptionText(entry.text, codec);
    out += "\r\n";
  }
}

}  // namespace

std::string ColourToHtml(TColour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

std::optional<int64_t> WrittenStartMilliseconds(double start, double syncOffset) {
  const double ms = (start + syncOffset) * 1000;
  if (!std::isfinite(ms)) return std::nullopt;
  // Slack for the representation error of ms x 0.001 x 1000, which grows with
  // the value; far below a millisecond for any real start time.
  const double slack = 1e-6 + std::fabs(ms) * 1e-15;
  const double truncated = std::trunc(ms < 0 ? ms - slack : ms + slack);
  if (truncated < 0) return std::nullopt;
  return static_cast<int64_t>(truncated);
}

std::string EncodeCaptionText(const std::string& utf8, ITextCodec& codec) {
  if (IsBlank(utf8)) return "&nbsp;";
  const std::string bytes = ToCp949(EscapeMarkup(utf8), codec);
  std::string out;
  out.reserve(bytes.size() + 16);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == ' ' && i + 1 < bytes.size() && bytes[i + 1] == ' ') {
      out += " &nbsp;";
      ++i;
    } else if (bytes[i] == '\n') {
      out += "<br>";
    } else {
      out += bytes[i];
    }
  }
  return out;
}

std::string BuildSamiFile(const TSamiDocument& document, double syncOffset, ITextCodec& codec,
                          std::optional<TCaptionLanguage> only) {
  std::string out(kHeader);
  if (only != TCaptionLanguage::English) {
    AppendEntries(out, document, TCaptionLanguage::Korean, syncOffset, codec);
  }
  if (only != TCaptionLanguage::Korean) {
    AppendEntries(out, document, TCaptionLanguage::English, syncOffset, codec);
  }
  out += kFooter;
  return out;
}

TSaveResult SaveCaptionFile(const TSamiDocument& document, double syncOffset, ITextCodec& codec,
                            const std::filesystem::path& path) {
  return WriteCaptionFileBytes(path, BuildSamiFile(document, syncOffset, codec));
}

}  // namespace orves
