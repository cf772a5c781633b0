#pragma once
// Large caption files for the benchmarks: 10,000 cues or entries each, with
// the markup real files carry (colours, italics, line breaks, blank entries).
#include <cstdio>
#include <string>

#include "player/captions/CaptionFormat.h"
#include "player/captions/SamiDocument.h"
#include "player/core/TextCodec.h"

namespace orves::bench {

inline constexpr int kCues = 10000;

inline std::string Clock(long long ms, char separator) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, separator, ms % 1000);
  return text;
}

inline std::string AssClock(long long ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                ms % 1000 / 10);
  return text;
}

// 10000 Korean entries of about 100 bytes each (about 1 MB), in CP949 or UTF-8:
// two lines, a font colour on every tenth entry, a blank entry now and then.
inline std::string MakeSamiFile(bool utf8) {
  const auto codec = MakeSystemTextCodec();
  const std::string hangul = "자막 시험 문장입니다";
  const std::string line = utf8 ? hangul : *codec->Utf8ToCp949(hangul);
  std::string file =
      "<SAMI>\r\n<HEAD><STYLE TYPE=\"text/css\"><!--\r\n.KRCC {Name:Korean; "
      "lang:ko-KR;}\r\n--></STYLE></HEAD>"
      "\r\n<BODY>\r\n";
  for (int i = 0; i < TSamiDocument::MaxEntries; ++i) {
    file += "<SYNC Start=" + std::to_string(1000 + i * 2500) + "><P Class=KRCC>\r\n";
    if (i % 7 == 6) {
      file += "&nbsp;\r\n";
      continue;
    }
    if (i % 10 == 0) file += "<font color=\"#FFFF00\">";
    file += line + " " + std::to_string(i) + "<br>\r\n" + line + " &quot;two&quot;  lines\r\n";
  }
  return file + "</BODY>\r\n</SAMI>\r\n";
}

// About 1.4 MB of UTF-8 as SubRip; the same cues in the other formats.
inline std::string MakeTimedFile(TCaptionFormat format) {
  std::string file =
      format == TCaptionFormat::WebVtt ? "WEBVTT\r\n\r\n"
      : format == TCaptionFormat::Ass
          ? "[Script Info]\r\nScriptType: v4.00+\r\n\r\n[Events]\r\nFormat: Layer, Start, End, "
            "Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n"
          : "";
  for (int i = 0; i < kCues; ++i) {
    const long long start = 1000 + i * 2500LL;
    const long long end = start + 2000;
    const std::string number = std::to_string(i + 1);
    const std::string first = "자막 시험 문장입니다 " + number;
    const std::string second = "The second line of cue " + number;
    if (format == TCaptionFormat::Ass) {
      file += "Dialogue: 0," + AssClock(start) + "," + AssClock(end) + ",Default,,0,0,0,," +
              (i % 10 == 0 ? "{\\c&H00FFFF&}" : "") + "{\\i1}" + first + "{\\i0}\\N" + second + "\r\n";
      continue;
    }
    const char separator = format == TCaptionFormat::WebVtt ? '.' : ',';
    if (format == TCaptionFormat::SubRip) file += number + "\r\n";
    file += Clock(start, separator) + " --> " + Clock(end, separator) + "\r\n";
    file += "<i>" + first + "</i>\r\n";
    if (i % 10 == 0) {
      file += format == TCaptionFormat::WebVtt ? "<c.yellow>" + second + "</c>\r\n"
                                               : "<font color=\"#FFFF00\">" + second + "</font>\r\n";
    } else {
      file += second + " with a few more words on it\r\n";
    }
    file += "\r\n";
  }
  return file;
}

}  // namespace orves::bench
