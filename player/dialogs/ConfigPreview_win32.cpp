// The options dialog's caption preview, drawn with GDI on a 200 x 100
// bitmap: the text crisp in the font colour, then every text pixel of a copy
// grown into a black rounded block (the outline) and the same block moved by
// the shadow offset, then the text again on top.
#include <algorithm>
#include <vector>

#include "player/dialogs/Config_win32.h"

namespace orves {

namespace {

constexpr int kLineHeight = 50;
constexpr const wchar_t* kSample = L"가나AB";

// A top-down 32-bit bitmap whose pixels can be read directly.
HBITMAP MakeSurface(HDC dc, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kPreviewWidth;
  info.bmiHeader.biHeight = -kPreviewHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The sample picture: an evening sky over a dark ground, in bands.
void DrawSamplePicture(HDC dc) {
  for (int y = 0; y < kPreviewHeight; y += 5) {
    const int t = y * 255 / kPreviewHeight;
    HBRUSH band = CreateSolidBrush(RGB(40 + t / 2, 70 + t / 3, 150 - t / 3));
    const RECT r{0, y, kPreviewWidth, y + 5};
    FillRect(dc, &r, band);
    DeleteObject(band);
  }
  const RECT lower{0, kLineHeight, kPreviewWidth, kPreviewHeight};
  FillRect(dc, &lower, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

HFONT MakeFont(const CaptionPreviewStyle& style, DWORD quality) {
  const int width = style.fontWidthRate * kLineHeight / 200;
  return CreateFontW(kLineHeight, width, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH,
                     style.face.c_str());
}

void DrawSample(HDC dc, const CaptionPreviewStyle& style, DWORD quality) {
  HFONT font = MakeFont(style, quality);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, style.colour);
  RECT all{0, 0, kPreviewWidth, kPreviewHeight};
  DrawTextW(dc, kSample, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

// The DIB's pixel (blue, green, red, unused) as a COLORREF.
COLORREF PixelColour(const uint32_t* pixels, int x, int y) {
  const uint32_t p = pixels[y * kPreviewWidth + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void DrawOutlineAndShadow(HDC dc, const std::vector<uint32_t>& copy, const CaptionPreviewStyle& style) {
  const int r = std::max((style.outLineRate * kLineHeight + kLineHeight) / 100, 1);
  const int d = (style.shadowRate * kLineHeight + kLineHeight) / 100;
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  const COLORREF colour = style.colour & 0xFFFFFF;
  for (int y = 0; y < kLineHeight; ++y) {
    for (int x = 0; x < kPreviewWidth; ++x) {
      if (PixelColour(copy.data(), x, y) != colour) continue;
      RoundRect(dc, x - r, y - r, x + r + 2, y + r + 2, r, r);
      RoundRect(dc, x - r + d, y - r + d, x + r + 2 + d, y + r + 2 + d, r, r);
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

}  // namespace

HBITMAP RenderCaptionPreview(HDC dc, const CaptionPreviewStyle& style) {
  void* bits = nullptr;
  HBITMAP bitmap = MakeSurface(dc, &bits);
  HDC memory = CreateCompatibleDC(dc);
  if (bitmap == nullptr || memory == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  DrawSamplePicture(memory);
  DrawSample(memory, style, NONANTIALIASED_QUALITY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  const std::vector<uint32_t> copy(pixels, pixels + kPreviewWidth * kPreviewHeight);
  DrawOutlineAndShadow(memory, copy, style);
  DrawSample(memory, style, style.antiAliase ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY);
  SelectObject(memory, old);
  DeleteDC(memory);
  return bitmap;
}

}  // namespace orves
