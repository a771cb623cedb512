// The path slot of the shared hand-off block: what fits into it and how a slot's units are read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 units of the slot, the terminating 0 included.
inline constexpr std::size_t kHandOffSlotUnits = 260;
// The longest path the slot holds.
inline constexpr std::size_t kHandOffMaxPathUnits = kHandOffSlotUnits - 1;

enum class HandOffPathCheck {
    Fits,
    Empty,
    // Longer than kHandOffMaxPathUnits: refused, since a cut path can name another file.
    TooLong,
    // Holds a 0 unit, which would end the path early in the slot.
    HasNul,
};

// Whether `path` can be handed over through the slot unchanged.
HandOffPathCheck CheckHandOffPath(std::u16string_view path);

enum class HandOffSlotState {
    Empty,         // first unit 0
    Path,          // a terminated path
    Unterminated,  // no 0 among the slot's units: junk, to be cleared and ignored
};

struct HandOffSlotReading {
    HandOffSlotState state = HandOffSlotState::Empty;
    std::u16string strPath;  // set for HandOffSlotState::Path
};

// Reads a slot of `nUnits` units; at most kHandOffSlotUnits of them are looked at, so a slot
// without a terminator there is Unterminated even when a 0 follows later.
HandOffSlotReading ReadHandOffSlot(const char16_t* pUnits, std::size_t nUnits);

// Writes `path` and its terminator to the start of `pUnits` (`nUnits` long) and zeroes the rest.
// False, with `pUnits` untouched, unless CheckHandOffPath says Fits and the path fits `nUnits`.
bool WriteHandOffSlot(std::u16string_view path, char16_t* pUnits, std::size_t nUnits);

// `text` in lines of at most `nWidth` units joined by '\n', for a message that shows a long path
// (a message box does not break a path). A line never ends inside a surrogate pair: it ends one
// unit early then, or holds the whole pair when `nWidth` is 1.
std::u16string BreakIntoLines(std::u16string_view text, std::size_t nWidth);
