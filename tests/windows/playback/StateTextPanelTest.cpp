// The letter-shaped state text panel in a real window: the region hugs the
// letters, the text is anti-aliased in the right colours, an empty text hides
// everything; and the time one new text costs (render and region).
#include <cstdio>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "player/playback/StateText.h"
#include "player/playback/StateTextPanel_win32.h"
#include "player/core/Setup.h"
#include "tests/unit/core/NullServices.h"
#include "tests/windows/playback/PlaybackHost.h"

namespace orves {
namespace {

using testing::HostWindow;
using testing::PumpFor;

// The panel's window region: its bounding box and its area in pixels.
struct RegionFacts {
  int type = ERROR;
  RECT box{};
  long long area = 0;
};

RegionFacts WindowRegion(HWND hwnd) {
  RegionFacts facts;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  facts.type = GetWindowRgn(hwnd, region);
  if (facts.type != ERROR) {
    GetRgnBox(region, &facts.box);
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(bytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (bytes && GetRegionData(region, bytes, data)) {
      const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
      for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        facts.area +=
            static_cast<long long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
      }
    }
  }
  DeleteObject(region);
  return facts;
}

std::vector<uint32_t> Pixels(HBITMAP bitmap, SIZE size) {
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = size.cx;
  bmi.bmiHeader.biHeight = -size.cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;  // 0x00RRGGBB
  return pixels;
}

class StateTextPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(panel_.Create(host_.Handle(), 7));
    panel_.SetBounds(3, 3, 600, 20);
  }
  HostWindow host_{640, 200};
  StateTextPanel panel_;
};

TEST_F(StateTextPanelTest, RegionHugsTheLettersInsideTheirBox) {
  panel_.Render("PLAYING SPEED : 105 %");
  panel_.Show();
  PumpFor(50);
  const SIZE text = panel_.TextSize();
  ASSERT_GT(text.cx, 20);
  ASSERT_GT(text.cy, 5);
  const RegionFacts r = WindowRegion(panel_.Handle());
  ASSERT_EQ(r.type, COMPLEXREGION);
  // The text bitmap sits at (6, 6); letters grow 2 pixels around (3 to the
  // right and 4 down, as the rounded runs are built).
  EXPECT_GE(r.box.left, 6 - 2);
  EXPECT_GE(r.box.top, 6 - 2);
  EXPECT_LE(r.box.right, 6 + text.cx + 3);
  EXPECT_LE(r.box.bottom, 6 + text.cy + 4);
  const long long boxArea = static_cast<long long>(r.box.right - r.box.left) * (r.box.bottom - r.box.top);
  EXPECT_GT(r.area, 0);
  EXPECT_LT(r.area, boxArea) << "the region is no smaller than its bounding box";
  std::printf("[ shape ] region %lld px of a %ld x %ld box (%lld px)\n", r.area, r.box.right - r.box.left,
              r.box.bottom - r.box.top, boxArea);
}

TEST_F(StateTextPanelTest, PictureShowsBetweenWordsAndAroundTheLetters) {
  panel_.Render("I                    I");
  const SIZE text = panel_.TextSize();
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(panel_.Handle(), region), ERROR);
  const int middle = 6 + text.cx / 2;
  const int row = 6 + text.cy / 2;
  EXPECT_FALSE(PtInRegion(region, middle, row)) << "the gap between the words is covered";
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_FALSE(PtInRegion(region, 6 + text.cx + 4, row));
  bool leftLetter = false;
  for (int x = 6; x < middle && !leftLetter; ++x) leftLetter = PtInRegion(region, x, row);
  EXPECT_TRUE(leftLetter);
  DeleteObject(region);
}

TEST_F(StateTextPanelTest, TextIsAntiAliasedGreyOnTheBlackPanel) {
  panel_.Render("VOLUME : 96%");
  const std::vector<uint32_t> pixels = Pixels(panel_.TextBitmap(), panel_.TextSize());
  bool ink = false, between = false;
  for (uint32_t p : pixels) {
    ink |= p == 0xCCCCCC;
    between |= p != 0 && p != 0xCCCCCC;
  }
  EXPECT_TRUE(ink);
  EXPECT_TRUE(between) << "no blended edge pixels: the text is not anti-aliased";
}

TEST_F(StateTextPanelTest, ColouredPanelTakesTheSkinColourAndIsLeftOut) {
  panel_.SetColours(RGB(0x30, 0x20, 0x10), RGB(0, 255, 0));
  panel_.Render("PAUSED");
  const std::vector<uint32_t> pixels = Pixels(panel_.TextBitmap(), panel_.TextSize());
  std::set<uint32_t> colours(pixels.begin(), pixels.end());
  EXPECT_TRUE(colours.count(0x00FF00));  // the skin's green
  EXPECT_TRUE(colours.count(0x302010));  // the panel's colour as background
  EXPECT_FALSE(colours.count(0xCCCCCC));
  const RegionFacts r = WindowRegion(panel_.Handle());
  EXPECT_EQ(r.type, COMPLEXREGION);
}

TEST_F(StateTextPanelTest, KoreanTextRendersWithTheMappedFace) {
  panel_.Render("재생 속도 : 105 %");
  const SIZE korean = panel_.TextSize();
  panel_.Render(" : 105 %");
  const SIZE tail = panel_.TextSize();
  // Five Hangul syllables and a space add real width: the face has Hangul.
  EXPECT_GT(korean.cx - tail.cx, 5 * 6);
  EXPECT_EQ(WindowRegion(panel_.Handle()).type, COMPLEXREGION);
}

TEST_F(StateTextPanelTest, EmptyTextLeavesNothingVisible) {
  panel_.Render("PAUSED");
  panel_.Render("");
  EXPECT_EQ(panel_.TextBitmap(), nullptr);
  EXPECT_EQ(WindowRegion(panel_.Handle()).type, NULLREGION);
}

TEST_F(StateTextPanelTest, StateTextDrivesThePanel) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::filesystem::path ini = std::filesystem::path(dir) / L"orves-statetext-panel.ini";
  DeleteFileW(ini.c_str());
  TSetup setup(ini);
  testing::NullMedia nothingOpen;
  TStateText state(setup, panel_, nothingOpen);
  state.ShowState("일시정지", "PAUSED");
  EXPECT_TRUE(panel_.IsVisible());
  EXPECT_EQ(panel_.Text(), L"PAUSED");
  const HBITMAP first = panel_.TextBitmap();
  state.ShowState("일시정지", "PAUSED");  // the same text: not rendered again
  EXPECT_EQ(panel_.TextBitmap(), first);
  for (int i = 0; i < TStateText::kLifeTicks; ++i) state.Tick();
  EXPECT_FALSE(panel_.IsVisible());
}

// One new text costs a render and a region build. Measured, not judged.
TEST_F(StateTextPanelTest, RenderTime) {
  constexpr int kRounds = 200;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kRounds; ++i) {
    panel_.Render("00:" + std::to_string(10 + i % 50) + ":17 / 01:32:05");
  }
  QueryPerformanceCounter(&end);
  const double ms =
      1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / kRounds;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kRounds; ++i) panel_.Render(i % 2 ? "재생 속도 : 105 %" : "소리크기 : 96%");
  QueryPerformanceCounter(&end);
  const double koreanMs =
      1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / kRounds;
  std::printf("[ timing ] state text render + region: time display %.3f ms, Korean message %.3f ms\n", ms,
              koreanMs);
  RecordProperty("render_us", static_cast<int>(ms * 1000));
  EXPECT_EQ(WindowRegion(panel_.Handle()).type, COMPLEXREGION);
}

}  // namespace
}  // namespace orves
