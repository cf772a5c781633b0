// UTF-8 (the codecs module's text) to the wide strings COM interfaces hand
// out: UTF-16 on Windows, UTF-32 where wchar_t is 32 bits (the native build).
#pragma once

#include <string>
#include <string_view>

namespace orves::codecs {

// Invalid sequences become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

}  // namespace orves::codecs
