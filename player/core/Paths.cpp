#include "player/core/Paths.h"

#include <algorithm>
#include <array>

#include "player/core/MediaFileTypes.h"

namespace orves {

namespace {

constexpr std::array<std::string_view, 3> kCaptionExtensions = {"smi", "sami", "smil"};
// A playlist counts as a movie when captions are paired with the movies of a
// folder.
constexpr std::string_view kListExtension = "list";

template <size_t N>
bool IsOneOf(std::string_view extension, const std::array<std::string_view, N>& list) {
  const std::string lower = LowerAscii(extension);
  return std::find(list.begin(), list.end(), lower) != list.end();
}

}  // namespace

std::string NearestExistingFolder(std::string_view path, const FolderExistsFn& folderExists) {
  std::string rest(path);
  while (!rest.empty()) {
    if (folderExists(rest)) {
      return rest;
    }
    const size_t slash = rest.rfind('\\');
    if (slash == std::string::npos) {
      break;
    }
    rest.resize(slash);
  }
  return "c:\\";
}

std::string BaseName(std::string_view path) {
  std::string name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    name.resize(dot);
  }
  return name;
}

std::string FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string ExtensionOf(std::string_view path) {
  const size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

bool IsCaptionExtension(std::string_view extension) { return IsOneOf(extension, kCaptionExtensions); }

bool IsMovieExtension(std::string_view extension) {
  const std::string lower = LowerAscii(extension);
  if (lower == kListExtension) return true;
  for (const MediaFileGroup& group : MediaFileGroups()) {
    if (group.kind != MediaKind::Movie) continue;
    if (std::find(group.extensions.begin(), group.extensions.end(), lower) != group.extensions.end())
      return true;
  }
  return false;
}

std::string ProgramFolderOf(std::string_view executablePath) { return FolderOf(executablePath); }

std::string BesideProgram(std::string_view programFolder, std::string_view fileName) {
  std::string path(programFolder);
  path += '\\';
  path += fileName;
  return path;
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace orves
