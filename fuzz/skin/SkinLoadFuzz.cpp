// Feeds arbitrary bytes to the skin loader. The input is a 2-byte length, that
// many bytes of INI text used for all four INI files of a skin folder, and
// the rest as the bytes of every bitmap of the folder (the eleven frame
// pieces and one thumb per bar section). A load either succeeds with tables
// within their capacities or keeps the skin empty; placing texts and thumbs
// afterwards must stay within the window's arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "player/core/ProfileFile.h"
#include "player/core/Setup.h"
#include "player/window/Skin.h"
#include "tests/unit/window/SkinFakes.h"

namespace {

namespace fs = std::filesystem;

struct FolderFiles final : orves::IFileSystem {
  fs::path root = fs::temp_directory_path() / "orves-skin-fuzz";
  bool FileExists(const std::string& p) const override { return fs::exists(ToFsPath(p)); }
  std::vector<std::string> ListFolder(const std::string&) const override { return {"Fuzz"}; }
  int CompareNoCase(const std::string& a, const std::string& b) const override { return a.compare(b); }
  fs::path ToFsPath(const std::string& path) const override {
    std::string p = path;
    for (char& c : p) c = c == '\\' ? '/' : c;
    return root / p;
  }
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Bar thumbs are named after the sections; only plain names make files.
bool PlainName(const std::string& name) {
  return !name.empty() && name.size() < 64 && name.find_first_of("/\\:.*?\"<>|") == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FolderFiles files;
  static orves::TSetup setup(files.root / "OrvesMP20.ini");
  if (size < 2) return 0;
  const size_t iniSize = std::min<size_t>(size - 2, data[0] | data[1] << 8);
  const std::string ini(reinterpret_cast<const char*>(data) + 2, iniSize);
  const std::string bitmap(reinterpret_cast<const char*>(data) + 2 + iniSize, size - 2 - iniSize);

  const fs::path folder = files.root / "Skin" / "Fuzz";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"Texts.ini", "ClickAreas.ini", "BarAreas.ini", "Skin.ini"})
    WriteFile(folder / name, ini);
  for (int i = 0; i < orves::kFramePieces; ++i) {
    WriteFile(folder / orves::FramePieceFile(static_cast<orves::FramePiece>(i)), bitmap);
  }
  for (const std::string& section : orves::ProfileFile(folder / "BarAreas.ini").SectionNames()) {
    if (PlainName(section)) WriteFile(folder / ("Bar" + section + ".bmp"), bitmap);
  }

  orves::testing::FakeSkinWindow window;
  window.open = data[0] & 1;
  window.position = data[1];
  window.duration = data[0];
  window.volume = -static_cast<int>(size % 4000);
  orves::TSkin skin(setup, files, "Skin", window.Services());
  skin.LoadSkin("Fuzz");
  if (skin.Texts().size() > orves::kMaxSkinTexts || skin.ClickAreas().size() > orves::kMaxClickAreas ||
      skin.BarAreas().size() > orves::kMaxBarAreas || skin.Data().thumbs.size() != skin.BarAreas().size() ||
      (skin.Name().empty() && window.applied != 0)) {
    std::abort();
  }
  skin.PaintTexts();
  skin.PlaceThumbs();
  for (int i = 0; i < static_cast<int>(skin.BarAreas().size()); ++i) {
    int low = 0;
    int high = 0;
    skin.ThumbLimits(i, low, high);
    skin.MoveThumb(i, high);
    int x = 0;
    int y = 0;
    skin.ThumbReleasePoint(i, x, y);
  }
  orves::SkinBitmap decoded;
  std::string error;
  orves::DecodeBmp(bitmap, decoded, error);
  return 0;
}
