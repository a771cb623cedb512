// Strict conversion of an edit field's text to an int.
#include "framework/DecimalText.h"

#include <limits>

namespace {

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

}  // namespace

std::optional<int> ParseDecimalInt(std::wstring_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    // long long holds the magnitude of INT_MIN, so both signs share one overflow test.
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    long long magnitude = 0;
    const std::size_t digitsStart = pos;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
        magnitude = magnitude * 10 + (text[pos] - L'0');
        if (magnitude > limit) {
            return std::nullopt;
        }
        ++pos;
    }
    if (pos == digitsStart) {
        return std::nullopt;
    }
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
