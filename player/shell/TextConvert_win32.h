#pragma once
// Conversions at the edge between the portable code and the wide Win32 calls:
// paths and profile texts are bytes in the system's ANSI code page, on-screen
// messages and the media control's file names are UTF-8.
#include <string>
#include <string_view>

namespace orves {

std::wstring AnsiToWide(std::string_view ansi);
// Characters the code page cannot hold become the code page's default character.
std::string WideToAnsi(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace orves
