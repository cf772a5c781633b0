#include "player/window/SkinPainter_win32.h"

#include <windowsx.h>

#include "player/core/Dpi_win32.h"
#include "player/core/TextConvert_win32.h"
#include "player/window/ShapePanel_win32.h"
#include "player/window/SkinScale.h"

namespace orves {
namespace {

constexpr const char* kPanelBars[SkinPainter::kThumbPanels] = {"Position", "Volume", "FullScreenPosition",
                                                               "FullScreenVolume"};
constexpr int kVolumePanel = 1;
// The thumbs' cut colour (0x00RRGGBB in the skin's pixels) as a COLORREF.
constexpr COLORREF kThumbCutColourRef =
    RGB((kThumbCutColour >> 16) & 0xFF, (kThumbCutColour >> 8) & 0xFF, kThumbCutColour & 0xFF);
constexpr int kFirstThumbId = 200;
constexpr int kBarId = 210;

bool OnBarPanel(int panel) { return panel >= 2; }

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

POINT ScreenPoint(HWND hwnd, UINT message, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL) ClientToScreen(hwnd, &p);
  return p;
}

// A memory DC with a bitmap of the given size selected, undone on leaving.
class OffScreen {
 public:
  OffScreen(HDC target, int width, int height)
      : dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, width, height)) {
    old_ = SelectObject(dc_, bitmap_);
  }
  ~OffScreen() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  OffScreen(const OffScreen&) = delete;
  OffScreen& operator=(const OffScreen&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

void Blit(HDC dc, HDC source, const SkinGdiBitmap& b, int x, int y) {
  if (b.Handle() == nullptr) return;
  const HGDIOBJ old = SelectObject(source, b.Handle());
  BitBlt(dc, x, y, b.Width(), b.Height(), source, 0, 0, SRCCOPY);
  SelectObject(source, old);
}

// Tiles `tile` from `from` while its start lies before `to` (a positive
// width is required, else a zero-width tile would never advance).
void TileAcross(HDC dc, HDC source, const SkinGdiBitmap& tile, int from, int to, int y) {
  if (tile.Width() <= 0) return;
  for (int x = from; x < to; x += tile.Width()) Blit(dc, source, tile, x, y);
}

void TileDown(HDC dc, HDC source, const SkinGdiBitmap& tile, int x, int from, int to) {
  if (tile.Height() <= 0) return;
  for (int y = from; y < to; y += tile.Height()) Blit(dc, source, tile, x, y);
}

}  // namespace

// ---- SkinGdiBitmap ---------------------------------------------------------

SkinGdiBitmap::SkinGdiBitmap(const SkinBitmap& source) {
  if (source.Empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = source.width;
  info.bmiHeader.biHeight = -source.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr || bits == nullptr) return;
  memcpy(bits, source.pixels.data(), source.pixels.size() * sizeof(uint32_t));
  GdiFlush();
  width_ = source.width;
  height_ = source.height;
}

SkinGdiBitmap::~SkinGdiBitmap() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

// ---- panels ----------------------------------------------------------------

bool SkinPanel::Create(HWND parent, const wchar_t* className, int id, std::function<void(HDC)> paint,
                       MouseHandler onMouse) {
  paint_ = std::move(paint);
  onMouse_ = std::move(onMouse);
  const WindowClassSpec spec{className, CS_DBLCLKS, nullptr, nullptr};
  return CreateWindowOf(spec, 0, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, L"", RECT{0, 0, 0, 0}, parent,
                        id);
}

LRESULT SkinPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsMouseMessage(message) && onMouse_) {
    onMouse_(message, wParam, ScreenPoint(Handle(), message, lParam));
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      if (paint_) paint_(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

bool SkinThumbPanel::Create(HWND parent, int id, MouseHandler onMouse) {
  auto paint = [this](HDC dc) {
    if (bitmap_ == nullptr) return;
    HDC source = CreateCompatibleDC(dc);
    Blit(dc, source, *bitmap_, 0, 0);
    DeleteDC(source);
  };
  return SkinPanel::Create(parent, L"TSkinThumb", id, paint, std::move(onMouse));
}

void SkinThumbPanel::SetBitmap(const SkinGdiBitmap* bitmap) {
  bitmap_ = bitmap;
  if (bitmap == nullptr || bitmap->Handle() == nullptr) {
    ShowWindow(Handle(), SW_HIDE);
    return;
  }
  SetWindowPos(Handle(), HWND_TOP, 0, 0, bitmap->Width(), bitmap->Height(), SWP_NOMOVE | SWP_NOACTIVATE);
  TShapePanel shape(Handle(), 0, kThumbCutColourRef, 0);
  shape.AddBitmap(bitmap->Handle(), 0, 0);
  shape.Apply();
  ShowWindow(Handle(), SW_SHOWNA);
}

// ---- SkinPainter -----------------------------------------------------------

SkinPainter::SkinPainter(HWND window, SkinPainterEvents events)
    : window_(window), events_(std::move(events)) {
  formBrush_ = CreateSolidBrush(SkinValues{}.formColor);
  for (auto& piece : frame_) piece = std::make_unique<SkinGdiBitmap>();
}

SkinPainter::~SkinPainter() {
  FreeFonts();
  if (formBrush_ != nullptr) DeleteObject(formBrush_);
}

void SkinPainter::CreateControls() {
  bar_.Create(
      window_, L"TSkinFullScreenBar", kBarId, [this](HDC dc) { PaintBar(dc); }, events_.barMouse);
  for (int i = 0; i < kThumbPanels; ++i) {
    const HWND parent = OnBarPanel(i) ? bar_.Handle() : window_;
    panels_[i].Create(parent, kFirstThumbId + i, [this, i](UINT message, WPARAM keys, POINT screen) {
      const int bar = BarOfPanel(i);
      if (bar >= 0 && events_.thumbMouse) events_.thumbMouse(bar, message, keys, screen);
    });
  }
}

int SkinPainter::BarOfPanel(int panel) const {
  for (size_t i = 0; i < barAreas_.size(); ++i) {
    if (barAreas_[i].name == kPanelBars[panel]) return static_cast<int>(i);
  }
  return -1;
}

int SkinPainter::ThumbPanelOf(const std::string& barName) {
  for (int i = 0; i < kThumbPanels; ++i) {
    if (barName == kPanelBars[i]) return i;
  }
  return kVolumePanel;
}

void SkinPainter::WindowSize(int& width, int& height) const {
  RECT r{};
  GetWindowRect(window_, &r);
  width = r.right - r.left;
  height = r.bottom - r.top;
}

int SkinPainter::Dpi() const { return WindowDpi(window_); }

void SkinPainter::ApplySkin(const SkinData& skin, bool resizeWindow) {
  texts_ = skin.texts;
  clickAreas_ = skin.clickAreas;
  barAreas_ = skin.barAreas;
  values_ = skin.values;
  placed_.clear();  // the old skin's texts
  for (int i = 0; i < kFramePieces; ++i) frame_[i] = std::make_unique<SkinGdiBitmap>(skin.frame[i]);
  std::vector<std::unique_ptr<SkinGdiBitmap>> thumbs;
  for (const SkinBitmap& thumb : skin.thumbs) thumbs.push_back(std::make_unique<SkinGdiBitmap>(thumb));
  FreeFonts();
  fonts_.assign(skin.texts.size(), nullptr);
  // The panels let go of the old bitmaps before they are freed.
  for (auto& panel : panels_) panel.SetBitmap(nullptr);
  thumbs_ = std::move(thumbs);
  ShapeThumbs();
  if (formBrush_ != nullptr) DeleteObject(formBrush_);
  formBrush_ = CreateSolidBrush(skin.values.formColor);
  if (events_.colours) events_.colours(skin.values);
  if (resizeWindow && skin.sizes.width > 0 && skin.sizes.height > 0) {
    SetWindowPos(window_, nullptr, 0, 0, skin.sizes.width, skin.sizes.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window_, nullptr, FALSE);
  InvalidateRect(bar_.Handle(), nullptr, FALSE);
}

// Each panel shows the thumb of the bar named like it; a skin without that
// bar leaves the panel hidden.
void SkinPainter::ShapeThumbs() {
  for (int i = 0; i < kThumbPanels; ++i) {
    const int bar = BarOfPanel(i);
    const size_t index = bar >= 0 ? static_cast<size_t>(bar) : thumbs_.size();
    panels_[i].SetBitmap(index < thumbs_.size() ? thumbs_[index].get() : nullptr);
  }
  ApplyFrameThumbs();
}

// The window's own thumbs sit on the frame, which full screen leaves out:
// there the picture covers the window and only the bar's thumbs (children of
// the full-screen bar) remain.
void SkinPainter::ShowFrameThumbs(bool shown) {
  frameThumbsShown_ = shown;
  ApplyFrameThumbs();
}

void SkinPainter::ApplyFrameThumbs() {
  for (int i = 0; i < kThumbPanels; ++i) {
    const HWND panel = panels_[i].Handle();
    if (OnBarPanel(i) || !panels_[i].HasBitmap() || (IsWindowVisible(panel) != FALSE) == frameThumbsShown_) {
      continue;
    }
    ShowWindow(panel, frameThumbsShown_ ? SW_SHOWNA : SW_HIDE);
  }
}

void SkinPainter::MoveThumbPanel(int bar, int left, int top) {
  if (bar < 0 || static_cast<size_t>(bar) >= barAreas_.size()) return;
  const std::string& name = barAreas_[static_cast<size_t>(bar)].name;
  const int panel = ThumbPanelOf(name);
  // A bar of another name has no thumb place of its own.
  if (name != kPanelBars[panel]) return;
  SetWindowPos(panels_[panel].Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinPainter::ShowSkinError(const std::string& text) {
  MessageBoxW(window_, Utf8ToWide(text).c_str(), L"Orve's MP", MB_OK | MB_ICONERROR);
}

HFONT SkinPainter::FontOf(size_t text) {
  if (text >= fonts_.size() || text >= texts_.size()) return nullptr;
  if (fonts_[text] == nullptr) {
    const TSkinText& t = texts_[text];
    fonts_[text] =
        CreateFontW(t.fontSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Utf8ToWide(t.fontName).c_str());
  }
  return fonts_[text];
}

void SkinPainter::FreeFonts() {
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
  fonts_.clear();
}

void SkinPainter::DrawTextsOn(HDC windowDc, HDC barDc, const std::vector<PlacedText>& texts) {
  for (const PlacedText& p : texts) {
    HDC dc = p.onFullScreenBar ? barDc : windowDc;
    if (dc == nullptr || p.content.empty() || p.index >= texts_.size()) continue;
    const TSkinText& text = texts_[p.index];
    const HGDIOBJ oldFont = SelectObject(dc, FontOf(p.index));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, text.backgroundColor);
    SetTextColor(dc, text.color);
    const std::wstring wide = Utf8ToWide(p.content);
    TextOutW(dc, p.x, p.y, wide.c_str(), static_cast<int>(wide.size()));
    SelectObject(dc, oldFont);
  }
}

// Per tick: the texts straight onto the screen, each over its old box; kept
// for the next painting.
void SkinPainter::DrawTexts(const std::vector<PlacedText>& texts) {
  placed_ = texts;
  HDC windowDc = GetDC(window_);
  const bool barShown = IsWindowVisible(bar_.Handle()) != FALSE;
  HDC barDc = barShown ? GetDC(bar_.Handle()) : nullptr;
  DrawTextsOn(windowDc, barDc, texts);
  if (barDc != nullptr) ReleaseDC(bar_.Handle(), barDc);
  ReleaseDC(window_, windowDc);
}

void SkinPainter::PaintFrame(HDC dc, HDC source, int width, int height) const {
  using F = FramePiece;
  Blit(dc, source, Piece(F::UpLeft), 0, 0);
  TileAcross(dc, source, Piece(F::Up), Piece(F::UpLeft).Width(), width - Piece(F::UpRight).Width(), 0);
  Blit(dc, source, Piece(F::UpRight), width - Piece(F::UpRight).Width(), 0);
  TileDown(dc, source, Piece(F::Left), 0, Piece(F::UpLeft).Height(), height - Piece(F::DownLeft).Height());
  TileDown(dc, source, Piece(F::Right), width - Piece(F::Right).Width(), Piece(F::UpRight).Height(),
           height - Piece(F::DownRight).Height());
  Blit(dc, source, Piece(F::DownLeft), 0, height - Piece(F::DownLeft).Height());
  TileAcross(dc, source, Piece(F::Down), Piece(F::DownLeft).Width(), width - Piece(F::DownRight).Width(),
             height - Piece(F::Down).Height());
  Blit(dc, source, Piece(F::DownRight), width - Piece(F::DownRight).Width(),
       height - Piece(F::DownRight).Height());
}

void SkinPainter::PaintAreaLines(HDC windowDc, HDC barDc) const {
  if (!values_.showAreaLine) return;
  int width = 0;
  int height = 0;
  WindowSize(width, height);
  auto outline = [&](const std::string& name, const AreaRect& r) {
    HDC dc = OnFullScreenBar(name) ? barDc : windowDc;
    if (dc == nullptr) return;
    const HGDIOBJ old = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, old);
  };
  for (const TClickArea& a : clickAreas_) outline(a.name, TSkin::Resolve(a, width, height));
  for (const TBarArea& b : barAreas_) outline(b.name, TSkin::Resolve(b, width, height));
}

void SkinPainter::Paint(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  OffScreen off(dc, client.right, client.bottom);
  FillRect(off.Dc(), &client, formBrush_);
  HDC source = CreateCompatibleDC(dc);
  PaintFrame(off.Dc(), source, client.right, client.bottom);
  DeleteDC(source);
  DrawTextsOn(off.Dc(), nullptr, placed_);
  PaintAreaLines(off.Dc(), nullptr);
  BitBlt(dc, 0, 0, client.right, client.bottom, off.Dc(), 0, 0, SRCCOPY);
}

void SkinPainter::PaintBar(HDC dc) {
  RECT r{};
  GetClientRect(bar_.Handle(), &r);
  OffScreen off(dc, r.right, r.bottom);
  FillRect(off.Dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HDC source = CreateCompatibleDC(dc);
  using F = FramePiece;
  Blit(off.Dc(), source, Piece(F::FullScreenUpLeft), 0, 0);
  TileAcross(off.Dc(), source, Piece(F::FullScreenUp), Piece(F::FullScreenUpLeft).Width(),
             r.right - Piece(F::FullScreenUpRight).Width(), 0);
  Blit(off.Dc(), source, Piece(F::FullScreenUpRight), r.right - Piece(F::FullScreenUpRight).Width(), 0);
  DeleteDC(source);
  DrawTextsOn(nullptr, off.Dc(), placed_);
  PaintAreaLines(nullptr, off.Dc());
  BitBlt(dc, 0, 0, r.right, r.bottom, off.Dc(), 0, 0, SRCCOPY);
}

}  // namespace orves
