// zmsp-process: runs a WAV file through the sound processor filter with the
// given settings and writes the result, so the effect of settings can be heard.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "soundproc/contract/Settings.h"
#include "tools/zmsp-process/ProcessRunner.h"
#include "tools/zmsp-process/WavFile.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRefused = 3;

const char kUsage[] =
    "usage: zmsp-process IN.wav OUT.wav [--set \"SUBKEY/VALUE=NUMBER\"]... [--source NAME]\n"
    "                    [--file-name NAME] [--levels]\n"
    "  --set        a DWORD setting; SUBKEY is \"Channel Control\", \"Channel Expander\",\n"
    "               \"Time Stretcher\", \"Sound Meter\", \"Sound Processor\" or empty (root key)\n"
    "  --source     upstream subtype: mp3 wma vorbis ac3 mpeg1 mpeg2 lpcm dts sdds wave unknown\n"
    "  --file-name  the file name the filter's file-source lookup finds\n"
    "  --levels     print the sound meter's last levels as a JSON array\n"
    "Reads and writes 16- and 32-bit PCM WAV (plain or extensible). Exit status: 0 done,\n"
    "1 a file cannot be read or written, 2 bad arguments, 3 the filter refuses to be\n"
    "created (no stage switched on) or refuses the input connection.\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "zmsp-process: %s (see --help)\n", problem.c_str());
  return kExitUsage;
}

// Decimal (with an optional minus) or 0x hexadecimal, fitting 32 bits.
bool ParseNumber(const std::string& text, std::uint32_t& value) {
  if (text.empty()) return false;
  const bool negative = text[0] == '-';
  std::string digits = negative ? text.substr(1) : text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits = digits.substr(2);
  }
  if (digits.empty() || digits.size() > 10) return false;
  for (char c : digits) {
    if (!(base == 16 ? std::isxdigit(static_cast<unsigned char>(c))
                     : std::isdigit(static_cast<unsigned char>(c)))) {
      return false;
    }
  }
  const unsigned long long magnitude = std::strtoull(digits.c_str(), nullptr, base);
  if (negative ? magnitude > 0x80000000ULL : magnitude > 0xFFFFFFFFULL) return false;
  value = static_cast<std::uint32_t>(negative ? (0ULL - magnitude) : magnitude);
  return true;
}

bool ApplySet(const std::string& spec, zmsp::MemorySettingsStore& store) {
  const std::size_t slash = spec.find('/');
  const std::size_t equals = spec.find('=', slash == std::string::npos ? 0 : slash);
  if (slash == std::string::npos || equals == std::string::npos) return false;
  const std::string subkey = spec.substr(0, slash);
  const std::string name = spec.substr(slash + 1, equals - slash - 1);
  static const char* const kSubkeys[] = {"Channel Control", "Channel Expander", "Time Stretcher",
                                         "Sound Meter", "Sound Processor"};
  bool known = subkey.empty();
  for (const char* candidate : kSubkeys) known = known || subkey == candidate;
  std::uint32_t value = 0;
  if (!known || name.empty() || !ParseNumber(spec.substr(equals + 1), value)) return false;
  store.SetDword(subkey.empty() ? zmsp::keys::kRoot : zmsp::keys::kRoot + "\\" + subkey, name, value);
  return true;
}

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const std::size_t length = std::mbstowcs(wide.data(), text.c_str(), wide.size());
  if (length == static_cast<std::size_t>(-1)) return std::wstring(text.begin(), text.end());
  wide.resize(length);
  return wide;
}

// The samples of a WAVE file, read in pieces.
class FileInput final : public zmsp::process::Input {
 public:
  bool Open(const std::string& path, std::string& error) { return reader_.Open(path, error); }
  zmsp::wav::Format Format() const override { return reader_.GetFormat(); }
  bool Read(std::uint8_t* into, std::size_t size, std::size_t& got) override {
    return reader_.Read(into, size, got);
  }

 private:
  zmsp::wav::FileReader reader_;
};

// The filter's output written to a WAVE file as it is delivered.
class FileOutput final : public zmsp::process::Output {
 public:
  explicit FileOutput(std::string path) : path_(std::move(path)) {}
  bool Begin(const zmsp::wav::Format& format) override {
    started_ = true;
    return writer_.Open(path_, format);
  }
  bool Write(const std::uint8_t* data, std::size_t size) override { return writer_.Append(data, size); }
  bool Finish(const zmsp::wav::Format& format) { return writer_.Finish(format); }
  // Removes what was written of a run that failed.
  void Discard() {
    writer_.Close();
    if (started_) std::remove(path_.c_str());
  }

 private:
  std::string path_;
  zmsp::wav::StreamWriter writer_;
  bool started_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  std::vector<std::string> positional;
  zmsp::MemorySettingsStore store;
  zmsp::process::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* option) -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      (void)option;
      return std::string(argv[++i]);
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    } else if (arg == "--set") {
      auto spec = value("--set");
      if (!spec) return Usage("--set needs \"SUBKEY/VALUE=NUMBER\"");
      if (!ApplySet(*spec, store)) return Usage("bad --set \"" + *spec + "\"");
    } else if (arg == "--source") {
      auto name = value("--source");
      if (!name ||
          !zmsp::process::SourceSubtypeByName(*name, options.sourceSubtype, options.sourceMajorType)) {
        return Usage("--source needs one of mp3 wma vorbis ac3 mpeg1 mpeg2 lpcm dts sdds wave unknown");
      }
    } else if (arg == "--file-name") {
      auto name = value("--file-name");
      if (!name) return Usage("--file-name needs a name");
      options.fileName = Widen(*name);
    } else if (arg == "--levels") {
      options.measureLevels = true;
    } else if (arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]))) {
      return Usage("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return Usage("expected IN.wav and OUT.wav");

  FileInput input;
  std::string error;
  if (!input.Open(positional[0], error)) {
    std::fprintf(stderr, "zmsp-process: %s: %s\n", positional[0].c_str(), error.c_str());
    return kExitFile;
  }

  FileOutput output(positional[1]);
  zmsp::process::Result result = zmsp::process::Run(input, store, options, output);
  if (result.outcome != zmsp::process::Outcome::Done) output.Discard();
  if (result.outcome == zmsp::process::Outcome::FilterRefused ||
      result.outcome == zmsp::process::Outcome::ConnectionRefused) {
    std::fprintf(stderr, "zmsp-process: %s\n", result.message.c_str());
    return kExitRefused;
  }
  if (result.outcome != zmsp::process::Outcome::Done) {
    std::fprintf(stderr, "zmsp-process: %s\n", result.message.c_str());
    return kExitFile;
  }
  if (!output.Finish(result.outputFormat)) {
    std::fprintf(stderr, "zmsp-process: cannot write %s\n", positional[1].c_str());
    return kExitFile;
  }
  if (options.measureLevels) {
    std::string json = "[";
    for (std::size_t c = 0; c < result.levels.size(); ++c) {
      json += (c == 0 ? "" : ",") + std::to_string(result.levels[c]);
    }
    std::printf("%s]\n", json.c_str());
  }
  return kExitOk;
}
