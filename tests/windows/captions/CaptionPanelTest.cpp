// The caption panel in a real window: over the picture its region hugs the
// letters, below it the panel is a band, an empty entry hides it, a change of
// the look draws an unchanged text again, and drawing leaks no GDI objects.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "player/captions/CaptionRenderer_win32.h"
#include "player/captions/CaptionView.h"
#include "player/core/Setup.h"
#include "player/window/ShapePanel_win32.h"
#include "tests/unit/captions/CaptionTestSupport.h"
#include "tests/unit/core/NullServices.h"

namespace orves {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A visible top-level window holding the panels; destroyed with the test.
struct HostWindow {
  HostWindow()
      : hwnd(CreateWindowExW(0, L"STATIC", L"caption test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                             700, 600, nullptr, nullptr, nullptr, nullptr)) {}
  ~HostWindow() { DestroyWindow(hwnd); }
  HWND hwnd;
};

// GDI objects alive in the process, up to a constant: the highest handle
// slot that 2000 new objects take. Freed slots are taken first, so the
// figure grows by one for every object left alive and by nothing else.
// (GetGuiResources is not answered everywhere.)
unsigned LiveGdiObjects() {
  std::vector<HBRUSH> brushes;
  unsigned highest = 0;
  for (int i = 0; i < 2000; ++i) {
    brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    highest = std::max<unsigned>(highest, LOWORD(reinterpret_cast<uintptr_t>(brushes.back())));
  }
  for (HBRUSH brush : brushes) DeleteObject(brush);
  return highest;
}

struct Media640x480 : testing::NullMedia {
  int PictureWidth() const override { return 640; }
  int PictureHeight() const override { return 480; }
  bool CaptionsOn() const override { return true; }
};

struct VisibleLayout : testing::NullLayout {
  bool CaptionPanelVisible() const override { return true; }
};

struct NoMessageBox : IMessageBox {
  void ShowInformation(const std::string&, const std::string&) override {}
};

// A 640 x 480 picture with the caption panel across its lower edge, placed
// as the layout places it for the view's position and size.
class CaptionPanelTest : public ::testing::Test {
 protected:
  CaptionPanelTest() {
    movie_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, host_.hwnd, nullptr,
                             nullptr, nullptr);
    panel_.Create(host_.hwnd, 1, movie_);
    lateView_.Bind(view_);
  }

  void PlaceFor(int position) {
    view_.Settings().upHeightRate = position;
    const int rise = view_.CaptionRise(), band = view_.CaptionBand();
    SetWindowPos(panel_.Handle(), HWND_TOP, 0, 480 - rise, 640, rise + band, SWP_NOACTIVATE);
  }

  void Render(const std::string& text) {
    TCaptionEntry entry;
    entry.text = text;
    panel_.RenderCaption(entry);
  }

  int RegionType(RECT& box) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int type = GetWindowRgn(panel_.Handle(), region);
    GetRgnBox(region, &box);
    DeleteObject(region);
    return type;
  }

  test::TempFolder folder_;
  TSetup setup_{folder_ / "OrvesMP20.ini"};
  std::unique_ptr<ITextCodec> codec_ = MakeSystemTextCodec();
  testing::NullStateText stateText_;
  VisibleLayout layout_;
  Media640x480 media_;
  NoMessageBox messageBox_;
  testing::NullMediaPlayer stopped_;
  LateBound<const TCaptionView> lateView_;
  CaptionPanel panel_{lateView_, *codec_, stopped_};
  TCaptionView view_{setup_, *codec_, TCaptionViewServices{stateText_, panel_, layout_, media_, messageBox_}};
  HostWindow host_;
  HWND movie_ = nullptr;
};

TEST_F(CaptionPanelTest, OverThePictureTheRegionHugsTheLettersBelowItIsABand) {
  PlaceFor(120);
  Render("Caption line one\nline two");
  RECT box{};
  EXPECT_EQ(RegionType(box), COMPLEXREGION);
  EXPECT_GT(box.left, 100);  // centred short lines leave the sides out
  EXPECT_LT(box.right, 540);
  EXPECT_EQ(panel_.LineCount(), 2);

  Render("");
  EXPECT_EQ(RegionType(box), NULLREGION);

  PlaceFor(0);
  Render("Caption line one\nline two");
  RECT client{};
  GetClientRect(panel_.Handle(), &client);
  EXPECT_EQ(RegionType(box), SIMPLEREGION);
  EXPECT_EQ(box.right, client.right + 2);  // the whole panel and a little more
  EXPECT_EQ(box.bottom, client.bottom + 2);
}

TEST_F(CaptionPanelTest, UnchangedTextIsDrawnAgainOnlyAfterALookChange) {
  PlaceFor(120);
  Render("same text");
  RECT before{};
  RegionType(before);
  view_.Settings().outLineRate = 30;
  Render("same text");
  RECT unchanged{};
  RegionType(unchanged);
  EXPECT_EQ(unchanged.right - unchanged.left, before.right - before.left);
  view_.ForceRedraw();  // what the outline command does
  Render("same text");
  RECT thicker{};
  RegionType(thicker);
  EXPECT_GT(thicker.right - thicker.left, before.right - before.left);
}

TEST_F(CaptionPanelTest, DrawingLeaksNoGdiObjects) {
  const char* texts[] = {"one line", "첫째 줄\n둘째 줄", "",
                         "a much longer single line of caption text that breaks"};
  const auto cycle = [&] {
    for (int position : {120, 0}) {
      PlaceFor(position);
      for (const char* text : texts) {
        view_.ToggleAntiAliase();
        Render(text);
        Pump();
      }
    }
  };
  cycle();  // the line bitmaps and the fonts are made once and kept
  const unsigned before = LiveGdiObjects();
  for (int i = 0; i < 5; ++i) cycle();
  // The window's region is replaced at every change and lands on whichever
  // slot is free then, which moves the figure by one; a leak of one object
  // per change would move it by forty.
  EXPECT_LE(LiveGdiObjects(), before + 1);
}

// A caption-like bitmap: text on the transparent colour, with a lone pixel
// and a pixel at the right edge so that shapes overlap and reach every side;
// its region takes from about forty to over a hundred rectangles.
HBITMAP LettersBitmap(COLORREF transparent) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = 160;
  bmi.bmiHeader.biHeight = -30;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(transparent);
  RECT all{0, 0, 160, 30};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SetBkColor(dc, transparent);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutW(dc, 2, 2, L"Ag Wy Qk Mj &%", 14);
  SetPixel(dc, 80, 25, RGB(1, 2, 3));
  SetPixel(dc, 159, 5, RGB(1, 2, 3));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

// The panel's mask-built region against the system's own union of the same
// rounded rectangles, pixel for pixel (the two may split the same area into
// different rectangles, so the test is that their difference is empty).
TEST(ShapePanelTest, RoundedRegionEqualsTheSystemsUnionOfRoundedRectangles) {
  constexpr COLORREF kTransparent = RGB(0, 0, 255);
  HBITMAP bitmap = LettersBitmap(kTransparent);
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  const auto* pixels = static_cast<const uint32_t*>(info.bmBits);
  const PixelView view{pixels, info.bmWidth, info.bmHeight, info.bmWidth};
  struct Case {
    int round, shadow, rows;
  };
  for (const Case& c : {Case{1, 0, 30}, Case{2, 2, 30}, Case{3, 0, 30}, Case{4, 2, 30}, Case{5, 3, 20},
                        Case{6, 1, 30}, Case{7, 2, 12}, Case{9, 3, 30}, Case{12, 2, 30}}) {
    std::vector<RegionShape> shapes;
    BuildShapes(view, 7, 3, c.rows, {c.round, c.shadow, kTransparent, true}, shapes);
    HRGN expected = CreateRectRgn(0, 0, 0, 0);
    for (const RegionShape& s : shapes) {
      HRGN part = s.ellipse ? CreateRoundRectRgn(s.left, s.top, s.right, s.bottom, s.ellipse, s.ellipse)
                            : CreateRectRgn(s.left, s.top, s.right, s.bottom);
      CombineRgn(expected, expected, part, RGN_OR);
      DeleteObject(part);
    }
    TShapePanel panel(nullptr, c.round, kTransparent, c.shadow);
    panel.AddBitmapRows(bitmap, 7, c.rows, 3);
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(difference, panel.Region(), expected, RGN_XOR), NULLREGION)
        << "round " << c.round << " shadow " << c.shadow << " rows " << c.rows;
    DeleteObject(difference);
    DeleteObject(expected);
  }
  DeleteObject(bitmap);
}

}  // namespace
}  // namespace orves
