// The panel's settings in-process: the Edit button's dialog and what the panel takes from it at
// once, and the Play/Pause hotkey, registered for as long as the panel lives, named in Play's
// tooltip, and reported there when another window holds it.
#include "SnipDlgTestUtil.h"

#include "app/PlayHotkey.h"
#include "app/SettingsDlg.h"
#include "app/StartupSettings.h"
#include "engine/SightWnd.h"

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

// Answers the settings dialog with a button as soon as it shows in the panel's modal loop.
UINT g_nSettingsAnswer = IDCANCEL;
void CALLBACK AnswerSettings(HWND, UINT, UINT_PTR uTimer, DWORD) {
    const HWND hDialog = ::FindWindowW(L"#32770", L"Tarvik Settings");
    if (hDialog != nullptr && ::IsWindowVisible(hDialog)) {
        ::KillTimer(nullptr, uTimer);
        ::PostMessageW(hDialog, WM_COMMAND, g_nSettingsAnswer, 0);
    }
}

void RunSettings(CSnipDlg& panel, UINT nAnswer) {
    g_nSettingsAnswer = nAnswer;
    const UINT_PTR uTimer = ::SetTimer(nullptr, 0, 10, AnswerSettings);
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EDIT, BN_CLICKED),
                      reinterpret_cast<LPARAM>(panel.GetDlgItem(IDC_EDIT)));
    ::KillTimer(nullptr, uTimer);
}

// The real autorun value, put back as it was when the test ends.
class CAutorunKept {
public:
    CAutorunKept() { CRegistryKey::AutorunKey().ReadString(kAutorunValue, m_strSaved, kMissing); }
    ~CAutorunKept() {
        if (m_strSaved == kMissing) {
            CRegistryKey::AutorunKey().DeleteValue(kAutorunValue);
        } else {
            CRegistryKey::AutorunKey().WriteString(kAutorunValue, m_strSaved);
        }
    }

private:
    static constexpr wchar_t kMissing[] = L"\x01missing";
    std::wstring m_strSaved;
};

}  // namespace

TEST_F(SnipDlgTest, EditRunsTheSettingsWhoseMetroSwitchTakesEffectAtOnceAfterCancelOrOk) {
    const CAutorunKept autorunKept;
    CSnipDlg& panel = OpenPanel();
    // Metro mode keeps the marker hidden: the panel's switch seen from outside.
    const auto sightShown = [&] {
        panel.ShowSightForTest(300, 300);
        const bool bShown = panel.SightWnd()->IsWindowVisible();
        panel.SightWnd()->ShowWindow(SW_HIDE);
        return bShown;
    };
    ASSERT_TRUE(sightShown());

    // Cancel stores nothing, yet the panel takes the stored switch the dialog was filled with.
    ScratchKey().WriteInt(kMetroModeValue, 1);
    RunSettings(panel, IDCANCEL);
    EXPECT_FALSE(sightShown()) << "the stored Metro switch was not taken after Cancel";
    EXPECT_EQ(ScratchKey().ReadInt(kStartupViewModeValue, -1), -1) << "Cancel stored a value";
    EXPECT_EQ(ScratchKey().ReadInt(kPlayHotkeyValue, -1), -1) << "Cancel stored a value";

    // OK stores the boxes as they were filled, and the switch again takes effect at once.
    ScratchKey().WriteInt(kMetroModeValue, 0);
    ScratchKey().WriteInt(kAutoPlayValue, 2);
    RunSettings(panel, IDOK);
    EXPECT_TRUE(sightShown()) << "the Metro switch stored by OK was not taken";
    EXPECT_EQ(ScratchKey().ReadInt(kStartupViewModeValue, -1), 0);
    EXPECT_EQ(ScratchKey().ReadInt(kAutoPlayValue, -1), 0) << "AutoPlay 2 does not check the box";
    EXPECT_EQ(ScratchKey().ReadInt(kPlayHotkeyValue, -1), static_cast<int>(kDefaultPlayHotkey));
}

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
