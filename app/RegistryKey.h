// CRegistryKey: names one registry key and reads and writes its values, one open per operation.
#pragma once

#include <windows.h>

#include <string>

// A value type: copying it copies the name, never a handle. Every operation opens the key, acts
// and closes it again. Failures are silent: reads give their default, writes return false.
class CRegistryKey {
public:
    CRegistryKey(HKEY hRoot, std::wstring strSubKey);

    // HKEY_CURRENT_USER\Software\Tarvik\Tarvik: where the program keeps its settings.
    static CRegistryKey Settings();
    // HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run: programs started at log-on.
    static CRegistryKey AutorunKey();

    HKEY Root() const { return m_hRoot; }
    const std::wstring& SubKey() const { return m_strSubKey; }

    // The value's first 4 bytes as a signed integer, whatever its type; `nDefault` when the key
    // cannot be opened or the value is missing or not exactly 4 bytes long. Creates a missing key.
    int ReadInt(const wchar_t* pszName, int nDefault) const;
    // The value as a string of at most kMaxStringUnits - 1 characters, cut at its first null;
    // `strDefault` when the key cannot be opened or the value is missing or longer. Creates a
    // missing key.
    void ReadString(const wchar_t* pszName, std::wstring& strOut,
                    const std::wstring& strDefault) const;

    // REG_SZ of 2 x (length + 1) bytes, terminating null included.
    bool WriteString(const wchar_t* pszName, const std::wstring& strValue) const;
    // REG_DWORD holding `nValue`'s 32 bits.
    bool WriteInt(const wchar_t* pszName, int nValue) const;
    // Removes the value; true also when it (or the key) was not there.
    bool DeleteValue(const wchar_t* pszName) const;

    // The longest string value read, in UTF-16 units including its terminating null (520 bytes).
    static constexpr DWORD kMaxStringUnits = 260;

private:
    HKEY m_hRoot;
    std::wstring m_strSubKey;
};
