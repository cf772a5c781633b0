#include "player/captions/CaptionFileWriter.h"

#include <cstdio>
#include <fstream>
#include <random>
#include "player/core/Paths.h"

namespace orves {
namespace {

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path) {
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
  std::filesystem::path temporary = path;
  temporary += suffix;
  return temporary;
}

}  // namespace

TSaveResult WriteCaptionFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path temporary = TemporaryNameBeside(path);
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) {
      std::filesystem::remove(temporary, ec);
      return {false, "Cannot write caption file \"" + PathToUtf8(path) + "\""};
    }
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return {false, "Cannot write caption file \"" + PathToUtf8(path) + "\": " + ec.message()};
  }
  return {true, {}};
}

}  // namespace orves
