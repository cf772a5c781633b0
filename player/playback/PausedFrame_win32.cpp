#include "player/playback/PausedFrame_win32.h"

namespace orves {

namespace {

// No frame this large is kept (an 8K picture at 32 bits takes 132 MB).
constexpr long long kMaxImageBytes = 256LL << 20;

// Where the pixels of a packed DIB start, or 0 when the header does not
// describe a picture that fits in `size` bytes.
size_t PixelsOffset(const BITMAPINFOHEADER& header, size_t size) {
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0) return 0;
  size_t offset = header.biSize;
  if (header.biCompression == BI_BITFIELDS) offset += 3 * sizeof(DWORD);
  if (header.biBitCount <= 8) {
    offset += (header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount)) * sizeof(RGBQUAD);
  }
  const size_t stride = ((static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  const size_t rows = static_cast<size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
  return offset + stride * rows <= size ? offset : 0;
}

}  // namespace

// The renderer says how large its image is when asked without a buffer; a
// renderer that does not answer that is given room for the largest form of
// the picture (32 bits a pixel after a header with masks and a palette).
bool PausedFrame::Take(IBasicVideo* video, int width, int height) {
  Drop();
  if (video == nullptr || width <= 0 || height <= 0) return false;
  long size = 0;
  if (FAILED(video->GetCurrentImage(&size, nullptr)) || size < static_cast<long>(sizeof(BITMAPINFOHEADER))) {
    const long long largest =
        sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD) + 256 * sizeof(RGBQUAD) + 4LL * width * height;
    if (largest > kMaxImageBytes) return false;
    size = static_cast<long>(largest);
  }
  std::vector<uint8_t> dib(static_cast<size_t>(size));
  if (FAILED(video->GetCurrentImage(&size, reinterpret_cast<long*>(dib.data())))) return false;
  const size_t offset = PixelsOffset(*reinterpret_cast<const BITMAPINFOHEADER*>(dib.data()), dib.size());
  if (offset == 0) return false;
  dib_ = std::move(dib);
  bitsOffset_ = offset;
  return true;
}

void PausedFrame::Paint(HDC dc, const RECT& target) const {
  if (!Held()) return;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib_.data());
  const LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                info->bmiHeader.biWidth, height, dib_.data() + bitsOffset_, info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace orves
