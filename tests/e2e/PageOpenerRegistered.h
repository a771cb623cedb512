// Registers a stand-in browser for .htm pages in the test prefix, so that a test can see which
// page the shell was asked to open.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

inline constexpr wchar_t kTestProgId[] = L"TarvikTest.PageOpener";

inline std::optional<std::wstring> ReadClassesDefault(const std::wstring& strKey) {
    wchar_t szValue[1024] = {};
    DWORD cbValue = sizeof(szValue);
    if (RegGetValueW(HKEY_CLASSES_ROOT, strKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, szValue,
                     &cbValue) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return szValue;
}

inline bool WriteClassesDefault(const std::wstring& strKey, const std::wstring& strValue) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, strKey.c_str(), nullptr, REG_SZ, strValue.c_str(),
                           static_cast<DWORD>((strValue.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// Registers the stand-in browser as the opener of .htm pages in the test prefix's classes (Wine
// does not merge the user's own classes into them): it copies each page it is asked to open to
// `record` (or, when the page does not exist, writes the path it was given there, in UTF-16).
// The registration before is put back afterwards. `strExeFolder`: where the stand-in is built;
// `strAfterPage`: more of the command after the page's argument.
class CPageOpenerRegistered {
public:
    CPageOpenerRegistered(const std::wstring& strExeFolder, const std::filesystem::path& record,
                          const std::wstring& strAfterPage = {})
        : m_strExtensionKey(L".htm"), m_previous(ReadClassesDefault(m_strExtensionKey)) {
        const std::wstring strOpener = strExeFolder + L"\\tarvik-page-handler.exe";
        m_bRegistered = WriteClassesDefault(std::wstring(kTestProgId) + L"\\shell\\open\\command",
                                            L"\"" + strOpener + L"\" \"" + record.wstring() +
                                                L"\" \"%1\"" + strAfterPage) &&
                        WriteClassesDefault(m_strExtensionKey, kTestProgId);
    }
    ~CPageOpenerRegistered() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestProgId);
        if (m_previous) {
            WriteClassesDefault(m_strExtensionKey, *m_previous);
        } else {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, m_strExtensionKey.c_str());
        }
    }
    CPageOpenerRegistered(const CPageOpenerRegistered&) = delete;
    CPageOpenerRegistered& operator=(const CPageOpenerRegistered&) = delete;

    bool Registered() const { return m_bRegistered; }

private:
    std::wstring m_strExtensionKey;
    std::optional<std::wstring> m_previous;
    bool m_bRegistered = false;
};
