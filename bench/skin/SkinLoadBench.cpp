// Loading a skin for a monitor's scale: the folder read and checked, then the
// skin made for the scale (once per load). At 200 % the load must stay within
// three times the load at 100 %; 150 % shows the cost of smooth resampling.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "player/window/Skin.h"
#include "player/window/SkinScale.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

// The skin folder's paths use backslashes, as on Windows.
struct DiskFiles final : IFileSystem {
  bool FileExists(const std::string& p) const override { return fs::exists(ToFsPath(p)); }
  std::vector<std::string> ListFolder(const std::string& folder) const override {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(ToFsPath(folder)))
      names.push_back(e.path().filename().string());
    return names;
  }
  int CompareNoCase(const std::string& a, const std::string& b) const override { return a.compare(b); }
  fs::path ToFsPath(const std::string& path) const override {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return fs::path(p);
  }
};

void BM_LoadDefaultSkin(benchmark::State& state) {
  const DiskFiles files;
  const DpiScale scale(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SkinData loaded;
    std::string error;
    if (!ReadSkinFolder(files, ORVES_BENCH_SKIN_FOLDER "/Default", loaded, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    SkinData scaled = ScaleSkin(loaded, scale);
    benchmark::DoNotOptimize(scaled);
  }
}
BENCHMARK(BM_LoadDefaultSkin)->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orves
