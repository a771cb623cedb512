// The panel's Play/Pause hotkey in-process: registered from the settings key for as long as the
// panel lives, named in Play's tooltip, and reported there when another window holds it.
#include "SnipDlgTestUtil.h"

#include "app/PlayHotkey.h"

#include <commctrl.h>

namespace {

// Ctrl+Shift+Alt+F12: nothing else on the test desktop uses it.
constexpr uint32_t kHotkey = 0x7B | ((kHotkeyfControl | kHotkeyfShift | kHotkeyfAlt) << 8);
constexpr int kTestHotkeyId = 0x4242;

bool RegisterTestHotkey() {
    return ::RegisterHotKey(nullptr, kTestHotkeyId, MOD_CONTROL | MOD_SHIFT | MOD_ALT, VK_F12);
}

// The text of the tooltip the panel shows over its Play button.
std::wstring PlayTooltipOf(HWND hPanel) {
    HWND hTooltip = nullptr;
    while ((hTooltip = ::FindWindowExW(nullptr, hTooltip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
        if (::GetWindow(hTooltip, GW_OWNER) == hPanel) {
            break;
        }
    }
    if (hTooltip == nullptr) {
        return L"(no tooltip)";
    }
    wchar_t szText[256] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = hPanel;
    info.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(hPanel, IDC_PLAY));
    info.lpszText = szText;
    ::SendMessageW(hTooltip, TTM_GETTEXTW, std::size(szText), reinterpret_cast<LPARAM>(&info));
    return szText;
}

}  // namespace

TEST_F(SnipDlgTest, PlayHotkeyIsHeldWhileThePanelLivesAndATakenOneIsNamedInTheTooltip) {
    ScratchKey().WriteInt(kPlayHotkeyValue, static_cast<int>(kHotkey));
    const HWND hPanel = OpenPanel().GetSafeHwnd();
    EXPECT_FALSE(RegisterTestHotkey()) << "the panel does not hold its hotkey";
    EXPECT_EQ(PlayTooltipOf(hPanel), L"Play/Pause (Ctrl+Shift+Alt+F12)");
    ClosePanel();

    // The hotkey went with the panel; held elsewhere, the next panel says so.
    ASSERT_TRUE(RegisterTestHotkey()) << "the closed panel still holds its hotkey";
    const HWND hNext = OpenPanel().GetSafeHwnd();
    EXPECT_EQ(PlayTooltipOf(hNext), L"Play/Pause (Ctrl+Shift+Alt+F12 is held by another program)");
    ClosePanel();
    ::UnregisterHotKey(nullptr, kTestHotkeyId);
}
