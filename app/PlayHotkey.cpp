// The Play/Pause hotkey value: validation, modifier conversion and display text.
#include "app/PlayHotkey.h"

#include <array>
#include <cstdio>

namespace {

constexpr uint32_t kKnownFlags = kHotkeyfShift | kHotkeyfControl | kHotkeyfAlt | kHotkeyfExt;

struct CKeyName {
    uint32_t nKey;
    const wchar_t* pszName;
};

// Virtual-key codes of winuser.h with the names keyboards print on them.
constexpr std::array<CKeyName, 29> kKeyNames{{
    {0x08, L"Backspace"},   {0x09, L"Tab"},    {0x0D, L"Enter"}, {0x13, L"Pause"},
    {0x14, L"Caps Lock"},   {0x1B, L"Esc"},    {0x20, L"Space"}, {0x21, L"Page Up"},
    {0x22, L"Page Down"},   {0x23, L"End"},    {0x24, L"Home"},  {0x25, L"Left"},
    {0x26, L"Up"},          {0x27, L"Right"},  {0x28, L"Down"},  {0x2C, L"Print Screen"},
    {0x2D, L"Insert"},      {0x2E, L"Delete"}, {0x6A, L"Num *"}, {0x6B, L"Num +"},
    {0x6D, L"Num -"},       {0x6E, L"Num ."},  {0x6F, L"Num /"}, {0x90, L"Num Lock"},
    {0x91, L"Scroll Lock"}, {0xBA, L";"},      {0xBB, L"="},     {0xBC, L","},
    {0xBD, L"-"},
}};

std::wstring KeyName(uint32_t nKey) {
    if ((nKey >= '0' && nKey <= '9') || (nKey >= 'A' && nKey <= 'Z')) {
        return std::wstring(1, static_cast<wchar_t>(nKey));
    }
    if (nKey >= 0x60 && nKey <= 0x69) {
        return L"Num " + std::to_wstring(nKey - 0x60);
    }
    if (nKey >= 0x70 && nKey <= 0x87) {
        return L"F" + std::to_wstring(nKey - 0x70 + 1);
    }
    for (const CKeyName& name : kKeyNames) {
        if (name.nKey == nKey) {
            return name.pszName;
        }
    }
    wchar_t szCode[16] = {};
    std::swprintf(szCode, 16, L"Key 0x%02X", static_cast<unsigned>(nKey));
    return szCode;
}

}  // namespace

uint32_t PlayHotkeyFromStored(bool bPresent, int32_t nStored) {
    if (!bPresent) {
        return kDefaultPlayHotkey;
    }
    const uint32_t nValue = static_cast<uint32_t>(nStored);
    if (nValue > 0xFFFFu || (HotkeyControlFlags(nValue) & ~kKnownFlags) != 0 ||
        (HotkeyVirtualKey(nValue) == 0 && nValue != 0)) {
        return 0;
    }
    return nValue;
}

uint32_t HotkeyModifiers(uint32_t nHotkey) {
    const uint32_t nFlags = HotkeyControlFlags(nHotkey);
    uint32_t nModifiers = 0;
    nModifiers |= (nFlags & kHotkeyfShift) != 0 ? kModShift : 0;
    nModifiers |= (nFlags & kHotkeyfControl) != 0 ? kModControl : 0;
    nModifiers |= (nFlags & kHotkeyfAlt) != 0 ? kModAlt : 0;
    return nModifiers;
}

std::wstring HotkeyText(uint32_t nHotkey) {
    if (HotkeyVirtualKey(nHotkey) == 0) {
        return L"None";
    }
    const uint32_t nFlags = HotkeyControlFlags(nHotkey);
    std::wstring strText;
    if ((nFlags & kHotkeyfControl) != 0) {
        strText += L"Ctrl+";
    }
    if ((nFlags & kHotkeyfShift) != 0) {
        strText += L"Shift+";
    }
    if ((nFlags & kHotkeyfAlt) != 0) {
        strText += L"Alt+";
    }
    return strText + KeyName(HotkeyVirtualKey(nHotkey));
}
