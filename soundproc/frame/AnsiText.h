// Wide text to the system's ANSI code page (UTF-8 natively).
#pragma once

#include <string>

namespace zmsp {

// False when the text cannot be converted.
bool WideToAnsi(const std::wstring& wide, std::string& ansi);

}  // namespace zmsp
