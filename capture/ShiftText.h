// Reading a click shift typed into the Target Editor. Platform-free.
#pragma once

#include <string_view>

// Skips leading blanks, takes an optional sign and the decimal digits that follow, and stops at
// the first other character; text without digits gives 0. Values beyond int saturate at its
// limits instead of wrapping.
int LeadingInt(std::wstring_view text);

// `nBase` + `nShift` saturated to int: a found centre plus a typed shift.
int AddShift(int nBase, int nShift);
