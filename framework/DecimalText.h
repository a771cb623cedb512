// Strict conversion of an edit field's text to an int, as the dialogs' data exchange needs it.
// Platform-free: does not include <windows.h>.
#pragma once

#include <optional>
#include <string_view>

// Reads optional blanks, an optional sign, one or more decimal digits and optional blanks.
// Anything else, no digits at all, or a value outside int gives nothing, so that a dialog can
// refuse the field instead of storing a half-read number.
std::optional<int> ParseDecimalInt(std::wstring_view text);
