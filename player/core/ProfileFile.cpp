#include "player/core/ProfileFile.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_set>
#include <vector>

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

// One line of the file, with its line ending kept so untouched lines are
// written back byte for byte.
struct Line {
  std::string text;    // without the line ending
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    if (nl == std::string::npos) {
      lines.push_back({bytes.substr(pos), ""});
      break;
    }
    size_t end = nl;
    if (end > pos && bytes[end - 1] == '\r') --end;
    lines.push_back({bytes.substr(pos, end - pos), bytes.substr(end, nl + 1 - end)});
    pos = nl + 1;
  }
  return lines;
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
  for (const Line& line : SplitLines(*bytes)) {
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
  const auto lines = SplitLines(*bytes);
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
  std::string bytes = ReadAll(path_).value_or(std::string());
  auto lines = SplitLines(bytes);
  const std::string newline = "\r\n";
  const std::string entry = std::string(key) + "=" + std::string(value);

  const auto range = FindSection(lines, section);
  if (!range) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = newline;
    lines.push_back({"[" + std::string(section) + "]", newline});
    lines.push_back({entry, newline});
  } else {
    bool replaced = false;
    size_t lastFilled = range->first - 1;  // the header
    for (size_t i = range->first; i < range->last; ++i) {
      const Entry e = ParseEntry(lines[i].text);
      if (SameName(e.name, key)) {
        lines[i].text = std::string(e.name) + "=" + std::string(value);
        replaced = true;
        break;
      }
      if (!Trim(lines[i].text).empty()) lastFilled = i;
    }
    if (!replaced) {
      // A new key goes after the section's last non-blank line, so blank
      // lines that separate sections stay where they are.
      if (lines[lastFilled].ending.empty()) lines[lastFilled].ending = newline;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1), Line{entry, newline});
    }
  }

  std::string out;
  out.reserve(bytes.size() + entry.size() + section.size() + 8);
  for (const auto& line : lines) {
    out += line.text;
    out += line.ending;
  }
  ReplaceFile(path_, out);
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
