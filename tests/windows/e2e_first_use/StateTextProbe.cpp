// Draws a text as the player's state text draws it (the face "굴림" at 11
// pixels, anti-aliased, light grey #CCCCCC on black) into a 24-bit bitmap, so
// a script can measure the message it expects the same way it measures the
// screen; also prints the system's ANSI code page.
//   state_text_probe OUT.bmp TEXT     (TEXT as the command line gives it)
// Exit status 0 on success, 1 when the bitmap cannot be written, 2 for bad
// arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kMargin = 4;

bool WriteBitmap(const wchar_t* path, HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a file keeps it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  if (!GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS)) return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count != 3) {
    std::fputs("usage: state_text_probe OUT.bmp TEXT\n", stderr);
    return 2;
  }
  const std::wstring text = args[2];
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"굴림");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  const int width = size.cx + 2 * kMargin;
  const int height = size.cy + 2 * kMargin;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0xCC, 0xCC, 0xCC));
  TextOutW(dc, kMargin, kMargin, text.c_str(), static_cast<int>(text.size()));
  SelectObject(dc, oldBitmap);
  const bool written = WriteBitmap(args[1], dc, bitmap, width, height);
  SelectObject(dc, oldFont);
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteDC(dc);
  LocalFree(args);
  std::printf("%u\n", GetACP());
  return written ? 0 : 1;
}
