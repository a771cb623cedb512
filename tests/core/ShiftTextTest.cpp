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

TEST(ShiftTextTest, FieldsAcceptDigitsAfterAnOptionalLeadingMinusOnly) {
    struct Case {
        const wchar_t* pszCurrent;
        size_t nSelStart, nSelEnd;
        const wchar_t* pszInserted;
        const wchar_t* pszResult;  // nullptr: refused, the field keeps its text
    };
    const Case cases[] = {
        {L"16", 0, 0, L"-", L"-16"},       // a minus typed in front
        {L"", 0, 0, L"-", L"-"},           // on the way to a number
        {L"16", 1, 1, L"-", nullptr},      // not inside the number
        {L"16", 2, 2, L"-", nullptr},      // nor behind it
        {L"-16", 0, 0, L"-", nullptr},     // nor a second one
        {L"-16", 1, 1, L"-", nullptr},     //
        {L"-16", 0, 1, L"-", L"-16"},      // replacing the old one
        {L"-16", 0, 0, L"5", nullptr},     // no digit before the sign
        {L"-16", 1, 1, L"5", L"-516"},     //
        {L"12", 0, 2, L"7", L"7"},         // the selection is replaced
        {L"12", 2, 0, L"7", L"7"},         // in either order
        {L"12", 5, 9, L"3", L"123"},       // clipped to the text
        {L"12", 2, 2, L"a", nullptr},      // letters, a plus sign, separators
        {L"12", 2, 2, L"+", nullptr},      //
        {L"1", 1, 1, L",", nullptr},       //
        {L"1", 1, 1, L" ", nullptr},       // a blank alone
        {L"", 0, 0, L"-16", L"-16"},       // pasted
        {L"", 0, 0, L" -16\r\n", L"-16"},  // pasted with blanks around
        {L"", 0, 0, L"- 16", nullptr},     // a blank inside
        {L"", 0, 0, L"16px", nullptr},     //
        {L"8", 0, 0, L"-1", L"-18"},       //
        {L"8", 1, 1, L"-1", nullptr},      //
        {L"-5", 0, 2, L"", L""},           // a deletion
    };
    for (const Case& c : cases) {
        const std::optional<std::wstring> result =
            EditShiftText(c.pszCurrent, c.nSelStart, c.nSelEnd, c.pszInserted);
        const std::wstring strWhat = std::wstring(c.pszCurrent) + L" [" +
                                     std::to_wstring(c.nSelStart) + L"," +
                                     std::to_wstring(c.nSelEnd) + L") <- " + c.pszInserted;
        if (c.pszResult == nullptr) {
            EXPECT_FALSE(result) << std::string(strWhat.begin(), strWhat.end());
        } else {
            EXPECT_EQ(result, std::optional<std::wstring>(c.pszResult))
                << std::string(strWhat.begin(), strWhat.end());
        }
    }
}

}  // namespace
