// Times, on a 1280 x 720 window showing the given skin folder's "Default" at
// the DPI the system reports (the process is per-monitor DPI aware, as the
// player is; set LogPixels to time another scale):
//   tick  - PaintTexts + PlaceThumbs, as the 200 ms timer runs them, with the
//           position moving every call so the texts and thumbs change;
//   paint - the whole window painted (frame, texts, area lines) off screen
//           and copied to the window.
// Prints the DPI and the mean time per call in microseconds.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "player/core/Setup.h"
#include "player/core/TextConvert_win32.h"
#include "player/window/FileSystem_win32.h"
#include "player/window/SkinPainter_win32.h"

namespace {

class BenchWindow final : public orves::TWindow {
 public:
  bool Create() {
    const orves::WindowClassSpec spec{L"TSkinBench", 0, nullptr, nullptr};
    return CreateWindowOf(spec, 0, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, L"skin bench",
                          RECT{0, 0, 1280, 720}, nullptr);
  }
};

// A movie of 90 minutes, playing.
struct BenchPlayback final : orves::ISkinPlayback {
  double position = 0;
  bool FullScreen() const override { return false; }
  bool MovieOpen() const override { return true; }
  double Position() const override { return position; }
  double Duration() const override { return 5400.0; }
  int Volume() const override { return -800; }
};

template <class Work>
double MicrosecondsPerCall(int calls, Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) work(i);
  GdiFlush();
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / calls;
}

// The player's manifest makes it per-monitor DPI aware; the benchmark asks
// for the same at run time (where the system offers it).
void BecomeDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  const auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (set != nullptr) set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));  // per monitor, v2
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_skin_paint_win32 SKIN_FOLDER\n");
    return 2;
  }
  BecomeDpiAware();
  BenchWindow window;
  if (!window.Create()) return 1;
  orves::SkinPainter painter(window.Handle(), {});
  painter.CreateControls();
  BenchPlayback playback;
  orves::TMouseAction mouse;
  orves::Win32FileSystem files;
  const std::filesystem::path settings = std::filesystem::temp_directory_path() / "orves-skin-bench.ini";
  orves::TSetup setup(settings);
  orves::TSkin skin(setup, files, orves::WideToUtf8(argv[1]), orves::TSkinServices{painter, playback, mouse});
  skin.LoadSkin("Default");
  if (skin.Name() != "Default") return 1;
  SetWindowPos(window.Handle(), nullptr, 0, 0, 1280, 720, SWP_NOMOVE | SWP_NOZORDER);

  const double tick = MicrosecondsPerCall(2000, [&](int i) {
    playback.position = i;
    skin.PaintTexts();
    skin.PlaceThumbs();
  });
  HDC dc = GetDC(window.Handle());
  const double paint = MicrosecondsPerCall(300, [&](int) { painter.Paint(dc); });
  ReleaseDC(window.Handle(), dc);
  std::printf("dpi %d\ntick (PaintTexts + PlaceThumbs): %.1f us\nfull paint 1280x720: %.1f us\n",
              painter.Dpi(), tick, paint);
  return 0;
}
