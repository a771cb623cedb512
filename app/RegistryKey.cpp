// CRegistryKey: opens the key for each read, write or delete and closes it right after.
#include "app/RegistryKey.h"

#include "app/RegKeyHandle.h"

#include <algorithm>
#include <cstdint>
#include <utility>

CRegistryKey::CRegistryKey(HKEY hRoot, std::wstring strSubKey)
    : m_hRoot(hRoot), m_strSubKey(std::move(strSubKey)) {}

CRegistryKey CRegistryKey::Settings() {
    return CRegistryKey(HKEY_CURRENT_USER, L"Software\\Tarvik\\Tarvik");
}

CRegistryKey CRegistryKey::AutorunKey() {
    return CRegistryKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

int CRegistryKey::ReadInt(const wchar_t* pszName, int nDefault) const {
    const CRegKeyHandle key = CRegKeyHandle::Create(m_hRoot, m_strSubKey, KEY_READ);
    if (!key) {
        return nDefault;
    }
    DWORD dwValue = 0;
    DWORD cbValue = sizeof(dwValue);
    // A longer value fails with ERROR_MORE_DATA. A shorter one (an empty or 1-3 byte value) is
    // not one of our integers either: it reads as missing rather than as a made-up small number,
    // so a broken window value still takes the missing-value placement.
    if (::RegQueryValueExW(key.Get(), pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(&dwValue),
                           &cbValue) != ERROR_SUCCESS ||
        cbValue != sizeof(dwValue)) {
        return nDefault;
    }
    return static_cast<int>(static_cast<int32_t>(dwValue));
}

void CRegistryKey::ReadString(const wchar_t* pszName, std::wstring& strOut,
                              const std::wstring& strDefault) const {
    const CRegKeyHandle key = CRegKeyHandle::Create(m_hRoot, m_strSubKey, KEY_READ);
    if (!key) {
        strOut = strDefault;
        return;
    }
    // Stored strings may lack their terminator or end in half a unit, so only the bytes the
    // platform reports are looked at, never the buffer beyond them.
    wchar_t szBuffer[kMaxStringUnits] = {};
    DWORD cbData = sizeof(szBuffer);
    if (::RegQueryValueExW(key.Get(), pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(szBuffer),
                           &cbData) != ERROR_SUCCESS) {
        strOut = strDefault;
        return;
    }
    // Whole units only: an odd last byte is dropped. The string ends at its first null; data of
    // kMaxStringUnits units without one leaves no room for the terminator and counts as too long.
    const wchar_t* const pBegin = szBuffer;
    const wchar_t* const pEnd = pBegin + std::min<DWORD>(cbData / sizeof(wchar_t), kMaxStringUnits);
    const wchar_t* const pNull = std::find(pBegin, pEnd, L'\0');
    if (pNull == pBegin + kMaxStringUnits) {
        strOut = strDefault;
        return;
    }
    strOut.assign(pBegin, pNull);
}

bool CRegistryKey::WriteString(const wchar_t* pszName, const std::wstring& strValue) const {
    // RegSetValueExW takes a DWORD byte count.
    if (strValue.size() >= MAXDWORD / sizeof(wchar_t)) {
        return false;
    }
    const CRegKeyHandle key = CRegKeyHandle::Create(m_hRoot, m_strSubKey, KEY_ALL_ACCESS);
    if (!key) {
        return false;
    }
    const DWORD cbData = static_cast<DWORD>((strValue.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), pszName, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(strValue.c_str()),
                            cbData) == ERROR_SUCCESS;
}

bool CRegistryKey::WriteInt(const wchar_t* pszName, int nValue) const {
    const CRegKeyHandle key = CRegKeyHandle::Create(m_hRoot, m_strSubKey, KEY_ALL_ACCESS);
    if (!key) {
        return false;
    }
    const DWORD dwValue = static_cast<DWORD>(static_cast<int32_t>(nValue));
    return ::RegSetValueExW(key.Get(), pszName, 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&dwValue),
                            sizeof(dwValue)) == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteValue(const wchar_t* pszName) const {
    // Opened, not created: deleting from a key that is not there has nothing to do, and should
    // not leave an empty key behind.
    LONG lOpen = ERROR_SUCCESS;
    const CRegKeyHandle key = CRegKeyHandle::Open(m_hRoot, m_strSubKey, KEY_ALL_ACCESS, &lOpen);
    if (!key) {
        return lOpen == ERROR_FILE_NOT_FOUND;
    }
    const LONG lResult = ::RegDeleteValueW(key.Get(), pszName);
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
}
