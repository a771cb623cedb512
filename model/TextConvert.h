// Conversions between the program's UTF-16 strings and UTF-8 for consoles and logs.
#pragma once

#include <string>
#include <string_view>

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
