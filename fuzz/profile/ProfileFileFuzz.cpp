// Fuzz target for the profile (INI) file: any bytes read without a fault, and
// a value written to any file reads back as written, whatever surrounds it and
// whichever encoding the file ends up in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "player/core/ProfileFile.h"

namespace {

std::filesystem::path ScratchFile() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("orves-profile-fuzz-" + std::to_string(getpid()) + ".ini");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto path = ScratchFile();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

  orves::ProfileFile file(path);
  for (const char* section : {"Main", "main", "Media", ""}) {
    for (const char* key : {"Top", "Volume", "", "x"}) (void)file.ReadString(section, key, "default");
  }

  // A plain value written anywhere reads back exactly.
  file.WriteString("Media", "Volume", "-1234");
  if (file.ReadString("MEDIA", "volume", "none") != "-1234") std::abort();
  file.WriteString("Fuzz Section", "Key", "value with spaces");
  if (file.ReadString("fuzz section", "KEY", "none") != "value with spaces") std::abort();
  if (file.ReadString("Media", "Volume", "none") != "-1234") std::abort();
  // So does a name the ANSI code page has no form for (the file turns UTF-16).
  file.WriteString("Fuzz Section", "Name", "\xE0\xB8\x81 \xED\x95\x9C");
  if (file.ReadString("fuzz section", "name", "none") != "\xE0\xB8\x81 \xED\x95\x9C") std::abort();
  if (file.ReadString("Media", "Volume", "none") != "-1234") std::abort();
  return 0;
}
