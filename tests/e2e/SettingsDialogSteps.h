// Steps on Tarvik's settings dialog from outside: its control ids, opening it with the Edit
// button, reading its boxes, and the autorun value kept aside while a test changes it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

inline constexpr int kIdSettingsAutoPlay = 1026;
inline constexpr int kIdSettingsCommon = 1039;
inline constexpr int kIdSettingsFly = 1040;
inline constexpr int kIdSettingsTray = 1041;
inline constexpr int kIdSettingsAutorun = 1042;
inline constexpr int kIdSettingsMetro = 1056;
inline constexpr int kIdSettingsHotkey = 1061;
inline constexpr int kIdSettingsHotkeyStatus = 1062;
inline constexpr wchar_t kSettingsCaption[] = L"Tarvik Settings";

// BM_GETCHECK of the dialog's control `nId`.
bool IsItemChecked(HWND hDialog, int nId);
// The hotkey control's value (low byte the key, next byte its HOTKEYF_ flags).
unsigned HotkeyOf(HWND hDialog);
// Clicks the control's left part (its box, not the far end of its label) and waits until its
// check state is `bChecked`. Use with ASSERT_NO_FATAL_FAILURE.
void ClickItemUntil(HWND hDialog, int nId, bool bChecked);
// Clicks the hotkey control and presses Ctrl+Shift+`nKey` there, until the control shows it.
// Use with ASSERT_NO_FATAL_FAILURE.
void EnterCtrlShiftHotkey(HWND hDialog, WORD nKey);

// The autorun value "Tarvik" under HKCU\...\CurrentVersion\Run, or nothing when it is missing.
std::optional<std::wstring> ReadAutorunValue();

// Takes the real autorun value aside for a test and puts it back afterwards, as it was.
class CAutorunValueKept {
public:
    CAutorunValueKept();
    ~CAutorunValueKept();
    CAutorunValueKept(const CAutorunValueKept&) = delete;
    CAutorunValueKept& operator=(const CAutorunValueKept&) = delete;

private:
    std::optional<std::wstring> m_saved;
};

// Holds a system-wide hotkey for the test thread, as another program would.
class CHotkeyHeld {
public:
    CHotkeyHeld(UINT uModifiers, UINT uKey);
    ~CHotkeyHeld();
    CHotkeyHeld(const CHotkeyHeld&) = delete;
    CHotkeyHeld& operator=(const CHotkeyHeld&) = delete;
    bool Held() const { return m_bHeld; }

private:
    bool m_bHeld;
};
