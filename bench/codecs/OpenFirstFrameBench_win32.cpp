// Opening a movie to its first frame on screen, through the player's own
// movie control (OrvesCodecs.ax beside the program): the time from setting
// the file name, which builds the graph, and playing, until the picture shows
// in the control's window (screen pixels no longer the black background).
// The first run also loads the module. Built for Windows and run under Wine,
// best with winegstreamer disabled so only our filters can play:
//   bench_open_first_frame_win32.exe FILE [RUNS]
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "player/core/TextConvert_win32.h"
#include "player/playback/DirectShowPlayer_win32.h"

namespace {

double NowMs() {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// True once any of nine points across the window is not black.
bool PictureShown(HWND window) {
  RECT rc{};
  GetWindowRect(window, &rc);
  HDC screen = GetDC(nullptr);
  bool shown = false;
  for (int i = 1; i <= 3 && !shown; ++i) {
    for (int j = 1; j <= 3 && !shown; ++j) {
      const COLORREF c =
          GetPixel(screen, rc.left + (rc.right - rc.left) * i / 4, rc.top + (rc.bottom - rc.top) * j / 4);
      shown = c != CLR_INVALID && (GetRValue(c) | GetGValue(c) | GetBValue(c)) > 16;
    }
  }
  ReleaseDC(nullptr, screen);
  return shown;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_open_first_frame_win32 FILE [RUNS]\n");
    return 2;
  }
  const std::string file = orves::WideToUtf8(argv[1]);
  const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = L"OrvesOpenBenchHost";
  RegisterClassExW(&wc);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"open bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                              0, 640, 360, nullptr, nullptr, wc.hInstance, nullptr);
  int status = 0;
  {
    orves::DirectShowPlayer player;
    if (!host || !player.Create(host)) return 1;
    std::vector<double> total, open;
    for (int run = 0; run < runs; ++run) {
      const double begin = NowMs();
      player.SetFileName(file);
      const double opened = NowMs();
      if (FAILED(player.LastOpenResult())) {
        std::fprintf(stderr, "cannot open %s: 0x%08lx\n", file.c_str(), player.LastOpenResult());
        status = 1;
        break;
      }
      player.Play();
      bool shown = false;
      while (!(shown = PictureShown(player.Window())) && NowMs() - begin < 10000) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
      }
      const double end = NowMs();
      if (!shown) {
        std::fprintf(stderr, "no picture within 10 s\n");
        status = 1;
        break;
      }
      open.push_back(opened - begin);
      total.push_back(end - begin);
      std::printf("run %d: open %.0f ms, first frame on screen %.0f ms\n", run + 1, opened - begin,
                  end - begin);
      // Closed, the window must be black again before the next run counts.
      player.SetFileName("");
      const double closed = NowMs();
      do {
        player.Repaint();
        Pump();
        Sleep(10);
      } while (PictureShown(player.Window()) && NowMs() - closed < 3000);
    }
    if (!total.empty()) {
      std::vector<double> warm(total.begin() + (total.size() > 1 ? 1 : 0), total.end());
      std::sort(warm.begin(), warm.end());
      std::printf(
          "first frame on screen: first run %.0f ms (module loaded), median of the others %.0f ms, "
          "worst %.0f ms; target <= 1000 ms\n",
          total.front(), warm[warm.size() / 2], *std::max_element(total.begin(), total.end()));
    }
  }
  DestroyWindow(host);
  CoUninitialize();
  return status;
}
