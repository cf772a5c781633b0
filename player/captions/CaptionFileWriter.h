#pragma once
// Writing a caption file safely: the bytes go to a temporary file beside the
// target, which then replaces it, so a failed save never leaves a
// half-written caption file behind.
#include <filesystem>
#include <string>
#include <string_view>

namespace orves {

struct TSaveResult {
  bool ok = false;
  std::string error;  // one line naming the file, UTF-8
};

TSaveResult WriteCaptionFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orves
