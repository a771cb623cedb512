// Tests of reading the Target Editor's typed shifts.
#include "capture/ShiftText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(ShiftTextTest, LeadingIntReadsBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
    struct Case {
        std::wstring strText;
        int nValue;
    };
    const Case cases[] = {
        {L"", 0},
        {L"abc", 0},
        {L"-", 0},
        {L"12", 12},
        {L"  -7", -7},
        {L"+5", 5},
        {L"1500", 1500},
        {L"1,500", 1},  // a separator stops
        {L"1 500", 1},
        {L"-3000", -3000},
        {L"42px", 42},
        {L"- 4", 0},
        {L"2147483647", INT_MAX},
        {L"99999999999999999999", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingInt(c.strText), c.nValue)
            << std::string(c.strText.begin(), c.strText.end());
    }
}

TEST(ShiftTextTest, AddShiftSaturates) {
    EXPECT_EQ(AddShift(100, 10), 110);
    EXPECT_EQ(AddShift(100, -5), 95);
    EXPECT_EQ(AddShift(INT_MAX, 1), INT_MAX);
    EXPECT_EQ(AddShift(INT_MIN, -1), INT_MIN);
}

}  // namespace
