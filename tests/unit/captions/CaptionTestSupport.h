#pragma once
// Shared helpers of the caption tests.
#include <filesystem>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace orves::test {

inline std::filesystem::path CaptionData(const std::string& name) {
  return std::filesystem::path(ORVES_SOURCE_DIR) / "tests/data/captions" / name;
}

inline std::filesystem::path RealSamiFolder() {
  return std::filesystem::path(ORVES_SOURCE_DIR) / "../shared/realdata/sami";
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own below the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("orves-captions-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" +
             std::to_string(counter_++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

}  // namespace orves::test
