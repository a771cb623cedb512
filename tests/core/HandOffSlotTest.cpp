// The hand-off slot: which paths a second start may write, and what the running instance reads.
#include <gtest/gtest.h>

#include "app/HandOffSlot.h"

#include <array>
#include <string>

namespace {

using Slot = std::array<char16_t, kHandOffSlotUnits>;

Slot SlotHolding(const std::u16string& units) {
    Slot slot{};
    std::copy(units.begin(), units.begin() + std::min(units.size(), slot.size()), slot.begin());
    return slot;
}

}  // namespace

TEST(HandOffSlot, PathsAreCheckedBeforeTheyAreHandedOver) {
    const struct {
        std::u16string strPath;
        HandOffPathCheck expected;
    } cases[] = {
        {u"C:\\lists\\my list.trvk", HandOffPathCheck::Fits},
        {std::u16string(259, u'a'), HandOffPathCheck::Fits},
        {std::u16string(260, u'a'), HandOffPathCheck::TooLong},
        {std::u16string(300, u'a'), HandOffPathCheck::TooLong},
        {u"", HandOffPathCheck::Empty},
        {std::u16string(u"C:\\a\0b", 6), HandOffPathCheck::HasNul},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckHandOffPath(c.strPath), c.expected) << c.strPath.size() << " units";
        Slot slot = SlotHolding(u"old");
        const bool bWritten = WriteHandOffSlot(c.strPath, slot.data(), slot.size());
        EXPECT_EQ(bWritten, c.expected == HandOffPathCheck::Fits);
        const HandOffSlotReading reading = ReadHandOffSlot(slot.data(), slot.size());
        // A refused path leaves the slot as it was; a written one reads back whole.
        EXPECT_EQ(reading.state, HandOffSlotState::Path);
        EXPECT_EQ(reading.strPath, bWritten ? c.strPath : u"old");
    }
}

TEST(HandOffSlot, WritingClearsWhatALongerPathLeftBehind) {
    Slot slot = SlotHolding(std::u16string(200, u'x'));
    ASSERT_TRUE(WriteHandOffSlot(u"C:\\a.trvk", slot.data(), slot.size()));
    EXPECT_TRUE(std::all_of(slot.begin() + 9, slot.end(), [](char16_t c) { return c == 0; }));
    // A buffer too small for the path and its terminator is left alone.
    std::array<char16_t, 4> tiny{u'z', u'z', u'z', u'z'};
    EXPECT_FALSE(WriteHandOffSlot(u"C:\\a", tiny.data(), tiny.size()));
    EXPECT_EQ(tiny[0], u'z');
}

TEST(HandOffSlot, SlotsAreReadWithinTheirUnitsOnly) {
    const struct {
        std::u16string strUnits;
        size_t nUnits;
        HandOffSlotState expected;
        std::u16string strPath;
    } cases[] = {
        {u"", kHandOffSlotUnits, HandOffSlotState::Empty, u""},
        {u"C:\\x.trvk", kHandOffSlotUnits, HandOffSlotState::Path, u"C:\\x.trvk"},
        {std::u16string(259, u'p'), kHandOffSlotUnits, HandOffSlotState::Path,
         std::u16string(259, u'p')},
        // No terminator among the 260 units: junk, even if a 0 comes after them.
        {std::u16string(260, u'j'), kHandOffSlotUnits + 1, HandOffSlotState::Unterminated, u""},
        {std::u16string(260, u'j'), kHandOffSlotUnits, HandOffSlotState::Unterminated, u""},
        // A shorter buffer is read within its own units.
        {u"abcd", 4, HandOffSlotState::Unterminated, u""},
        {u"abc", 4, HandOffSlotState::Path, u"abc"},
        {u"abc", 0, HandOffSlotState::Empty, u""},
    };
    for (const auto& c : cases) {
        std::u16string buffer = c.strUnits;
        buffer.resize(std::max(buffer.size(), c.nUnits) + 1, u'\0');
        const HandOffSlotReading reading = ReadHandOffSlot(buffer.data(), c.nUnits);
        EXPECT_EQ(reading.state, c.expected) << c.strUnits.size() << " units in " << c.nUnits;
        EXPECT_EQ(reading.strPath, c.strPath);
    }
    EXPECT_EQ(ReadHandOffSlot(nullptr, 10).state, HandOffSlotState::Empty);
}

TEST(HandOffSlot, LongPathsAreShownInLinesBrokenBetweenCodePoints) {
    const std::u16string pair = u"\U0001F600";  // one code point, two units
    const struct {
        std::u16string strText;
        size_t nWidth;
        std::u16string strLines;
    } cases[] = {
        {u"", 4, u""},
        {u"abcdefghij", 4, u"abcd\nefgh\nij"},
        {u"abcdefgh", 4, u"abcd\nefgh"},
        // A pair that would be cut goes whole to the next line.
        {u"abc" + pair + u"de", 4, u"abc\n" + pair + u"de"},
        {u"ab" + pair + u"cdef", 4, u"ab" + pair + u"\ncdef"},
        // A line one unit wide holds a pair whole.
        {pair + u"a", 1, pair + u"\na"},
        // A lone surrogate is cut like any unit.
        {std::u16string(u"abc\xD800") + u"de", 4, std::u16string(u"abc\xD800") + u"\nde"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakIntoLines(c.strText, c.nWidth), c.strLines)
            << c.strText.size() << " units in lines of " << c.nWidth;
    }
}
