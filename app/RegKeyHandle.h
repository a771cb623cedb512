// CRegKeyHandle: the owner of one open registry key handle (RegCloseKey).
#pragma once

#include <windows.h>

#include <string>
#include <utility>

// Move-only; holds a key only when the open succeeded, so it never closes a handle it did not
// get. Registry keys are not GDI/USER objects, so they stay out of the handle counts.
class CRegKeyHandle {
public:
    CRegKeyHandle() = default;
    ~CRegKeyHandle() { Close(); }

    CRegKeyHandle(CRegKeyHandle&& other) noexcept : m_hKey(std::exchange(other.m_hKey, nullptr)) {}
    CRegKeyHandle& operator=(CRegKeyHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_hKey = std::exchange(other.m_hKey, nullptr);
        }
        return *this;
    }
    CRegKeyHandle(const CRegKeyHandle&) = delete;
    CRegKeyHandle& operator=(const CRegKeyHandle&) = delete;

    // Opens `strSubKey` under `hRoot`, creating it (and its missing parents) when absent.
    // `plResult`, when given, receives the platform's answer.
    static CRegKeyHandle Create(HKEY hRoot, const std::wstring& strSubKey, REGSAM samAccess,
                                LONG* plResult = nullptr) {
        HKEY hKey = nullptr;
        const LONG lResult =
            ::RegCreateKeyExW(hRoot, strSubKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              samAccess, nullptr, &hKey, nullptr);
        return Taken(lResult, hKey, plResult);
    }
    // Opens `strSubKey` under `hRoot` only if it exists.
    static CRegKeyHandle Open(HKEY hRoot, const std::wstring& strSubKey, REGSAM samAccess,
                              LONG* plResult = nullptr) {
        HKEY hKey = nullptr;
        const LONG lResult = ::RegOpenKeyExW(hRoot, strSubKey.c_str(), 0, samAccess, &hKey);
        return Taken(lResult, hKey, plResult);
    }

    HKEY Get() const { return m_hKey; }
    explicit operator bool() const { return m_hKey != nullptr; }

private:
    explicit CRegKeyHandle(HKEY hKey) : m_hKey(hKey) {}

    // The output handle of a failed open is not defined, so only a success is owned.
    static CRegKeyHandle Taken(LONG lResult, HKEY hKey, LONG* plResult) {
        if (plResult != nullptr) {
            *plResult = lResult;
        }
        return lResult == ERROR_SUCCESS ? CRegKeyHandle(hKey) : CRegKeyHandle();
    }

    void Close() {
        if (m_hKey != nullptr) {
            ::RegCloseKey(std::exchange(m_hKey, nullptr));
        }
    }

    HKEY m_hKey = nullptr;
};
