// Conversions between the model's UTF-16 strings and Win32's wide strings (the same code units
// on Windows).
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string ToUtf16(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
