// Times the caption panel under Wine and prints the figures: a changed
// two-line caption in a 640-pixel panel drawn over the picture (line bitmaps,
// region and the repaint it causes) and in the band below it, and an
// unchanged one.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "player/captions/CaptionRenderer_win32.h"
#include "player/captions/CaptionView.h"
#include "player/core/Setup.h"
#include "tests/unit/core/NullServices.h"

namespace orves {
namespace {

struct Media640x480 : testing::NullMedia {
  int PictureWidth() const override { return 640; }
  int PictureHeight() const override { return 480; }
  bool CaptionsOn() const override { return true; }
};

struct NoMessageBox : IMessageBox {
  void ShowInformation(const std::string&, const std::string&) override {}
};

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int Run() {
  const auto folder = std::filesystem::temp_directory_path();
  HWND host = CreateWindowExW(0, L"STATIC", L"caption timing", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10,
                              10, 700, 600, nullptr, nullptr, nullptr, nullptr);
  HWND movie = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, host, nullptr,
                               nullptr, nullptr);
  const auto codec = MakeSystemTextCodec();
  TSetup setup(folder / "orves-caption-timing.ini");
  testing::NullStateText stateText;
  testing::NullLayout layout;
  Media640x480 media;
  NoMessageBox messageBox;
  testing::NullMediaPlayer stopped;
  LateBound<const TCaptionView> lateView;
  CaptionPanel panel(lateView, *codec, stopped);
  panel.Create(host, 1, movie);
  TCaptionView view(setup, *codec, TCaptionViewServices{stateText, panel, layout, media, messageBox});
  lateView.Bind(view);

  TCaptionEntry entries[2];
  entries[0].text = "자막 첫째 줄입니다, 조금 긴 문장\n둘째 줄입니다";
  entries[1].text = "The caption's first line, rather long\nand its second line";
  for (int position : {120, 0}) {
    view.Settings().upHeightRate = position;
    const int rise = view.CaptionRise(), band = view.CaptionBand();
    SetWindowPos(panel.Handle(), HWND_TOP, 0, 480 - rise, 640, rise + band, SWP_NOACTIVATE);
    Pump();
    constexpr int kChanges = 200;
    double start = Seconds();
    for (int i = 0; i < kChanges; ++i) {
      panel.RenderCaption(entries[i % 2]);
      Pump();  // the repaint belongs to the change
    }
    const double change = (Seconds() - start) / kChanges;
    Pump();
    constexpr int kSame = 100000;
    start = Seconds();
    for (int i = 0; i < kSame; ++i) panel.RenderCaption(entries[1]);
    const double same = (Seconds() - start) / kSame;
    std::printf("%s: changed caption %.3f ms, unchanged caption %.3f us\n",
                position == 0 ? "band below the picture" : "over the picture", change * 1e3, same * 1e6);
  }
  DestroyWindow(host);
  std::filesystem::remove(folder / "orves-caption-timing.ini");
  return 0;
}

}  // namespace
}  // namespace orves

int main() { return orves::Run(); }
