// The settings dialog: filled from the registry whenever it shows, written back on OK.
#include "app/SettingsDlg.h"

#include "app/PlayHotkey.h"
#include "app/StartupSettings.h"
#include "framework/ButtonCtrl.h"
#include "framework/DataExchange.h"

#include <commctrl.h>

#include <climits>
#include <utility>

namespace {

// Any id serves: the probe's registration is undone at once.
constexpr int kProbeHotkeyId = 0x7F01;
// What ReadInt answers for a missing "PlayHotkey": no hotkey value is negative.
constexpr int kMissingHotkey = INT_MIN;
constexpr wchar_t kHotkeyHeldText[] =
    L"Another program holds this hotkey: it does not work until that program lets it go.";

int ValidViewMode(int nStored) {
    return static_cast<unsigned>(nStored) <= 2u ? nStored : 0;
}

}  // namespace

std::wstring ModulePath() {
    wchar_t szPath[MAX_PATH] = {};
    const DWORD nLength = ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    // A cut path (nLength == MAX_PATH) would name another file: it counts as no path at all.
    return nLength > 0 && nLength < MAX_PATH ? std::wstring(szPath, nLength) : std::wstring();
}

bool IsHotkeyHeldElsewhere(HWND hWnd, uint32_t nHotkey) {
    if (HotkeyVirtualKey(nHotkey) == 0) {
        return false;
    }
    if (!::RegisterHotKey(hWnd, kProbeHotkeyId, HotkeyModifiers(nHotkey),
                          HotkeyVirtualKey(nHotkey))) {
        return true;
    }
    ::UnregisterHotKey(hWnd, kProbeHotkeyId);
    return false;
}

CSettingsDlg::CSettingsDlg(CRegistryKey settingsKey, CRegistryKey autorunKey, uint32_t nHeldHotkey)
    : CDialogImpl<CSettingsDlg>(IDD_SETTINGS),
      m_strModulePath(ModulePath()),
      m_settingsKey(std::move(settingsKey)),
      m_autorunKey(std::move(autorunKey)),
      m_nHeldHotkey(nHeldHotkey) {}

void CSettingsDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_SETTINGS_AUTORUN, m_btnAutorun);
    dx.Control(IDC_SETTINGS_AUTOPLAY, m_btnAutoPlay);
    dx.Control(IDC_SETTINGS_METRO, m_btnMetroMode);
    dx.Radio(IDC_SETTINGS_VIEW_COMMON, IDC_SETTINGS_VIEW_TRAY, m_nStartupViewMode);
    if (dx.IsSaving()) {
        // No radio button checked (only a program could do that) is the first one.
        m_nStartupViewMode = ValidViewMode(m_nStartupViewMode);
    }
}

bool CSettingsDlg::IsChecked(const CWnd& button) const {
    return CButtonCtrl(button.GetSafeHwnd()).IsChecked();
}

void CSettingsDlg::SetChecked(const CWnd& button, bool bChecked) const {
    CButtonCtrl(button.GetSafeHwnd()).SetCheck(bChecked);
}

LRESULT CSettingsDlg::OnShowWindow(WPARAM wParam, LPARAM) {
    if (wParam != FALSE) {
        FillFromRegistry();
    }
    return Default();
}

void CSettingsDlg::FillFromRegistry() {
    std::wstring strAutorun;
    m_autorunKey.ReadString(kAutorunValue, strAutorun, std::wstring());
    SetChecked(m_btnAutorun, !m_strModulePath.empty() && strAutorun == m_strModulePath);

    const int nViewMode = m_settingsKey.ReadInt(kStartupViewModeValue, 0);
    const int nAutoPlay = m_settingsKey.ReadInt(kAutoPlayValue, 0);
    const int nMetroMode = m_settingsKey.ReadInt(kMetroModeValue, 0);
    m_nStartupViewMode = ValidViewMode(nViewMode);
    m_bMetroChecked = nMetroMode == 1 ? 1 : 0;
    SetChecked(m_btnAutoPlay, nAutoPlay == 1);
    SetChecked(m_btnMetroMode, nMetroMode == 1);
    UpdateData(false);

    const int nStoredHotkey = m_settingsKey.ReadInt(kPlayHotkeyValue, kMissingHotkey);
    const uint32_t nHotkey = PlayHotkeyFromStored(nStoredHotkey != kMissingHotkey, nStoredHotkey);
    ::SendMessageW(GetDlgItem(IDC_SETTINGS_HOTKEY), HKM_SETHOTKEY, nHotkey, 0);
    ShowHotkeyStatus();
}

uint32_t CSettingsDlg::ChosenHotkey() const {
    const LRESULT lHotkey = ::SendMessageW(GetDlgItem(IDC_SETTINGS_HOTKEY), HKM_GETHOTKEY, 0, 0);
    return PlayHotkeyFromStored(true, static_cast<int32_t>(lHotkey & 0xFFFF));
}

void CSettingsDlg::ShowHotkeyStatus() {
    const uint32_t nHotkey = ChosenHotkey();
    const bool bHeld = nHotkey != m_nHeldHotkey && IsHotkeyHeldElsewhere(m_hWnd, nHotkey);
    ::SetDlgItemTextW(m_hWnd, IDC_SETTINGS_HOTKEY_STATUS, bHeld ? kHotkeyHeldText : L"");
}

bool CSettingsDlg::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (uMsg == WM_COMMAND && LOWORD(wParam) == IDC_SETTINGS_HOTKEY &&
        HIWORD(wParam) == EN_CHANGE) {
        ShowHotkeyStatus();
        lResult = 0;
        return true;
    }
    return CDialogImpl<CSettingsDlg>::OnMessage(uMsg, wParam, lParam, lResult);
}

void CSettingsDlg::OnOK() {
    UpdateData(true);
    // Each value has its own open and close, so one that cannot be written leaves the rest.
    if (IsChecked(m_btnAutorun) && !m_strModulePath.empty()) {
        m_autorunKey.WriteString(kAutorunValue, m_strModulePath);
    } else if (!IsChecked(m_btnAutorun)) {
        m_autorunKey.DeleteValue(kAutorunValue);
    }
    m_settingsKey.WriteInt(kStartupViewModeValue, m_nStartupViewMode);
    m_settingsKey.WriteInt(kMetroModeValue, IsChecked(m_btnMetroMode) ? 1 : 0);
    m_settingsKey.WriteInt(kAutoPlayValue, IsChecked(m_btnAutoPlay) ? 1 : 0);
    m_settingsKey.WriteInt(kPlayHotkeyValue, static_cast<int>(ChosenHotkey()));
    m_bMetroChecked = IsChecked(m_btnMetroMode) ? 1 : 0;
    UpdateData(false);
    EndDialog(IDOK);
}
