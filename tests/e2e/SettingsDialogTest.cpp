// The settings dialog end to end: opened with the Edit button and driven with the pointer and
// keys; what OK and Cancel store, and what the next start makes of it.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/SettingsDialogSteps.h"
#include "tests/e2e/Waiting.h"

#include <psapi.h>

namespace {

// The path of the process's executable as the system reports it.
std::wstring ExecutablePathOf(HANDLE hProcess) {
    wchar_t szPath[MAX_PATH] = {};
    const DWORD nLength = GetModuleFileNameExW(hProcess, nullptr, szPath, MAX_PATH);
    return std::wstring(szPath, nLength);
}

// Tarvik's panel also while it is hidden.
HWND FindPanel(DWORD nProcessId) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (ClassNameOf(hWnd) == L"#32770" && GetWindow(hWnd, GW_OWNER) == nullptr &&
            TextOf(hWnd) == L"Tarvik") {
            return hWnd;
        }
    }
    return nullptr;
}

}  // namespace

class SettingsDialog : public CEndToEndTest {
protected:
    HWND OpenSettings() {
        EXPECT_TRUE(TarvikResponds());
        EXPECT_TRUE(ClickAt(CentreOf(ScreenRectOf(Control(kIdEdit)))));
        return WaitForDialog(kSettingsCaption);
    }
    // Presses a key that ends the dialog and waits until it is gone.
    void EndWithKey(HWND hDialog, WORD nKey) {
        TapKey(nKey);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hDialog); }))
            << "the settings dialog stayed open after key " << nKey;
        ASSERT_TRUE(TarvikResponds());
    }
    void ExpectViewMode(HWND hDialog, int nIdChecked) {
        for (const int nId : {kIdSettingsCommon, kIdSettingsFly, kIdSettingsTray}) {
            EXPECT_EQ(IsItemChecked(hDialog, nId), nId == nIdChecked) << "radio button " << nId;
        }
    }
};

TEST_F(SettingsDialog, OkStoresAutorunViewModeAndAutoPlayForTheNextStartAndCancelNothing) {
    const CAutorunValueKept autorunKept;
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const std::wstring strExe = ExecutablePathOf(m_pTarvik->Handle());
    ASSERT_FALSE(strExe.empty());
    // The Play/Pause hotkey with an empty list: Play is disabled, and the keys do nothing.
    {
        CKeyHeld control(VK_CONTROL);
        CKeyHeld shift(VK_SHIFT);
        TapKey(VK_F8);
    }

    // A first run: nothing checked but "Common".
    HWND hDialog = OpenSettings();
    ASSERT_NE(hDialog, nullptr) << "the Edit button opened no settings dialog";
    EXPECT_EQ(SendMessageW(Control(kIdPlay), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Scene("first-run");
    for (const int nId : {kIdSettingsAutorun, kIdSettingsAutoPlay, kIdSettingsMetro}) {
        EXPECT_FALSE(IsItemChecked(hDialog, nId)) << "box " << nId;
    }
    ExpectViewMode(hDialog, kIdSettingsCommon);
    EXPECT_EQ(HotkeyOf(hDialog), 0x0377u) << "not Ctrl+Shift+F8";

    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsAutorun, true));
    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsFly, true));
    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsAutoPlay, true));
    Scene("checked");
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hDialog, IDOK));
    EXPECT_EQ(ReadAutorunValue().value_or(L"(missing)"), strExe);
    EXPECT_EQ(ReadSetting(L"StartupViewMode"), 1);
    EXPECT_EQ(ReadSetting(L"AutoPlay"), 1);
    EXPECT_EQ(ReadSetting(L"Windows8MetroMode"), 0);
    // Only the next start shows the fly window.
    EXPECT_TRUE(IsWindowVisible(m_hMain));

    // The dialog shows what is stored; Cancel (Esc) after changes stores nothing.
    hDialog = OpenSettings();
    ASSERT_NE(hDialog, nullptr);
    EXPECT_TRUE(IsItemChecked(hDialog, kIdSettingsAutorun));
    EXPECT_TRUE(IsItemChecked(hDialog, kIdSettingsAutoPlay));
    ExpectViewMode(hDialog, kIdSettingsFly);
    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsAutorun, false));
    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsTray, true));
    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsMetro, true));
    ASSERT_NO_FATAL_FAILURE(EndWithKey(hDialog, VK_ESCAPE));
    EXPECT_EQ(ReadAutorunValue().value_or(L"(missing)"), strExe);
    EXPECT_EQ(ReadSetting(L"StartupViewMode"), 1);
    EXPECT_EQ(ReadSetting(L"Windows8MetroMode"), 0);

    // Autorun unchecked and OK by the Enter key removes the value.
    hDialog = OpenSettings();
    ASSERT_NE(hDialog, nullptr);
    ExpectViewMode(hDialog, kIdSettingsFly);
    EXPECT_FALSE(IsItemChecked(hDialog, kIdSettingsMetro));
    ASSERT_NO_FATAL_FAILURE(ClickItemUntil(hDialog, kIdSettingsAutorun, false));
    ASSERT_NO_FATAL_FAILURE(EndWithKey(hDialog, VK_RETURN));
    EXPECT_EQ(ReadAutorunValue(), std::nullopt);
    EXPECT_EQ(ReadSetting(L"StartupViewMode"), 1);
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());

    // The next start: the fly window instead of the panel, and Play pressed.
    m_pTarvik = std::make_unique<CTarvikProcess>();
    ASSERT_TRUE(WaitUntil([&] { return (m_hMain = FindPanel(m_pTarvik->Id())) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] {
        for (const HWND hWnd : TopLevelWindowsOf(m_pTarvik->Id())) {
            if (hWnd != m_hMain && IsWindowVisible(hWnd) && ClassNameOf(hWnd) == L"#32770") {
                return true;
            }
        }
        return false;
    })) << "no fly window after a start in the fly window mode";
    WaitForInputIdle(m_pTarvik->Handle(), kReactionTimeoutMs);
    Scene("fly-window-start");
    EXPECT_FALSE(IsWindowVisible(m_hMain));
    EXPECT_EQ(SendMessageW(Control(kIdPlay), BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());

    // A view mode out of range shows as "Common".
    WriteSetting(L"StartupViewMode", 5);
    WriteSetting(L"AutoPlay", 0);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    hDialog = OpenSettings();
    ASSERT_NE(hDialog, nullptr);
    ExpectViewMode(hDialog, kIdSettingsCommon);
    EXPECT_FALSE(IsItemChecked(hDialog, kIdSettingsAutorun));
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hDialog, IDCANCEL));
    EXPECT_EQ(ReadSetting(L"StartupViewMode"), 5);
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}
