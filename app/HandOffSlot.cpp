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
