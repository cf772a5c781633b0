#include "player/core/ProfileFile.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_set>
#include <vector>

#include "player/core/TextCodec.h"
#include "player/core/UnicodeText.h"

namespace orves {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// One line of the file as UTF-8 text, with its line ending kept.
struct Line {
  std::string text;    // without the line ending
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
  // The line's bytes in an ANSI file, written back as they were while the
  // line is not changed (a byte the code page does not define included);
  // none for a changed line and in a Unicode file.
  std::optional<std::string> bytes;
};

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::vector<Line> SplitLines(const std::string& text, bool ansi) {
  std::vector<Line> lines;
  size_t pos = 0;
  const auto add = [&](size_t end, std::string ending) {
    std::string raw = text.substr(pos, end - pos);
    if (!ansi) {
      lines.push_back({std::move(raw), std::move(ending), std::nullopt});
    } else {
      std::string utf8 = IsAscii(raw) ? raw : AnsiToUtf8(raw);
      lines.push_back({std::move(utf8), std::move(ending), std::move(raw)});
    }
  };
  while (pos < text.size()) {
    const size_t nl = text.find('\n', pos);
    if (nl == std::string::npos) {
      add(text.size(), "");
      break;
    }
    size_t end = nl;
    if (end > pos && text[end - 1] == '\r') --end;
    add(end, text.substr(end, nl + 1 - end));
    pos = nl + 1;
  }
  return lines;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A file with a byte-order mark is Unicode; any other is in the ANSI code page.
std::vector<Line> DecodeLines(const std::string& bytes) {
  if (StartsWith(bytes, kUtf16LeMark)) return SplitLines(Utf16ToUtf8(bytes.substr(2), false), false);
  if (StartsWith(bytes, kUtf16BeMark)) return SplitLines(Utf16ToUtf8(bytes.substr(2), true), false);
  if (StartsWith(bytes, kUtf8Mark)) return SplitLines(SanitizeUtf8(bytes.substr(3)), false);
  return SplitLines(bytes, true);
}

// The ANSI form while every line has one, else UTF-16LE with its mark.
std::string EncodeLines(const std::vector<Line>& lines) {
  std::string ansi;
  for (const Line& line : lines) {
    if (line.bytes) {
      ansi += *line.bytes;
    } else if (IsAscii(line.text)) {
      ansi += line.text;
    } else if (const std::optional<std::string> converted = Utf8ToAnsi(line.text)) {
      ansi += *converted;
    } else {
      std::string text;
      for (const Line& l : lines) text += l.text + l.ending;
      return std::string(kUtf16LeMark) + Utf8ToUtf16Le(text);
    }
    ansi += line.ending;
  }
  return ansi;
}

// "[name]" (blanks allowed around) gives the name; anything else is not a header.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.rfind(']');
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct Entry {
  std::string_view name;
  std::optional<std::string_view> value;  // none for a line without '='
};

Entry ParseEntry(std::string_view line) {
  line = Trim(line);
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {line, std::nullopt};
  return {Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string_view StripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

std::optional<std::string> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes through a temporary file beside the target and renames it over the
// target, so a failed or interrupted write never leaves a half-written file.
void ReplaceFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) std::filesystem::remove(temp, ec);
}

// Line index range [first, last) of the first section with this name; the
// header is at first - 1. Nothing when the section is missing.
struct SectionRange {
  size_t first;
  size_t last;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i].text);
    if (!name || !SameName(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end].text)) ++end;
    return SectionRange{i + 1, end};
  }
  return std::nullopt;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {
  writable_ = !IsReadOnly(path_);
}

bool ProfileFile::IsReadOnly(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return false;
  using std::filesystem::perms;
  // On Windows the read-only attribute shows as missing write bits; on Linux
  // the absence of every write bit counts as read-only even for root, who
  // could write the file anyway.
  return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
         perms::none;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;  // lower-case
  const auto bytes = ReadAll(path_);
  if (!bytes) return names;
  for (const Line& line : DecodeLines(*bytes)) {
    const auto name = SectionName(line.text);
    if (!name) continue;
    std::string key(*name);
    for (char& c : key) c = LowerAscii(c);
    if (seen.insert(std::move(key)).second) names.emplace_back(*name);
  }
  return names;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  const auto bytes = ReadAll(path_);
  if (!bytes) return std::string(def);
  const auto lines = DecodeLines(*bytes);
  const auto range = FindSection(lines, section);
  if (!range) return std::string(def);
  for (size_t i = range->first; i < range->last; ++i) {
    const Entry e = ParseEntry(lines[i].text);
    if (!SameName(e.name, key)) continue;
    if (!e.value) return std::string(def);
    return std::string(StripQuotes(*e.value));
  }
  return std::string(def);
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!writable_ || section.empty() || key.empty()) return;
  auto lines = DecodeLines(ReadAll(path_).value_or(std::string()));
  const std::string newline = "\r\n";
  const std::string entry = std::string(key) + "=" + std::string(value);

  const auto range = FindSection(lines, section);
  if (!range) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = newline;
    lines.push_back({"[" + std::string(section) + "]", newline, std::nullopt});
    lines.push_back({entry, newline, std::nullopt});
  } else {
    bool replaced = false;
    size_t lastFilled = range->first - 1;  // the header
    for (size_t i = range->first; i < range->last; ++i) {
      const Entry e = ParseEntry(lines[i].text);
      if (SameName(e.name, key)) {
        lines[i] = {std::string(e.name) + "=" + std::string(value), lines[i].ending, std::nullopt};
        replaced = true;
        break;
      }
      if (!Trim(lines[i].text).empty()) lastFilled = i;
    }
    if (!replaced) {
      // A new key goes after the section's last non-blank line, so blank
      // lines that separate sections stay where they are.
      if (lines[lastFilled].ending.empty()) lines[lastFilled].ending = newline;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1),
                   Line{entry, newline, std::nullopt});
    }
  }
  ReplaceFile(path_, EncodeLines(lines));
}

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace orves
