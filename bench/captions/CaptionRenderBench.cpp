// The caption tick path: UpdateCaption while the same caption stays on screen
// (entry lookup and the unchanged-text test), and the portable layout of a
// changed two-line caption in a 640-pixel panel. The GDI half of a change is
// timed under Wine by CaptionPanelTiming_win32.cpp.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "player/captions/CaptionLayout.h"
#include "player/captions/CaptionView.h"
#include "player/core/Setup.h"
#include "tests/unit/core/NullServices.h"

namespace orves {
namespace {

// The renderer's portable part: skip an unchanged caption, lay out a changed one.
struct LayoutRenderer : ICaptionRenderer {
  explicit LayoutRenderer(ITextCodec& codec) : codec(codec) {}
  void RenderCaption(const TCaptionEntry& entry) override {
    if (entry.text.empty()) return HideCaption();
    if (!cache.Changed(entry.text, 640)) return;
    benchmark::DoNotOptimize(PlanCaption(entry, TCaptionSettings(), CaptionArea{640, 480, 640}, codec));
    ++drawn;
  }
  void HideCaption() override { cache.Hidden(); }
  void ForgetLastWidth() override { cache.Forget(); }
  ITextCodec& codec;
  CaptionRedrawCache cache;
  int drawn = 0;
};

struct PlayingMedia : testing::NullMedia {
  int PictureWidth() const override { return 640; }
  int PictureHeight() const override { return 480; }
  bool CaptionsOn() const override { return true; }
  double CurrentPosition() const override { return 1000.5; }
};

struct VisibleLayout : testing::NullLayout {
  bool CaptionPanelVisible() const override { return true; }
};

struct NoMessageBox : IMessageBox {
  void ShowInformation(const std::string&, const std::string&) override {}
};

// 2000 two-line Korean entries, one a second.
std::string CaptionFile() {
  std::string file = "<SAMI><BODY>\r\n";
  for (int i = 0; i < 2000; ++i) {
    file += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=KRCC>자막 첫째 줄 " + std::to_string(i) +
            "<br>둘째 줄입니다\r\n";
  }
  return file + "</BODY></SAMI>\r\n";
}

void UpdateCaptionUnchanged(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "orves-caption-bench";
  std::filesystem::create_directories(folder);
  { std::ofstream(folder / "movie.smi", std::ios::binary) << CaptionFile(); }
  const auto codec = MakeSystemTextCodec();
  TSetup setup(folder / "OrvesMP20.ini");
  testing::NullStateText stateText;
  LayoutRenderer renderer(*codec);
  VisibleLayout layout;
  PlayingMedia media;
  NoMessageBox messageBox;
  TCaptionView view(setup, *codec, TCaptionViewServices{stateText, renderer, layout, media, messageBox});
  view.LoadCaptionFile(folder / "movie.smi");
  view.UpdateCaption();
  for (auto _ : state) view.UpdateCaption();
  state.counters["drawn"] = renderer.drawn;
  std::filesystem::remove_all(folder);
}
BENCHMARK(UpdateCaptionUnchanged)->Unit(benchmark::kNanosecond);

void LayoutTwoLineCaption(benchmark::State& state) {
  const auto codec = MakeSystemTextCodec();
  TCaptionEntry entry;
  entry.text = "자막 첫째 줄입니다, 조금 긴 문장\n둘째 줄입니다";
  const TCaptionSettings settings;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlanCaption(entry, settings, CaptionArea{640, 480, 640}, *codec));
  }
}
BENCHMARK(LayoutTwoLineCaption)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orves
