// Click shifts typed into the Target Editor: reading them and what the fields accept.
// Platform-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Skips leading blanks, takes an optional sign and the decimal digits that follow, and stops at
// the first other character; text without digits gives 0. Values beyond int saturate at its
// limits instead of wrapping.
int LeadingInt(std::wstring_view text);

// The text of a click-shift field after the user replaces its characters [nSelStart, nSelEnd)
// with `inserted` (a typed character or pasted text), when the result is still an optional
// leading minus sign followed by decimal digits; nothing when it would not be, so the field
// keeps its text. Inserted text loses its surrounding blanks first (a copied "-16\r\n" is
// -16; blanks alone are refused); a selection out of order or beyond the text is put in order and
// clipped.
std::optional<std::wstring> EditShiftText(std::wstring_view current, size_t nSelStart,
                                          size_t nSelEnd, std::wstring_view inserted);
