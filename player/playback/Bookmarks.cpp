#include "player/playback/Bookmarks.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "player/core/ProfileFile.h"

namespace orves {

std::string FormatBookmarkValue(double seconds) {
  if (!std::isfinite(seconds)) seconds = 0;
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, seconds);
  return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("0");
}

double ParseBookmarkValue(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value)) return 0;
  return value;
}

bool TBookmarks::Exists() const {
  std::error_code ec;
  return std::filesystem::is_regular_file(path_, ec);
}

bool TBookmarks::Writable() const { return !Exists() || !ProfileFile::IsReadOnly(path_); }

double TBookmarks::Read(const std::string& movie) const {
  if (movie.empty()) return 0;
  return ParseBookmarkValue(ProfileFile(path_).ReadString(Section, movie, "0"));
}

void TBookmarks::Write(const std::string& movie, double seconds) {
  if (movie.empty() || movie.find_first_of("\r\n") != std::string::npos) return;
  // A fresh ProfileFile takes its read-only decision now: the check is per write.
  ProfileFile file(path_);
  if (!file.Writable()) return;
  file.WriteString(Section, movie, FormatBookmarkValue(seconds));
}

}  // namespace orves
