#pragma once
// Conversion between the Korean code page (CP949, the de-facto encoding of
// Korean caption files) and UTF-8, the encoding every text has once it leaves
// the caption reader. One small interface with one implementation per
// platform: MultiByteToWideChar/WideCharToMultiByte on Windows, iconv natively.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orves {

class ITextCodec {
 public:
  virtual ~ITextCodec() = default;

  // CP949 bytes to UTF-8. Bytes that do not form a CP949 character become
  // U+FFFD, so a damaged file still shows the rest of its text.
  virtual std::string Cp949ToUtf8(std::string_view cp949) = 0;

  // UTF-8 (valid) to CP949; nothing when some character has no CP949 form.
  virtual std::optional<std::string> Utf8ToCp949(std::string_view utf8) = 0;
};

// The platform's codec (defined in TextCodecIconv.cpp or TextCodec_win32.cpp).
std::unique_ptr<ITextCodec> MakeSystemTextCodec();

// The system's ANSI code page, the byte format of the profile files while
// their texts fit it: the code page Windows runs with, and natively (tests,
// tools) the Korean code page of the target systems. Bytes the code page
// does not define become U+FFFD; a UTF-8 text with a character the code page
// has no exact form for (no best-fit look-alikes) has no ANSI form.
std::string AnsiToUtf8(std::string_view ansi);
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

}  // namespace orves
