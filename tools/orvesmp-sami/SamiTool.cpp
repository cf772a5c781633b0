#include "tools/orvesmp-sami/SamiTool.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "player/captions/CaptionSaver.h"
#include "player/captions/CaptionView.h"
#include "player/captions/SamiDocument.h"
#include "player/captions/SamiWriter.h"
#include "player/core/UnicodeText.h"

namespace orves {
namespace {

constexpr const char* kUsage =
    "usage: orvesmp-sami dump FILE\n"
    "       orvesmp-sami at FILE SECONDS [--offset S] [--language Korean|English]\n"
    "       orvesmp-sami shift FILE SECONDS -o OUT\n"
    "       orvesmp-sami convert IN OUT [--lang ko|en] [--offset S]\n"
    "\n"
    "  FILE and IN may be SAMI (.smi), SubRip (.srt), WebVTT (.vtt) or ASS/SSA (.ass, .ssa).\n"
    "  dump     print the captions of FILE as JSON\n"
    "  at       print the caption shown at playback position SECONDS with sync offset S\n"
    "  shift    save FILE with every start moved by SECONDS to OUT, in FILE's format\n"
    "           (entries moved before the start are dropped)\n"
    "  convert  write the captions of IN to OUT as SubRip, WebVTT or SAMI by OUT's\n"
    "           extension, moved by S seconds; --lang picks the table (default: the\n"
    "           one the player shows first; SAMI without --lang: both)\n"
    "Exit status: 0 success, 1 a file cannot be read or written, 2 bad arguments.\n";

struct UsageError {
  std::string message;
};

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<double> ParseNumber(const std::string& text) {
  const char* begin = text.c_str();
  if (*begin == '+' && begin[1] != '-') ++begin;
  double value = 0;
  const auto [end, ec] = std::from_chars(begin, text.c_str() + text.size(), value);
  if (ec != std::errc() || end != text.c_str() + text.size() || begin == end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// A minus sign followed by a digit (or a point) is a negative number, not an option.
bool IsOption(const std::string& arg) {
  if (arg.size() < 2 || arg[0] != '-') return false;
  const char next = arg[1];
  return !((next >= '0' && next <= '9') || next == '.');
}

struct Arguments {
  std::vector<std::string> positional;
  std::optional<std::string> offset, language, output, lang;
};

Arguments Split(const std::vector<std::string>& args) {
  Arguments parsed;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!IsOption(arg)) {
      parsed.positional.push_back(arg);
      continue;
    }
    std::string name = arg;
    std::optional<std::string> value;
    if (const size_t eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    std::optional<std::string>* slot = name == "--offset"                   ? &parsed.offset
                                       : name == "--language"               ? &parsed.language
                                       : name == "--lang"                   ? &parsed.lang
                                       : name == "-o" || name == "--output" ? &parsed.output
                                                                            : nullptr;
    if (!slot) throw UsageError{"unknown option " + arg};
    if (!value) {
      if (i + 1 >= args.size()) throw UsageError{"option " + name + " needs a value"};
      value = args[++i];
    }
    *slot = value;
  }
  return parsed;
}

double Number(const std::string& text, const char* what) {
  const auto value = ParseNumber(text);
  if (!value) throw UsageError{std::string(what) + " is not a number: " + text};
  return *value;
}

void ExpectPositional(const Arguments& args, size_t count) {
  if (args.positional.size() != count) throw UsageError{"wrong number of arguments"};
}

void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  size_t plain = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) continue;
    out.append(utf8, plain, i - plain);
    plain = i + 1;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default: {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        out += escaped;
      }
    }
  }
  out.append(utf8, plain, utf8.size() - plain);
  out += '"';
}

std::string JsonString(std::string_view utf8) {
  std::string out;
  AppendJsonString(out, utf8);
  return out;
}

std::string JsonNumber(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// Bold and italic lines and top placement are listed only when an entry has
// them (SAMI entries never do).
void AppendFlags(std::string& out, const char* name, const std::array<bool, kStyledLines>& flags) {
  if (std::find(flags.begin(), flags.end(), true) == flags.end()) return;
  out += ", \"";
  out += name;
  out += "\": [";
  for (size_t k = 0; k < flags.size(); ++k) {
    out += k ? ", " : "";
    out += flags[k] ? "true" : "false";
  }
  out += ']';
}

// JSON is built in pieces of about this size and written piece by piece: a
// large file gives megabytes of it.
constexpr size_t kJsonPiece = 1 << 16;

void Flush(std::string& json, std::ostream& stream) {
  stream.write(json.data(), static_cast<std::streamsize>(json.size()));
  json.clear();
}

void AppendEntries(std::string& out, std::ostream& stream, const TSamiDocument& document,
                   TCaptionLanguage language) {
  out += '[';
  const auto& table = document.Table(language);
  for (size_t i = 0; i < table.size(); ++i) {
    const TCaptionEntry& entry = table[i];
    out += i ? ",\n    {\"start\": " : "\n    {\"start\": ";
    out += JsonNumber(entry.start);
    out += ", \"text\": ";
    AppendJsonString(out, entry.text);
    out += ", \"colors\": [";
    for (size_t k = 0; k < 3; ++k) {
      if (k > 0) out += ", ";
      if (entry.hasColour[k]) {
        AppendJsonString(out, ColourToHtml(entry.colour[k]));
      } else {
        out += "null";
      }
    }
    out += ']';
    AppendFlags(out, "bold", entry.bold);
    AppendFlags(out, "italic", entry.italic);
    if (entry.top) out += ", \"top\": true";
    out += '}';
    if (out.size() >= kJsonPiece) Flush(out, stream);
  }
  out += table.empty() ? "]" : "\n  ]";
}

class Tool {
 public:
  Tool(ITextCodec& codec, std::ostream& out, std::ostream& err) : codec_(codec), out_(out), err_(err) {}

  int Run(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
      if (arg == "--help" || arg == "-h") {
        out_ << kUsage;
        return kToolOk;
      }
    }
    try {
      if (args.empty()) throw UsageError{"no command given"};
      const Arguments parsed = Split(args);
      if (args[0] == "dump") return Dump(parsed);
      if (args[0] == "at") return At(parsed);
      if (args[0] == "shift") return Shift(parsed);
      if (args[0] == "convert") return Convert(parsed);
      throw UsageError{"unknown command " + args[0]};
    } catch (const UsageError& error) {
      err_ << "orvesmp-sami: " << SanitizeUtf8(error.message) << "\n" << kUsage;
      return kToolUsageError;
    }
  }

 private:
  bool Load(TSamiDocument& document, const std::string& file) {
    if (document.LoadCaptionFile(PathFromUtf8(file)).loaded) return true;
    err_ << "orvesmp-sami: cannot read caption file \"" << SanitizeUtf8(file) << "\"\n";
    return false;
  }

  int Dump(const Arguments& args) {
    ExpectPositional(args, 1);
    if (args.offset || args.language || args.output || args.lang) throw UsageError{"dump takes no options"};
    TSamiDocument document(codec_);
    if (!Load(document, args.positional[0])) return kToolFileError;
    const int korean = document.Count(TCaptionLanguage::Korean);
    const int english = document.Count(TCaptionLanguage::English);
    std::string json;
    json.reserve(kJsonPiece * 2);
    json += "{\"file\": " + JsonString(SanitizeUtf8(args.positional[0]));
    json += ",\n  \"encoding\": " + JsonString(EncodingName(document.Encoding()));
    json += ",\n  \"language\": " + JsonString(LanguageName(ChooseLoadLanguage(korean, english)));
    json += ",\n  \"dropped\": {\"korean\": " + std::to_string(document.Dropped(TCaptionLanguage::Korean));
    json += ", \"english\": " + std::to_string(document.Dropped(TCaptionLanguage::English)) +
            "},\n  \"korean\": ";
    AppendEntries(json, out_, document, TCaptionLanguage::Korean);
    json += ",\n  \"english\": ";
    AppendEntries(json, out_, document, TCaptionLanguage::English);
    json += "}\n";
    Flush(json, out_);
    return kToolOk;
  }

  int At(const Arguments& args) {
    ExpectPositional(args, 2);
    if (args.output || args.lang) throw UsageError{"at takes only --offset and --language"};
    const double position = Number(args.positional[1], "SECONDS");
    const double offset =
        std::clamp(args.offset ? Number(*args.offset, "--offset") : 0.0, -kMaxSyncOffset, kMaxSyncOffset);
    const std::optional<TCaptionLanguage> chosen =
        LanguageArgument(args.language, "Korean", "English", "--language must be Korean or English");
    TSamiDocument document(codec_);
    if (!Load(document, args.positional[0])) return kToolFileError;
    const TCaptionLanguage language = chosen.value_or(ShownLanguage(document));
    const auto& table = document.Table(language);
    const int index = FindCurrentEntry(table, position, offset);
    // An empty entry is how a caption file ends a caption: nothing is shown.
    const bool shown = index >= 0 && !table[index].text.empty();
    out_ << "{\"language\": " << JsonString(LanguageName(language))
         << ", \"index\": " << (shown ? std::to_string(index) : "null")
         << ", \"text\": " << (shown ? JsonString(table[index].text) : "null") << "}\n";
    return kToolOk;
  }

  int Shift(const Arguments& args) {
    ExpectPositional(args, 2);
    if (!args.output) throw UsageError{"shift needs -o OUT"};
    if (args.offset || args.language || args.lang) throw UsageError{"shift takes only -o"};
    const double offset = std::clamp(Number(args.positional[1], "SECONDS"), -kMaxSyncOffset, kMaxSyncOffset);
    TSamiDocument document(codec_);
    if (!Load(document, args.positional[0])) return kToolFileError;
    TCaptionWrite write;
    write.language = ShownLanguage(document);
    write.syncOffset = offset;
    return Write(BuildCaptionFile(document, write, codec_), *args.output);
  }

  int Convert(const Arguments& args) {
    ExpectPositional(args, 2);
    if (args.output || args.language) throw UsageError{"convert takes only --lang and --offset"};
    const std::string& target = args.positional[1];
    TCaptionWrite write;
    write.format = WrittenFormatOf(PathFromUtf8(target));
    write.keepLayout = false;
    if (!write.format || *write.format == TCaptionFormat::Ass) {
      throw UsageError{"OUT must end in .srt, .vtt or .smi: " + target};
    }
    write.syncOffset =
        std::clamp(args.offset ? Number(*args.offset, "--offset") : 0.0, -kMaxSyncOffset, kMaxSyncOffset);
    const std::optional<TCaptionLanguage> language =
        LanguageArgument(args.lang, "ko", "en", "--lang must be ko or en");
    TSamiDocument document(codec_);
    if (!Load(document, args.positional[0])) return kToolFileError;
    write.language = language.value_or(ShownLanguage(document));
    write.bothTables = !language;
    return Write(BuildCaptionFile(document, write, codec_), target);
  }

  // The table an option's value names, none without the option.
  static std::optional<TCaptionLanguage> LanguageArgument(const std::optional<std::string>& value,
                                                          std::string_view korean, std::string_view english,
                                                          const char* error) {
    if (!value) return std::nullopt;
    if (*value == korean) return TCaptionLanguage::Korean;
    if (*value == english) return TCaptionLanguage::English;
    throw UsageError{error};
  }

  static TCaptionLanguage ShownLanguage(const TSamiDocument& document) {
    return ChooseLoadLanguage(document.Count(TCaptionLanguage::Korean),
                              document.Count(TCaptionLanguage::English));
  }

  int Write(const std::string& bytes, const std::string& file) {
    const TSaveResult saved = WriteCaptionFileBytes(PathFromUtf8(file), bytes);
    if (!saved.ok) {
      err_ << "orvesmp-sami: " << saved.error << "\n";
      return kToolFileError;
    }
    return kToolOk;
  }

  ITextCodec& codec_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace

int RunSamiTool(const std::vector<std::string>& args, ITextCodec& codec, std::ostream& out,
                std::ostream& err) {
  return Tool(codec, out, err).Run(args);
}

}  // namespace orves
