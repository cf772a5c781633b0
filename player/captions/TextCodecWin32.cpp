// The Windows codec: CP949 and UTF-8 both go through UTF-16 with the
// system's conversion functions (code page 949 is present on every Windows).
#include <windows.h>

#include "player/captions/TextCodec.h"

namespace orves {
namespace {

constexpr UINT kKoreanCodePage = 949;

std::wstring ToWide(UINT codePage, std::string_view bytes, DWORD flags) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), n);
  return wide;
}

class Win32TextCodec final : public ITextCodec {
 public:
  std::string Cp949ToUtf8(std::string_view cp949) override {
    // Without MB_ERR_INVALID_CHARS invalid bytes become replacement characters.
    const std::wstring wide = ToWide(kKoreanCodePage, cp949, 0);
    return FromWide(CP_UTF8, wide, nullptr);
  }

  std::optional<std::string> Utf8ToCp949(std::string_view utf8) override {
    if (utf8.empty()) return std::string();
    const std::wstring wide = ToWide(CP_UTF8, utf8, MB_ERR_INVALID_CHARS);
    if (wide.empty()) return std::nullopt;
    BOOL usedDefault = FALSE;
    std::string out = FromWide(kKoreanCodePage, wide, &usedDefault);
    if (usedDefault || out.empty()) return std::nullopt;
    return out;
  }

 private:
  static std::string FromWide(UINT codePage, const std::wstring& wide, BOOL* usedDefault) {
    if (wide.empty()) return {};
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
    if (n <= 0) return {};
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, usedDefault);
    return out;
  }
};

}  // namespace

std::unique_ptr<ITextCodec> MakeSystemTextCodec() { return std::make_unique<Win32TextCodec>(); }

}  // namespace orves
