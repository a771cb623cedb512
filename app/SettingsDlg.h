// CSettingsDlg: the modal settings dialog: autorun, AutoPlay, the start-up view mode, the Metro
// switch and the Play/Pause hotkey.
#pragma once

#include "app/RegistryKey.h"
#include "framework/DialogEx.h"
#include "framework/Wnd.h"

#include "SettingsDlgRes.h"

#include <cstdint>
#include <string>

class CSettingsDlg : public CDialogImpl<CSettingsDlg> {
public:
    // `settingsKey` holds the values; `autorunKey` the programs started at log-on. `nHeldHotkey`
    // is the Play/Pause hotkey the panel has registered now (0: none), which the dialog does not
    // take for another program's.
    CSettingsDlg(CRegistryKey settingsKey, CRegistryKey autorunKey, uint32_t nHeldHotkey);

    // The Metro-mode result the panel reads after the dialog has closed, whichever button did it.
    int m_bMetroChecked = 0;

protected:
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    void FillFromRegistry();
    // Says next to the hotkey control when the hotkey it shows is held by another program.
    void ShowHotkeyStatus();
    uint32_t ChosenHotkey() const;
    bool IsChecked(const CWnd& button) const;
    void SetChecked(const CWnd& button, bool bChecked) const;

    std::wstring m_strModulePath;
    CWnd m_btnAutorun;
    CWnd m_btnAutoPlay;
    CWnd m_btnMetroMode;
    int m_nStartupViewMode = 0;
    CRegistryKey m_settingsKey;
    CRegistryKey m_autorunKey;
    uint32_t m_nHeldHotkey;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CSettingsDlg> s_messages[] = {
        {WM_SHOWWINDOW, &CSettingsDlg::OnShowWindow},
    };
};

// The value name of the autorun entry under the Run key.
inline constexpr wchar_t kAutorunValue[] = L"Tarvik";
// The full path of the running executable as the platform reports it (260 characters at most).
std::wstring ModulePath();
// Whether another program holds `nHotkey` (as RegisterHotKey would answer), tried on `hWnd`.
bool IsHotkeyHeldElsewhere(HWND hWnd, uint32_t nHotkey);
