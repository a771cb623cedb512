// The panel's settings: the Edit button's settings dialog and the Play/Pause hotkey.
#include "app/PlayHotkey.h"
#include "app/SettingsDlg.h"
#include "ui/SnipDlg.h"

#include <commctrl.h>

#include <climits>
#include <string>

namespace {

// What ReadInt answers for a missing "PlayHotkey": no hotkey value is negative.
constexpr int kMissingHotkey = INT_MIN;

std::wstring PlayTooltipText(uint32_t nWanted, bool bRegistered) {
    if (HotkeyVirtualKey(nWanted) == 0) {
        return L"Play/Pause";
    }
    const std::wstring strKey = HotkeyText(nWanted);
    return bRegistered ? L"Play/Pause (" + strKey + L")"
                       : L"Play/Pause (" + strKey + L" is held by another program)";
}

}  // namespace

void CSnipDlg::OnEditSettings() {
    CSettingsDlg dlg(m_settingsKey, CRegistryKey::AutorunKey(), m_nPlayHotkey);
    const INT_PTR nResult = dlg.DoModal(m_hWnd);
    if (nResult != IDOK && nResult != IDCANCEL) {
        // The dialog never ran (or its set-up failed): it has read no switch to copy, and its
        // zero must not turn Metro mode off.
        return;
    }
    // Cancel too: the dialog then holds the stored switch it was filled with.
    m_bMetroMode = dlg.m_bMetroChecked;
    m_play.SetMetroMode(m_bMetroMode != 0);
    if (nResult == IDOK) {
        ApplyPlayHotkey();
    }
}

void CSnipDlg::ApplyPlayHotkey() {
    const int nStored = m_settingsKey.ReadInt(kPlayHotkeyValue, kMissingHotkey);
    const uint32_t nWanted = PlayHotkeyFromStored(nStored != kMissingHotkey, nStored);
    if (nWanted == m_nPlayHotkey && m_nPlayHotkey != 0) {
        return;
    }
    if (m_nPlayHotkey != 0) {
        ::UnregisterHotKey(m_hWnd, kPlayHotkeyId);
        m_nPlayHotkey = 0;
    }
    if (HotkeyVirtualKey(nWanted) != 0 &&
        ::RegisterHotKey(m_hWnd, kPlayHotkeyId, HotkeyModifiers(nWanted),
                         HotkeyVirtualKey(nWanted))) {
        m_nPlayHotkey = nWanted;
    }
    UpdatePlayTooltip(nWanted);
}

void CSnipDlg::ReleasePlayHotkey() {
    if (m_nPlayHotkey != 0) {
        ::UnregisterHotKey(m_hWnd, kPlayHotkeyId);
        m_nPlayHotkey = 0;
    }
    // The tooltip goes with the panel's window.
    m_hPlayTooltip = nullptr;
}

void CSnipDlg::UpdatePlayTooltip(uint32_t nWanted) {
    const HWND hPlay = GetDlgItem(IDC_PLAY);
    if (m_hPlayTooltip == nullptr) {
        // Owned by the panel, so the system destroys it with the panel's window.
        m_hPlayTooltip =
            ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (m_hPlayTooltip == nullptr) {
            return;
        }
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = m_hWnd;
        info.uId = reinterpret_cast<UINT_PTR>(hPlay);
        info.lpszText = const_cast<wchar_t*>(L"Play/Pause");
        ::SendMessageW(m_hPlayTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    std::wstring strText = PlayTooltipText(nWanted, m_nPlayHotkey == nWanted);
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(hPlay);
    info.lpszText = strText.data();
    ::SendMessageW(m_hPlayTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

LRESULT CSnipDlg::OnHotkey(WPARAM wParam, LPARAM) {
    const HWND hPlay = GetDlgItem(IDC_PLAY);
    // As a click: nothing while Play is disabled (an empty list) or while a dialog of the
    // panel's is open and the panel cannot be clicked.
    if (wParam != kPlayHotkeyId || !::IsWindowEnabled(hPlay) || !::IsWindowEnabled(m_hWnd)) {
        return 0;
    }
    const bool bStart = !m_play.IsPlaying();
    // A click on the button moves the pointer, which ends a click under way; the keys do not,
    // so stopping ends it here, releasing the button if it was down.
    if (!bStart) {
        EndClick();
    }
    SetPlaying(bStart);
    return 0;
}
