// The path slot's rules: what a second start may write and what the running instance accepts.
#include "app/HandOffSlot.h"

#include <algorithm>

HandOffPathCheck CheckHandOffPath(std::u16string_view path) {
    if (path.empty()) {
        return HandOffPathCheck::Empty;
    }
    if (path.find(u'\0') != std::u16string_view::npos) {
        return HandOffPathCheck::HasNul;
    }
    if (path.size() > kHandOffMaxPathUnits) {
        return HandOffPathCheck::TooLong;
    }
    return HandOffPathCheck::Fits;
}

HandOffSlotReading ReadHandOffSlot(const char16_t* pUnits, std::size_t nUnits) {
    HandOffSlotReading reading;
    const std::size_t nLooked = std::min(nUnits, kHandOffSlotUnits);
    if (pUnits == nullptr || nLooked == 0 || pUnits[0] == u'\0') {
        return reading;
    }
    const char16_t* pEnd = pUnits + nLooked;
    const char16_t* pTerminator = std::find(pUnits, pEnd, u'\0');
    if (pTerminator == pEnd) {
        reading.state = HandOffSlotState::Unterminated;
        return reading;
    }
    reading.state = HandOffSlotState::Path;
    reading.strPath.assign(pUnits, pTerminator);
    return reading;
}

bool WriteHandOffSlot(std::u16string_view path, char16_t* pUnits, std::size_t nUnits) {
    if (CheckHandOffPath(path) != HandOffPathCheck::Fits || pUnits == nullptr ||
        path.size() >= nUnits) {
        return false;
    }
    std::copy(path.begin(), path.end(), pUnits);
    std::fill(pUnits + path.size(), pUnits + nUnits, u'\0');
    return true;
}

std::u16string BreakIntoLines(std::u16string_view text, std::size_t nWidth) {
    const auto isHigh = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    const auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    std::u16string lines;
    for (std::size_t nStart = 0; nStart < text.size();) {
        std::size_t nLength = std::min(std::max<std::size_t>(nWidth, 1), text.size() - nStart);
        const std::size_t nEnd = nStart + nLength;
        if (nEnd < text.size() && isHigh(text[nEnd - 1]) && isLow(text[nEnd])) {
            nLength = nLength == 1 ? 2 : nLength - 1;
        }
        if (nStart != 0) {
            lines += u'\n';
        }
        lines.append(text.substr(nStart, nLength));
        nStart += nLength;
    }
    return lines;
}
