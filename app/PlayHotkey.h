// The Play/Pause hotkey's stored value: its parts, its RegisterHotKey modifiers and its text.
#pragma once

#include <cstdint>
#include <string>

// The value is the hotkey control's own: the low byte the virtual key, the next byte its
// HOTKEYF_ flags. It is stored as it is (REG_DWORD "PlayHotkey" under the settings key); 0 means
// no hotkey.
inline constexpr wchar_t kPlayHotkeyValue[] = L"PlayHotkey";

// HOTKEYF_ flags of the hotkey control (commctrl.h), and MOD_ flags of RegisterHotKey
// (winuser.h); the two orders differ, Shift and Alt change places.
inline constexpr uint32_t kHotkeyfShift = 0x01;
inline constexpr uint32_t kHotkeyfControl = 0x02;
inline constexpr uint32_t kHotkeyfAlt = 0x04;
inline constexpr uint32_t kHotkeyfExt = 0x08;
inline constexpr uint32_t kModAlt = 0x0001;
inline constexpr uint32_t kModControl = 0x0002;
inline constexpr uint32_t kModShift = 0x0004;

// Ctrl+Shift+F8.
inline constexpr uint32_t kDefaultPlayHotkey = 0x77u | ((kHotkeyfControl | kHotkeyfShift) << 8);

// The hotkey a stored value names. A missing value (`bPresent` false) gives the default; a
// value that is no hotkey (bits beyond the key and the four known flags, or flags without a key)
// gives 0, none, so a damaged value never registers something the user did not choose.
uint32_t PlayHotkeyFromStored(bool bPresent, int32_t nStored);

inline uint32_t HotkeyVirtualKey(uint32_t nHotkey) {
    return nHotkey & 0xFFu;
}
inline uint32_t HotkeyControlFlags(uint32_t nHotkey) {
    return (nHotkey >> 8) & 0xFFu;
}
// RegisterHotKey's MOD_ flags for the hotkey's HOTKEYF_ flags (the extended-key flag has none).
uint32_t HotkeyModifiers(uint32_t nHotkey);

// "Ctrl+Shift+F8"; "None" for 0. Keys without a name of ours show as "Key 0xNN".
std::wstring HotkeyText(uint32_t nHotkey);
