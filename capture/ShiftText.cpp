// Typed click shifts: the lenient conversion of the Target Editor's fields and what they accept.
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

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsSignedDigits(std::wstring_view text) {
    if (!text.empty() && text.front() == L'-') {
        text.remove_prefix(1);
    }
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; });
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

std::optional<std::wstring> EditShiftText(std::wstring_view current, size_t nSelStart,
                                          size_t nSelEnd, std::wstring_view inserted) {
    const size_t nFirst = std::min({nSelStart, nSelEnd, current.size()});
    const size_t nLast = std::min(std::max(nSelStart, nSelEnd), current.size());
    const std::wstring_view trimmed = TrimBlanks(inserted);
    if (trimmed.empty() && !inserted.empty()) {
        return std::nullopt;  // a blank alone is refused, not taken as a deletion
    }
    std::wstring result(current.substr(0, nFirst));
    result += trimmed;
    result += current.substr(nLast);
    if (!IsSignedDigits(result)) {
        return std::nullopt;
    }
    return result;
}
