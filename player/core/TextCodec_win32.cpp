// The Windows codec: CP949 and UTF-8 both go through UTF-16 with the
// system's conversion functions (code page 949 is present on every Windows).
#include <windows.h>

#include "player/core/TextCodec.h"
#include "player/core/TextConvert_win32.h"

namespace orves {
namespace {

constexpr UINT kKoreanCodePage = 949;

class Win32TextCodec final : public ITextCodec {
 public:
  std::string Cp949ToUtf8(std::string_view cp949) override {
    // Bytes that are not CP949 become replacement characters.
    return WideToUtf8(ToWide(kKoreanCodePage, cp949));
  }

  std::optional<std::string> Utf8ToCp949(std::string_view utf8) override {
    const std::optional<std::wstring> wide = ExactToWide(CP_UTF8, utf8);
    if (!wide) return std::nullopt;
    return ExactFromWide(kKoreanCodePage, *wide);
  }
};

}  // namespace

std::unique_ptr<ITextCodec> MakeSystemTextCodec() { return std::make_unique<Win32TextCodec>(); }

std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(ToWide(CP_ACP, ansi)); }

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
  const std::optional<std::wstring> wide = ExactToWide(CP_UTF8, utf8);
  if (!wide) return std::nullopt;
  return ExactFromWide(CP_ACP, *wide);
}

}  // namespace orves
