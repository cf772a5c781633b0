#include "player/captions/CaptionRenderer_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include "player/captions/CaptionView.h"
#include "player/core/TextConvert_win32.h"
#include "player/window/ShapePanel_win32.h"

namespace orves {
namespace {

constexpr wchar_t kPanelClass[] = L"OrvesCaptionPanel";
// Each line bitmap is the text's extent enlarged by this much both ways.
constexpr int kBitmapSlack = 5;

// Korean character set: a face that is missing is replaced by one that has
// Hangul glyphs rather than by a Latin-only face.
HFONT CreateCaptionFont(const std::wstring& face, int cellHeight, int glyphWidth, bool bold, bool italic,
                        bool smooth) {
  return CreateFontW(cellHeight, glyphWidth, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                     HANGUL_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     smooth ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                     face.substr(0, LF_FACESIZE - 1).c_str());
}

void FillWith(HDC dc, const RECT& rect, COLORREF colour) {
  if (HBRUSH brush = CreateSolidBrush(colour)) {
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
}

}  // namespace

CaptionPanel::FontCache::~FontCache() {
  for (const Entry& e : entries_) DeleteObject(e.font);
}

HFONT CaptionPanel::FontCache::Get(const std::wstring& face, int cellHeight, int glyphWidth, bool bold,
                                   bool italic, bool smooth) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    if (e.face == face && e.cellHeight == cellHeight && e.glyphWidth == glyphWidth && e.bold == bold &&
        e.italic == italic && e.smooth == smooth) {
      std::rotate(entries_.begin() + static_cast<std::ptrdiff_t>(i),
                  entries_.begin() + static_cast<std::ptrdiff_t>(i) + 1, entries_.end());
      return entries_.back().font;
    }
  }
  HFONT font = CreateCaptionFont(face, cellHeight, glyphWidth, bold, italic, smooth);
  if (!font) return nullptr;
  if (entries_.size() >= kKept) {
    DeleteObject(entries_.front().font);
    entries_.erase(entries_.begin());
  }
  entries_.push_back(Entry{face, cellHeight, glyphWidth, bold, italic, smooth, font});
  return font;
}

CaptionPanel::~CaptionPanel() {
  for (LineSlot& slot : slots_) FreeSlot(slot);
}

bool CaptionPanel::Create(HWND parent, int id, HWND moviePanel) {
  if (Handle() || !parent) return false;
  moviePanel_ = moviePanel;
  const WindowClassSpec panelClass{kPanelClass, 0, nullptr};
  if (!CreateWindowOf(panelClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, L"", RECT{}, parent, id)) {
    return false;
  }
  SetRegion(CreateRectRgn(0, 0, 0, 0));
  return true;
}

// The region is set without the window manager's own redraw, which repaints
// the parent and every sibling at once and costs tens of milliseconds for a
// region of letters. Instead the box of the old and the new shape is marked
// for repainting, the picture below included, and painted with the next
// messages.
void CaptionPanel::SetRegion(HRGN region) {
  if (!region) return;
  RECT box{};
  GetRgnBox(region, &box);
  RECT dirty{};
  UnionRect(&dirty, &shownBox_, &box);
  // The window owns a region it accepted; one it refused is still ours.
  if (!SetWindowRgn(Handle(), region, FALSE)) {
    DeleteObject(region);
    return;
  }
  shownBox_ = box;
  HWND parent = GetParent(Handle());
  MapWindowPoints(Handle(), parent, reinterpret_cast<POINT*>(&dirty), 2);
  RedrawWindow(parent, &dirty, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CaptionPanel::FreeSlot(LineSlot& slot) {
  if (slot.bitmap) DeleteObject(slot.bitmap);
  slot = LineSlot{};
}

RECT CaptionPanel::MovieBounds() const {
  RECT bounds{};
  if (moviePanel_ && GetWindowRect(moviePanel_, &bounds)) {
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
  }
  return bounds;
}

void CaptionPanel::HideCaption() {
  cache_.Hidden();
  if (hidden_ || !Handle()) return;
  hidden_ = true;
  lineCount_ = 0;
  SetRegion(CreateRectRgn(0, 0, 0, 0));
}

void CaptionPanel::RenderCaption(const TCaptionEntry& entry) {
  if (entry.text.empty()) {
    HideCaption();
    return;
  }
  if (!Handle()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  if (!cache_.Changed(entry.text, client.right)) return;

  const RECT movie = MovieBounds();
  const TCaptionSettings& settings = view_.Target().Settings();
  plan_ = PlanCaption(
      entry, settings,
      CaptionArea{movie.right - movie.left, movie.bottom - movie.top, client.right, blockTop_}, codec_);
  band_ = view_.Target().CaptionRise() == 0 && !plan_.beyondBlock;
  const bool smooth = band_ && settings.antiAliase;
  lineCount_ = std::min(static_cast<int>(plan_.lines.size()), kMaxCaptionLines);
  for (int k = 0; k < lineCount_; ++k) {
    LineSlot& slot = slots_[k];
    slot.glyphWidth = plan_.lines[k].glyphWidth;
    DrawLine(slot, plan_.lines[k], smooth, /*fitWidth=*/true);
    slot.x = CaptionLineX(client.right, slot.textWidth);
    slot.y = plan_.lines[k].y;
  }
  hidden_ = false;
  if (band_) {
    ShowBand();
  } else {
    ShapeOverLetters();
  }
}

// Draws the line into its slot's bitmap, sized to the text's extent plus the
// slack, on the panel's colour (also the text's opaque background). The
// layout's widths are estimates from byte counts; a line whose real extent is
// still wider than the panel is drawn with glyphs narrowed to fit it.
void CaptionPanel::DrawLine(LineSlot& slot, const CaptionLine& line, bool smooth, bool fitWidth) {
  const TCaptionSettings& settings = view_.Target().Settings();
  const std::wstring face = Utf8ToWide(settings.fontName2);
  const bool bold = settings.fontBold || line.bold;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    FreeSlot(slot);
    return;
  }
  const std::wstring text = Utf8ToWide(line.text);
  const int length = static_cast<int>(text.size());
  HFONT font = nullptr;
  HGDIOBJ oldFont = nullptr;
  SIZE extent{0, 0};
  RECT client{};
  GetClientRect(Handle(), &client);
  for (int attempt = 0; attempt < 3; ++attempt) {
    font = fonts_.Get(face, plan_.metrics.lineHeight, slot.glyphWidth, bold, line.italic, smooth);
    if (!font) break;
    HGDIOBJ previous = SelectObject(dc, font);
    if (!oldFont) oldFont = previous;
    GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    const int room = client.right - 2 * plan_.outline;
    if (!fitWidth || extent.cx <= room || room <= 0 || slot.glyphWidth <= 1) break;
    slot.glyphWidth = std::max(1, static_cast<int>(int64_t{slot.glyphWidth} * room / extent.cx));
  }
  if (!font) {
    if (oldFont) SelectObject(dc, oldFont);
    DeleteDC(dc);
    FreeSlot(slot);
    return;
  }
  // Italic glyphs lean past their advance widths.
  const int lean = line.italic ? plan_.metrics.lineHeight / 4 : 0;
  slot.textWidth = extent.cx;
  const SIZE size{extent.cx + kBitmapSlack + lean, extent.cy + kBitmapSlack};
  if (!slot.bitmap || slot.size.cx != size.cx || slot.size.cy != size.cy) {
    if (slot.bitmap) DeleteObject(slot.bitmap);
    slot.bitmap = CreateTopDownBitmap32(nullptr, size.cx, size.cy);
    slot.size = slot.bitmap ? size : SIZE{0, 0};
  }
  if (slot.bitmap) {
    HGDIOBJ oldBitmap = SelectObject(dc, slot.bitmap);
    FillWith(dc, RECT{0, 0, size.cx, size.cy}, panelColour_);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, panelColour_);
    SetTextColor(dc, line.colour & 0xFFFFFF);
    TextOutW(dc, 0, 0, text.c_str(), length);
    SelectObject(dc, oldBitmap);
  }
  SelectObject(dc, oldFont);
  DeleteDC(dc);
}

// The region is cut from the crisp glyphs; smoothed glyphs are drawn into
// the same bitmaps afterwards when smoothing is on. Rows below the picture's
// lower edge are taken whole.
void CaptionPanel::ShapeOverLetters() {
  const RECT movie = MovieBounds();
  RECT panel{};
  GetWindowRect(Handle(), &panel);
  MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&panel), 2);
  const int edge = movie.bottom - panel.top;
  const bool fast = player_.PlayState() != kPlayStatePlaying;
  TShapePanel shape(Handle(), plan_.outline, fast, panelColour_, plan_.shadow);
  for (int k = 0; k < lineCount_; ++k) {
    const LineSlot& slot = slots_[k];
    if (slot.bitmap) shape.AddBitmapRows(slot.bitmap, slot.x, edge - slot.y, slot.y);
  }
  if (view_.Target().Settings().antiAliase) {
    for (int k = 0; k < lineCount_; ++k)
      DrawLine(slots_[k], plan_.lines[k], /*smooth=*/true, /*fitWidth=*/false);
  }
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (region && CombineRgn(region, shape.Region(), nullptr, RGN_COPY) == ERROR) {
    DeleteObject(region);
    region = nullptr;
  }
  SetRegion(region);
}

void CaptionPanel::ShowBand() {
  RECT client{};
  GetClientRect(Handle(), &client);
  SetRegion(CreateRectRgn(0, blockTop_, client.right + 2, client.bottom + 2));
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

// The layout moves and sizes the panel to the caption block; the panel takes
// that as its block and reaches up from it to the picture's top.
void CaptionPanel::PlaceOverBlock(WINDOWPOS& pos) {
  if ((pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) != 0) return;
  const RECT movie = MovieBounds();
  const int top = movie.bottom > movie.top ? std::min(pos.y, static_cast<int>(movie.top)) : pos.y;
  blockTop_ = pos.y - top;
  pos.cy += blockTop_;
  pos.y = top;
}

void CaptionPanel::PaintCaption(HDC dc, const RECT& dirty) {
  FillWith(dc, dirty, band_ ? RGB(0, 0, 0) : panelColour_);
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  for (int k = 0; k < lineCount_ && k < kMaxCaptionLines; ++k) {
    const LineSlot& slot = slots_[k];
    if (!slot.bitmap) continue;
    HGDIOBJ old = SelectObject(source, slot.bitmap);
    BitBlt(dc, slot.x, slot.y, slot.size.cx, slot.size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
  }
  DeleteDC(source);
}

LRESULT CaptionPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks go to the window below
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_WINDOWPOSCHANGING:
      PlaceOverBlock(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case WM_WINDOWPOSCHANGED:
      if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)) !=
          (SWP_NOMOVE | SWP_NOSIZE)) {
        cache_.Forget();
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(Handle(), &ps)) {
        PaintCaption(dc, ps.rcPaint);
        EndPaint(Handle(), &ps);
      }
      return 0;
    }
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace orves
