// Steps on the settings dialog and the autorun value of the end-to-end tests.
#include "tests/e2e/SettingsDialogSteps.h"

#include "tests/e2e/RealInput.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAutorunName[] = L"Tarvik";
constexpr int kHeldHotkeyId = 0x5E77;

void DeleteAutorunValue() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kAutorunName);
}

}  // namespace

bool IsItemChecked(HWND hDialog, int nId) {
    return SendMessageW(GetDlgItem(hDialog, nId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

unsigned HotkeyOf(HWND hDialog) {
    return static_cast<unsigned>(
        SendMessageW(GetDlgItem(hDialog, kIdSettingsHotkey), HKM_GETHOTKEY, 0, 0) & 0xFFFF);
}

void ClickItemUntil(HWND hDialog, int nId, bool bChecked) {
    const HWND hItem = GetDlgItem(hDialog, nId);
    ASSERT_NE(hItem, nullptr) << "the settings dialog has no control " << nId;
    const RECT rc = ScreenRectOf(hItem);
    ASSERT_TRUE(ClickAt({rc.left + 6, (rc.top + rc.bottom) / 2}));
    ASSERT_TRUE(WaitUntil([&] { return IsItemChecked(hDialog, nId) == bChecked; }))
        << "control " << nId << " did not become " << (bChecked ? "checked" : "unchecked");
}

void EnterCtrlShiftHotkey(HWND hDialog, WORD nKey) {
    const HWND hHotkey = GetDlgItem(hDialog, kIdSettingsHotkey);
    ASSERT_NE(hHotkey, nullptr) << "the settings dialog has no hotkey control";
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(hHotkey))));
    {
        CKeyHeld control(VK_CONTROL);
        CKeyHeld shift(VK_SHIFT);
        TapKey(nKey);
    }
    const unsigned nWanted = nKey | ((HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8);
    ASSERT_TRUE(WaitUntil([&] { return HotkeyOf(hDialog) == nWanted; }))
        << "the hotkey control shows 0x" << std::hex << HotkeyOf(hDialog) << ", not 0x" << nWanted;
}

std::optional<std::wstring> ReadAutorunValue() {
    wchar_t szValue[1024] = {};
    DWORD cbValue = sizeof(szValue);
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kAutorunName, RRF_RT_REG_SZ, nullptr, szValue,
                     &cbValue) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(szValue);
}

CAutorunValueKept::CAutorunValueKept() : m_saved(ReadAutorunValue()) {
    DeleteAutorunValue();
}

CAutorunValueKept::~CAutorunValueKept() {
    if (!m_saved) {
        DeleteAutorunValue();
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kAutorunName, REG_SZ, m_saved->c_str(),
                    static_cast<DWORD>((m_saved->size() + 1) * sizeof(wchar_t)));
}

CHotkeyHeld::CHotkeyHeld(UINT uModifiers, UINT uKey)
    : m_bHeld(RegisterHotKey(nullptr, kHeldHotkeyId, uModifiers, uKey) != FALSE) {}

CHotkeyHeld::~CHotkeyHeld() {
    if (m_bHeld) {
        UnregisterHotKey(nullptr, kHeldHotkeyId);
    }
}
