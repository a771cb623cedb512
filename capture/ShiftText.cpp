// Reading a typed click shift: the lenient conversion of the Target Editor's fields.
#include "capture/ShiftText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr int64_t kIntMin = std::numeric_limits<int>::min();
constexpr int64_t kIntMax = std::numeric_limits<int>::max();

bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\r' || ch == L'\v' || ch == L'\f';
}

}  // namespace

int LeadingInt(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool bNegative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        bNegative = text[i] == L'-';
        ++i;
    }
    int64_t nValue = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        // Past int's range further digits change nothing: the result saturates.
        nValue = std::min(nValue * 10 + (text[i] - L'0'), kIntMax + 1);
    }
    return static_cast<int>(std::clamp(bNegative ? -nValue : nValue, kIntMin, kIntMax));
}

int AddShift(int nBase, int nShift) {
    return static_cast<int>(std::clamp(int64_t{nBase} + nShift, kIntMin, kIntMax));
}
