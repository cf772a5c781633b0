#pragma once
// orvesmp-sami: the caption engine without a window, for inspecting and
// fixing caption files in batch. Arguments and output are UTF-8.
#include <ostream>
#include <string>
#include <vector>

namespace orves {

class ITextCodec;

// Exit statuses.
inline constexpr int kToolOk = 0;
inline constexpr int kToolFileError = 1;
inline constexpr int kToolUsageError = 2;

// Runs one command; `args` excludes the program name.
int RunSamiTool(const std::vector<std::string>& args, ITextCodec& codec, std::ostream& out,
                std::ostream& err);

}  // namespace orves
