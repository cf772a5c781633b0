#include "player/core/TextConvert_win32.h"

#include <climits>

namespace orves {

namespace {

bool FitsInt(size_t size) { return size <= static_cast<size_t>(INT_MAX); }

std::wstring Widen(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty() || !FitsInt(text.size())) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
  return wide;
}

// `usedDefault` must be null for UTF-8 (the system rejects it there).
std::string Narrow(UINT codePage, DWORD flags, std::wstring_view wide, BOOL* usedDefault) {
  if (wide.empty() || !FitsInt(wide.size())) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
  if (length <= 0) {
    return {};
  }
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, usedDefault);
  return text;
}

}  // namespace

std::wstring ToWide(UINT codePage, std::string_view text) { return Widen(codePage, 0, text); }

std::string FromWide(UINT codePage, std::wstring_view wide) { return Narrow(codePage, 0, wide, nullptr); }

std::optional<std::wstring> ExactToWide(UINT codePage, std::string_view text) {
  if (text.empty()) {
    return std::wstring();
  }
  std::wstring wide = Widen(codePage, MB_ERR_INVALID_CHARS, text);
  if (wide.empty()) {
    return std::nullopt;
  }
  return wide;
}

std::optional<std::string> ExactFromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) {
    return std::string();
  }
  if (codePage == CP_UTF8) {
    // Every character has a UTF-8 form; only a lone surrogate fails.
    std::string text = Narrow(codePage, WC_ERR_INVALID_CHARS, wide, nullptr);
    if (text.empty()) {
      return std::nullopt;
    }
    return text;
  }
  BOOL usedDefault = FALSE;
  std::string text = Narrow(codePage, WC_NO_BEST_FIT_CHARS, wide, &usedDefault);
  if (usedDefault || text.empty()) {
    return std::nullopt;
  }
  return text;
}

std::wstring AnsiToWide(std::string_view ansi) { return ToWide(CP_ACP, ansi); }
std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

}  // namespace orves
