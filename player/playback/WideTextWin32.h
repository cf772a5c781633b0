#pragma once
// UTF-8 <-> UTF-16 for the Windows side of playback (portable code keeps
// UTF-8 texts; Win32 calls take wide ones).
#include <windows.h>

#include <string>

namespace orves {

inline std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

inline std::string Utf8FromWide(const wchar_t* text, size_t length) {
  if (!text || length == 0) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
  return out;
}

inline std::string Utf8FromWide(const std::wstring& text) { return Utf8FromWide(text.data(), text.size()); }

// A UTF-8 text in the system's ANSI code page, or empty when the code page
// cannot hold every character (no best-fit look-alikes, no '?').
inline std::string ExactAnsiFromUtf8(const std::string& text) {
  const std::wstring wide = WideFromUtf8(text);
  if (wide.empty()) return {};
  BOOL lossy = FALSE;
  const int length = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, out.data(), n, nullptr, &lossy);
  return lossy ? std::string() : out;
}

}  // namespace orves
