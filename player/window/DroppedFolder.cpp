#include "player/window/DroppedFolder.h"

#include <algorithm>
#include <system_error>

#include "player/core/Paths.h"

namespace orves {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

unsigned char Folded(char c) { return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

// The digit run starting at `from`, without its leading zeros.
std::string_view Number(std::string_view text, size_t& from) {
  while (from < text.size() && text[from] == '0') ++from;
  const size_t start = from;
  while (from < text.size() && IsDigit(text[from])) ++from;
  return text.substr(start, from - start);
}

// <0, 0, >0 by natural order; names equal by it compare 0.
int NaturalCompare(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::string_view x = Number(a, i);
      const std::string_view y = Number(b, j);
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int c = x.compare(y); c != 0) return c;
      continue;
    }
    if (Folded(a[i]) != Folded(b[j])) return Folded(a[i]) < Folded(b[j]) ? -1 : 1;
    ++i;
    ++j;
  }
  return (i < a.size()) - (j < b.size());
}

// A name inside `folder`; a drive's root ("C:\\") already ends in the separator.
std::string InFolder(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '\\' ? folder + name : folder + '\\' + name;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  const int c = NaturalCompare(a, b);
  // "01" and "1" are equal by value: byte order keeps the order strict.
  return c != 0 ? c < 0 : a < b;
}

// Lists are not movies here: a folder's .list files would bring their own
// entries in beside the folder's movies.
std::vector<std::string> ExpandDroppedPath(const IFileSystem& files, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_directory(files.ToFsPath(path), ec)) return {path};
  std::vector<std::string> names = files.ListFolder(path);
  std::erase_if(names, [&](const std::string& name) {
    const std::string extension = ExtensionOf(name);
    return !IsMovieExtension(extension) || LowerAscii(extension) == "list" ||
           std::filesystem::is_directory(files.ToFsPath(InFolder(path, name)), ec);
  });
  std::sort(names.begin(), names.end(), NaturalLess);
  std::vector<std::string> movies;
  movies.reserve(names.size());
  for (const std::string& name : names) movies.push_back(InFolder(path, name));
  return movies;
}

}  // namespace orves
