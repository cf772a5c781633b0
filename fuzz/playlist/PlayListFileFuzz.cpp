// Feeds arbitrary bytes to the playlist as a `.list` file. Every path ending
// in ".list" names that same file, so nested and self-naming lists are
// exercised too; the list must stay sorted, free of duplicates and caption
// files, and within its capacity.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/core/Paths.h"
#include "player/core/Setup.h"
#include "player/window/PlayList.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
  static const fs::path folder = [] {
    fs::path dir = fs::temp_directory_path() / "orves-playlist-fuzz";
    fs::create_directories(dir);
    return dir;
  }();
  return folder;
}

class OneListFile : public orves::IFileSystem {
 public:
  bool FileExists(const std::string& path) const override {
    return orves::LowerAscii(orves::ExtensionOf(path)) == "list";
  }
  std::vector<std::string> ListFolder(const std::string&) const override { return {}; }
  int CompareNoCase(const std::string& a, const std::string& b) const override { return a.compare(b); }
  fs::path ToFsPath(const std::string&) const override { return Folder() / "fuzz.list"; }
};

class NoMedia : public orves::IPlayListMedia {
 public:
  bool OpenMovie(const std::string&, const std::vector<std::string>&) override { return true; }
  void CloseMedia() override {}
  bool SmartCaptionFinding() const override { return true; }
};

class NoPanel : public orves::IPlayListPanel, public orves::IStateText {
 public:
  int SetRows(const std::vector<std::string>& captions) override { return static_cast<int>(captions.size()); }
  orves::PlayListFrame Frame() const override { return {}; }
  void Place(const orves::PlayListPlace&) override {}
  void SetVisible(bool) override {}
  void ShowState(const std::string&, const std::string&) override {}
  void Tick() override {}
  bool ShowTime() const override { return false; }
  void SetShowTime(bool) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static OneListFile files;
  static NoMedia media;
  static NoPanel panel;
  static orves::TSetup setup(Folder() / "OrvesMP20.ini");
  static orves::TPlayList list(setup, "default.list", orves::TPlayListServices{files, media, panel, panel});
  {
    std::ofstream out(files.ToFsPath(""), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  list.Clear();
  list.Add("C:\\fuzz.list");
  if (list.Count() > orves::TPlayList::kCapacity) {
    std::abort();
  }
  for (int i = 0; i < list.Count(); ++i) {
    const std::string& entry = list.Entry(i);
    if (entry.empty() || orves::LowerAscii(orves::ExtensionOf(entry)) == "smi" ||
        (i > 0 && !(list.Entry(i - 1) < entry))) {
      std::abort();
    }
  }
  return 0;
}
