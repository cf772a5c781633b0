#pragma once
// The one place where text crosses between byte encodings and the wide Win32
// calls: paths, profile texts, on-screen messages and the media control's
// file names are UTF-8 inside the player, caption files are CP949 or UTF-8,
// and the profile files hold the system's ANSI code page or UTF-16.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace orves {

// Any code page (CP_ACP, CP_UTF8, 949, ...) to UTF-16 and back. ToWide turns
// bytes the code page does not define into replacement characters; FromWide
// turns characters it cannot hold into the code page's default character.
// A text longer than an int can count converts to an empty one.
std::wstring ToWide(UINT codePage, std::string_view text);
std::string FromWide(UINT codePage, std::wstring_view wide);

// The exact forms: no value when a byte is not valid in the code page, or
// when a character has no exact counterpart in it (no best-fit look-alikes).
std::optional<std::wstring> ExactToWide(UINT codePage, std::string_view text);
std::optional<std::string> ExactFromWide(UINT codePage, std::wstring_view wide);

std::wstring AnsiToWide(std::string_view ansi);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace orves
