#include "player/window/SkinBitmap.h"

#include <cstring>

namespace orves {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint32_t U16(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
int32_t I32(std::string_view b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

struct BmpHeader {
  uint32_t pixelOffset = 0;
  uint32_t infoSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // positive: rows stored bottom-up
  uint32_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t paletteCount = 0;
};

bool Fail(std::string& error, const char* why) {
  error = why;
  return false;
}

bool ReadHeader(std::string_view b, BmpHeader& h, std::string& error) {
  if (b.size() < kFileHeaderSize + 12 || b[0] != 'B' || b[1] != 'M') return Fail(error, "not a BMP file");
  h.pixelOffset = U32(b, 10);
  h.infoSize = U32(b, kFileHeaderSize);
  if (h.infoSize == 12) {  // the old core header: 16-bit sizes
    h.width = U16(b, 18);
    h.height = static_cast<int16_t>(U16(b, 20));
    h.bitCount = U16(b, 24);
  } else {
    if (h.infoSize < 40 || b.size() < kFileHeaderSize + 40) return Fail(error, "BMP header too short");
    h.width = I32(b, 18);
    h.height = I32(b, 22);
    h.bitCount = U16(b, 28);
    h.compression = U32(b, 30);
    h.paletteCount = U32(b, 46);
  }
  return true;
}

bool CheckHeader(const BmpHeader& h, std::string& error) {
  const int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0 || rows <= 0) return Fail(error, "BMP has no pixels");
  if (h.width > kMaxBitmapSide || rows > kMaxBitmapSide || h.width * rows > kMaxBitmapPixels) {
    return Fail(error, "BMP too large");
  }
  const bool paletted = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8;
  if (!paletted && h.bitCount != 24 && h.bitCount != 32) return Fail(error, "BMP pixel format not supported");
  if (h.compression != kBiRgb && !(h.compression == kBiBitfields && h.bitCount == 32)) {
    return Fail(error, "compressed BMP not supported");
  }
  return true;
}

// The standard 32-bit masks (red 0xFF0000, green 0xFF00, blue 0xFF) are the
// only bit fields read; others would need shifting per channel.
bool CheckMasks(std::string_view b, const BmpHeader& h, std::string& error) {
  if (h.compression != kBiBitfields) return true;
  const size_t masks = kFileHeaderSize + 40;
  if (b.size() < masks + 12) return Fail(error, "BMP header too short");
  if (U32(b, masks) != 0xFF0000u || U32(b, masks + 4) != 0xFF00u || U32(b, masks + 8) != 0xFFu) {
    return Fail(error, "BMP colour masks not supported");
  }
  return true;
}

bool ReadPalette(std::string_view b, const BmpHeader& h, std::vector<uint32_t>& palette, std::string& error) {
  if (h.bitCount > 8) return true;
  const uint32_t maxEntries = 1u << h.bitCount;
  const uint32_t count = h.paletteCount == 0 || h.paletteCount > maxEntries ? maxEntries : h.paletteCount;
  const size_t entrySize = h.infoSize == 12 ? 3 : 4;
  const size_t start = kFileHeaderSize + h.infoSize;
  if (start > b.size() || (b.size() - start) / entrySize < count) return Fail(error, "BMP palette cut short");
  palette.assign(maxEntries, 0);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = start + i * entrySize;
    palette[i] = static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
                 static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
                 static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16;
  }
  return true;
}

uint32_t PixelAt(const uint8_t* row, int x, uint32_t bitCount, const std::vector<uint32_t>& palette) {
  switch (bitCount) {
    case 32:
    case 24: {
      const uint8_t* p = row + static_cast<size_t>(x) * (bitCount / 8);
      return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
             static_cast<uint32_t>(p[2]) << 16;
    }
    default: {
      const size_t bit = static_cast<size_t>(x) * bitCount;
      const uint32_t shift = 8 - bitCount - static_cast<uint32_t>(bit % 8);
      return palette[(row[bit / 8] >> shift) & ((1u << bitCount) - 1)];
    }
  }
}

}  // namespace

bool DecodeBmp(std::string_view bytes, SkinBitmap& out, std::string& error) {
  BmpHeader h;
  std::vector<uint32_t> palette;
  if (!ReadHeader(bytes, h, error) || !CheckHeader(h, error) || !CheckMasks(bytes, h, error) ||
      !ReadPalette(bytes, h, palette, error)) {
    return false;
  }
  const int width = static_cast<int>(h.width);
  const int height = static_cast<int>(h.height < 0 ? -h.height : h.height);
  const size_t stride = ((static_cast<size_t>(width) * h.bitCount + 31) / 32) * 4;
  if (h.pixelOffset > bytes.size() || (bytes.size() - h.pixelOffset) / stride < static_cast<size_t>(height)) {
    return Fail(error, "BMP pixels cut short");
  }
  SkinBitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.pixels.resize(static_cast<size_t>(width) * height);
  const auto* base = reinterpret_cast<const uint8_t*>(bytes.data()) + h.pixelOffset;
  for (int y = 0; y < height; ++y) {
    const int stored = h.height < 0 ? y : height - 1 - y;
    const uint8_t* row = base + static_cast<size_t>(stored) * stride;
    uint32_t* target = bitmap.pixels.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) target[x] = PixelAt(row, x, h.bitCount, palette);
  }
  out = std::move(bitmap);
  return true;
}

}  // namespace orves
