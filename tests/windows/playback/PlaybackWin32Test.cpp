// The panels, the state text line and TMovie over the real control, and the
// time from process start to the first video frame on screen.
#include <cstdio>

#include <gtest/gtest.h>

#include "player/playback/DirectShowPlayer_win32.h"
#include "player/playback/Movie.h"
#include "player/playback/MoviePanel_win32.h"
#include "player/playback/StateText.h"
#include "player/playback/StateTextPanel_win32.h"
#include "player/core/Setup.h"
#include "tests/unit/core/NullServices.h"
#include "tests/windows/playback/PlaybackHost.h"

namespace orves {
namespace {

using testing::ComApartment;
using testing::HostWindow;
using testing::MediaPath;
using testing::PumpFor;
using testing::PumpUntil;

std::filesystem::path TempSettingsFile() {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::filesystem::path path = std::filesystem::path(dir) / L"orves-playback-win32.ini";
  DeleteFileW(path.c_str());
  return path;
}

RECT ChildRect(HWND child) {
  RECT rc{};
  GetWindowRect(child, &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// TMedia's rule without TMedia: there is a picture when the control shows one.
class ControlPicture final : public testing::NullMedia {
 public:
  explicit ControlPicture(const IMediaPlayer& player) : player_(player) {}
  bool HasPicture() const override { return player_.ImageSourceWidth() != 0; }

 private:
  const IMediaPlayer& player_;
};

class PlaybackWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com_.Result()));
    ASSERT_TRUE(pnlMovie_.Create(host_.Handle(), 1));
    ASSERT_TRUE(pnlInnerMovie_.Create(pnlMovie_.Handle(), 2, true));
    ASSERT_TRUE(mpMovie_.Create(pnlInnerMovie_.Handle()));
    pnlMovie_.SetBounds(20, 10, 400, 300);
  }

  ComApartment com_;
  HostWindow host_{640, 480};
  MoviePanel pnlMovie_;
  MoviePanel pnlInnerMovie_;
  DirectShowPlayer mpMovie_;
  MoviePanels panels_{pnlMovie_, pnlInnerMovie_, &mpMovie_};
  TSetup setup_{TempSettingsFile()};
  testing::NullLayout layout_;
  testing::NullSkin skin_;
  testing::NullStateText stateText_;
  ControlPicture media_{mpMovie_};
  TMovie movie_{setup_, {mpMovie_, panels_, layout_, skin_, media_, stateText_}};
};

TEST_F(PlaybackWin32Test, InnerPanelHidesWithoutPictureAndCropsInsideTheMoviePanel) {
  int resized = 0;
  pnlMovie_.SetOnResize([&](int, int) { ++resized; });
  pnlMovie_.SetSize(400, 300);
  pnlMovie_.SetSize(480, 300);
  EXPECT_EQ(resized, 1);  // only a real change of size
  pnlMovie_.SetSize(400, 300);
  movie_.FitInnerPanel();
  RECT inner = ChildRect(pnlInnerMovie_.Handle());
  EXPECT_EQ(inner.left, -20);
  EXPECT_EQ(inner.right - inner.left, 10);

  mpMovie_.SetFileName(MediaPath("test-mpeg4-pcm.avi"));  // 320x240
  movie_.FitInnerPanel();
  inner = ChildRect(pnlInnerMovie_.Handle());
  EXPECT_EQ(inner.left, 0);
  EXPECT_EQ(inner.right, 400);
  EXPECT_EQ(inner.bottom, 300);

  movie_.SetCutWhenWindow(true);
  movie_.SetCuttingBlock(1);
  movie_.FitInnerPanel();
  inner = ChildRect(pnlInnerMovie_.Handle());
  EXPECT_EQ(inner.right - inner.left, 300 * 320 / 240);
  EXPECT_EQ(inner.left, (400 - 400) / 2 - 2);
  // The control follows its panel.
  RECT control{};
  GetClientRect(mpMovie_.Window(), &control);
  EXPECT_EQ(control.right, inner.right - inner.left);
  EXPECT_EQ(control.bottom, 300);
}

TEST_F(PlaybackWin32Test, StateTextLineShowsTheChosenText) {
  StateTextPanel line;
  ASSERT_TRUE(line.Create(host_.Handle(), 3));
  line.SetBounds(10, 10, 300, 20);
  testing::NullMedia nothingOpen;
  TStateText state(setup_, line, nothingOpen);
  EXPECT_FALSE(line.IsVisible());
  state.ShowState("소리크기 : 96%", "VOLUME : 96%");
  EXPECT_TRUE(line.IsVisible());
  EXPECT_EQ(line.Text(), L"VOLUME : 96%");
  state.SetKorean(true);
  state.ShowState("소리크기 : 96%", "VOLUME : 96%");
  EXPECT_EQ(line.Text(), L"소리크기 : 96%");
  PumpFor(50);
  for (int i = 0; i < TStateText::kLifeTicks; ++i) state.Tick();
  EXPECT_FALSE(line.IsVisible());
}

// Time from this process's creation to the first non-black pixel of the
// picture on screen. Reported, not judged: Wine's timing varies.
TEST_F(PlaybackWin32Test, FirstVideoFrameAfterColdStart) {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto since = [&](const FILETIME& from) {
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a{}, b{};
    a.LowPart = from.dwLowDateTime;
    a.HighPart = from.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    return static_cast<double>(b.QuadPart - a.QuadPart) / 10000.0;  // ms
  };
  // Before anything is open the movie panel shows black at its centre, where
  // the picture will be: the pixel test below really sees the picture.
  PumpFor(100);
  {
    RECT before{};
    GetWindowRect(pnlMovie_.Handle(), &before);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel =
        GetPixel(screen, (before.left + before.right) / 2, (before.top + before.bottom) / 2);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(pixel, RGB(0, 0, 0));
  }
  const ULONGLONG openStart = GetTickCount64();
  mpMovie_.SetFileName(MediaPath("test-mpeg4-pcm.avi"));
  const ULONGLONG opened = GetTickCount64();
  movie_.FitInnerPanel();
  RECT rc{};
  GetWindowRect(pnlMovie_.Handle(), &rc);
  const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  mpMovie_.Play();
  auto centrePixel = [&] {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, centre.x, centre.y);
    ReleaseDC(nullptr, screen);
    return pixel;
  };
  const bool shown = PumpUntil(
      [&] {
        const COLORREF pixel = centrePixel();
        return pixel != CLR_INVALID && pixel != RGB(0, 0, 0);
      },
      15000);
  const ULONGLONG framed = GetTickCount64();
  std::printf("[ timing ] process start to first frame %.0f ms (open %llu ms, play to frame %llu ms)\n",
              since(created), opened - openStart, framed - opened);
  RecordProperty("first_frame_ms", static_cast<int>(since(created)));
  EXPECT_TRUE(shown) << "no picture appeared in the control";
}

}  // namespace
}  // namespace orves
