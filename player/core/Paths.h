#pragma once
// Path helpers shared by the shell, the playlist and the captions. Paths are
// Windows paths held as UTF-8 text; only the backslash separates folders. Nothing here touches the file
// system: callers that need to know whether something exists pass a predicate.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace orves {

using FolderExistsFn = std::function<bool(const std::string&)>;

// The folder to start a file dialog in: `path` itself when it names an
// existing folder, else `path` cut at its last backslash, again and again,
// until the rest names an existing folder; "c:\\" when nothing is left.
std::string NearestExistingFolder(std::string_view path, const FolderExistsFn& folderExists);

// The file name after the last backslash, up to (not including) its last dot.
std::string BaseName(std::string_view path);

// Everything after the last backslash (the file name with its extension).
std::string FileNameOf(std::string_view path);

// Everything before the last backslash; empty when there is none.
std::string FolderOf(std::string_view path);

// The text after the last dot of `path`; empty when it has no dot.
std::string ExtensionOf(std::string_view path);

// ASCII lower-casing of every byte. Meant for extensions, which are then
// compared with ASCII names: a lowered trail byte of a double-byte character
// can never make such a name match.
std::string LowerAscii(std::string_view text);

// "smi", "sami", "smil", compared after lower-casing.
bool IsCaptionExtension(std::string_view extension);

// The movie types the player lists and pairs with captions (the movie groups
// of MediaFileGroups, and "list"), compared after lower-casing.
bool IsMovieExtension(std::string_view extension);

// A file system path as UTF-8 text.
std::string PathToUtf8(const std::filesystem::path& path);

// The program folder: the executable's full path up to, not including, its
// last backslash, so it never ends in a backslash.
std::string ProgramFolderOf(std::string_view executablePath);

// program folder + "\\" + file name: every file the player keeps beside itself.
std::string BesideProgram(std::string_view programFolder, std::string_view fileName);

}  // namespace orves
