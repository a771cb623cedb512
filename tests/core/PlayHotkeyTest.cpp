// The Play/Pause hotkey value: what a stored value means, its modifiers and its text.
#include "app/PlayHotkey.h"

#include <gtest/gtest.h>

namespace {

struct CStoredCase {
    bool bPresent;
    int32_t nStored;
    uint32_t nHotkey;
    uint32_t nModifiers;
    const wchar_t* pszText;
};

TEST(PlayHotkeyTest, StoredValuesGiveTheirHotkeyModifiersAndText) {
    const CStoredCase kCases[] = {
        {false, 0, 0x0377, kModControl | kModShift, L"Ctrl+Shift+F8"},
        {true, 0, 0, 0, L"None"},
        {true, 0x0141, 0x0141, kModShift, L"Shift+A"},
        {true, 0x0230, 0x0230, kModControl, L"Ctrl+0"},
        {true, 0x0479, 0x0479, kModAlt, L"Alt+F10"},
        // The extended-key flag of the arrows and the navigation block adds no modifier.
        {true, 0x0E2E, 0x0E2E, kModControl | kModAlt, L"Ctrl+Alt+Delete"},
        {true, 0x0787, 0x0787, kModControl | kModShift | kModAlt, L"Ctrl+Shift+Alt+F24"},
        {true, 0x0013, 0x0013, 0, L"Pause"},
        {true, 0x0065, 0x0065, 0, L"Num 5"},
        {true, 0x00FF, 0x00FF, 0, L"Key 0xFF"},
        // Not hotkeys: flags beyond the known four, bits above the flag byte, flags with no key.
        {true, 0x1077, 0, 0, L"None"},
        {true, 0x10377, 0, 0, L"None"},
        {true, -1, 0, 0, L"None"},
        {true, 0x0300, 0, 0, L"None"},
    };
    for (const CStoredCase& c : kCases) {
        SCOPED_TRACE(testing::Message()
                     << "stored " << c.bPresent << " 0x" << std::hex << c.nStored);
        const uint32_t nHotkey = PlayHotkeyFromStored(c.bPresent, c.nStored);
        EXPECT_EQ(nHotkey, c.nHotkey);
        EXPECT_EQ(HotkeyModifiers(nHotkey), c.nModifiers);
        EXPECT_EQ(HotkeyText(nHotkey), c.pszText);
    }
}

}  // namespace
