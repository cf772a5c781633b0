#pragma once
// TBookmarks: the resume positions in "Bookmark.ini" beside the program, one
// section "Bookmark", key = the movie's full file name as handed to the
// control, value = seconds as a real number ("1234.56"). The file is created
// by the first write. A read-only file is never written (checked at every
// write, so a user can protect the file while the player runs); reading
// still works from it.
//
// Movie names are UTF-8; the file is a profile file like the settings (ANSI
// while every name fits the code page, else UTF-16), so no two movies ever
// share one entry through a name narrowed to '?'.
#include <filesystem>
#include <string>
#include <string_view>

namespace orves {

// Seconds as a real number with '.' whatever the locale, shortest form that
// reads back to the same value ("600", "1234.56").
std::string FormatBookmarkValue(double seconds);
// A stored value; anything that is not a whole finite number reads as 0.
double ParseBookmarkValue(std::string_view text);

class TBookmarks {
 public:
  static constexpr const char* FileName = "Bookmark.ini";
  static constexpr const char* Section = "Bookmark";

  explicit TBookmarks(std::filesystem::path path) : path_(std::move(path)) {}

  void SetPath(std::filesystem::path path) { path_ = std::move(path); }

  const std::filesystem::path& Path() const { return path_; }
  bool Exists() const;
  // Does not exist yet, or exists without the read-only attribute.
  bool Writable() const;

  // The stored position of `movie`, 0 when there is none or it is garbage.
  double Read(const std::string& movie) const;
  // Skipped when not writable, and for a name that would break the file's
  // line structure (a line break in it).
  void Write(const std::string& movie, double seconds);

 private:
  std::filesystem::path path_;
};

}  // namespace orves
