#include "soundproc/frame/AnsiText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zmsp {

#ifdef _WIN32

bool WideToAnsi(const std::wstring& wide, std::string& ansi) {
  ansi.clear();
  if (wide.empty()) return true;
  const int length = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  ansi.resize(static_cast<std::size_t>(bytes));
  return WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), bytes, nullptr, nullptr) == bytes;
}

#else

bool WideToAnsi(const std::wstring& wide, std::string& ansi) {
  ansi.clear();
  for (wchar_t ch : wide) {
    auto code = static_cast<char32_t>(ch);
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code < 0x80) {
      ansi += static_cast<char>(code);
    } else if (code < 0x800) {
      ansi += static_cast<char>(0xC0 | (code >> 6));
      ansi += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      ansi += static_cast<char>(0xE0 | (code >> 12));
      ansi += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      ansi += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      ansi += static_cast<char>(0xF0 | (code >> 18));
      ansi += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      ansi += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      ansi += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return true;
}

#endif

}  // namespace zmsp
