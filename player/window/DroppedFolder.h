#pragma once
// What a dropped path stands for in the playlist: a folder stands for the
// movies directly inside it, in natural order ("2.avi" before "10.avi");
// anything else stands for itself.
#include <string>
#include <string_view>
#include <vector>

#include "player/window/FileSystem.h"

namespace orves {

std::vector<std::string> ExpandDroppedPath(const IFileSystem& files, const std::string& path);

// Natural order of names: runs of digits compare by their value, everything
// else byte by byte with ASCII letters folded to lower case.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace orves
