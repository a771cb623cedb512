// CRegistryKey and the start-up settings against a scratch key under HKEY_CURRENT_USER.
#include "app/RegKeyHandle.h"
#include "app/RegistryKey.h"
#include "app/StartupSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kScratchParent[] = L"Software\\TarvikTests";

// Each test gets its own key, Software\TarvikTests\<suite>.<test>, removed before and after, so
// the program's real settings key is never touched and a failed run leaves nothing behind.
class ScratchKeyTest : public ::testing::Test {
protected:
    struct CRawValue {
        DWORD dwType = REG_NONE;
        std::vector<BYTE> data;
    };

    void SetUp() override {
        const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string strName = std::string(pInfo->test_suite_name()) + "." + pInfo->name();
        m_strSubKey =
            std::wstring(kScratchParent) + L"\\" + std::wstring(strName.begin(), strName.end());
        RemoveScratchKey();
    }
    void TearDown() override {
        RemoveScratchKey();
        // Only succeeds once no test key is left under it.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kScratchParent);
    }

    CRegistryKey Key() const { return CRegistryKey(HKEY_CURRENT_USER, m_strSubKey); }

    bool KeyExists(const std::wstring& strSubKey) const {
        return static_cast<bool>(CRegKeyHandle::Open(HKEY_CURRENT_USER, strSubKey, KEY_READ));
    }

    // Stores exactly `cbData` bytes, bypassing CRegistryKey, to build malformed values.
    void SetRaw(const wchar_t* pszName, DWORD dwType, const void* pData, DWORD cbData) const {
        const CRegKeyHandle key =
            CRegKeyHandle::Create(HKEY_CURRENT_USER, m_strSubKey, KEY_ALL_ACCESS);
        ASSERT_TRUE(key);
        ASSERT_EQ(::RegSetValueExW(key.Get(), pszName, 0, dwType, static_cast<const BYTE*>(pData),
                                   cbData),
                  ERROR_SUCCESS);
    }
    void SetRawString(const wchar_t* pszName, const std::wstring& strUnits, DWORD cbData) const {
        SetRaw(pszName, REG_SZ, strUnits.data(), cbData);
    }

    // The stored type and bytes, or nothing when the value (or key) is missing.
    std::optional<CRawValue> Raw(const wchar_t* pszName) const {
        const CRegKeyHandle key = CRegKeyHandle::Open(HKEY_CURRENT_USER, m_strSubKey, KEY_READ);
        if (!key) {
            return std::nullopt;
        }
        CRawValue value;
        DWORD cbData = 0;
        if (::RegQueryValueExW(key.Get(), pszName, nullptr, &value.dwType, nullptr, &cbData) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.data.resize(cbData);
        if (::RegQueryValueExW(key.Get(), pszName, nullptr, &value.dwType, value.data.data(),
                               &cbData) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.data.resize(cbData);
        return value;
    }

    // The stored REG_DWORD, checking type and size on the way.
    std::optional<int32_t> RawDword(const wchar_t* pszName) const {
        const std::optional<CRawValue> value = Raw(pszName);
        if (!value || value->dwType != REG_DWORD || value->data.size() != sizeof(int32_t)) {
            return std::nullopt;
        }
        int32_t nValue = 0;
        std::memcpy(&nValue, value->data.data(), sizeof(nValue));
        return nValue;
    }

    std::wstring m_strSubKey;

private:
    void RemoveScratchKey() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_strSubKey.c_str()); }
};

using RegistryKey = ScratchKeyTest;
using StartupSettings = ScratchKeyTest;

TEST_F(RegistryKey, NamesTheProgramsSettingsAndTheRunKey) {
    const CRegistryKey settings = CRegistryKey::Settings();
    EXPECT_EQ(settings.Root(), HKEY_CURRENT_USER);
    EXPECT_EQ(settings.SubKey(), L"Software\\Tarvik\\Tarvik");
    const CRegistryKey autorun = CRegistryKey::AutorunKey();
    EXPECT_EQ(autorun.Root(), HKEY_CURRENT_USER);
    EXPECT_EQ(autorun.SubKey(), L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

TEST_F(RegistryKey, ReadsOfAMissingKeyGiveDefaultsAndCreateTheKey) {
    const std::wstring strNested = m_strSubKey + L"\\Nested\\Deeper";
    const CRegistryKey key(HKEY_CURRENT_USER, strNested);
    ASSERT_FALSE(KeyExists(m_strSubKey));

    EXPECT_EQ(key.ReadInt(L"Absent", -5000), -5000);
    EXPECT_TRUE(KeyExists(strNested));

    EXPECT_EQ(key.ReadInt(L"Absent", 42), 42);
    std::wstring strOut = L"left over";
    key.ReadString(L"Absent", strOut, L"fallback");
    EXPECT_EQ(strOut, L"fallback");
    key.ReadString(L"Absent", strOut, L"");
    EXPECT_EQ(strOut, L"");
}

TEST_F(RegistryKey, IntegersRoundTripAsSignedDwords) {
    const CRegistryKey key = Key();
    for (int nValue : {0, 1, -1, -5000, 130, INT_MIN, INT_MAX}) {
        ASSERT_TRUE(key.WriteInt(L"Number", nValue)) << nValue;
        EXPECT_EQ(key.ReadInt(L"Number", 7), nValue);
        EXPECT_EQ(RawDword(L"Number"), nValue);
    }
}

TEST_F(RegistryKey, StringsRoundTripAsTerminatedRegSz) {
    const CRegistryKey key = Key();
    const std::wstring strPath = L"C:\\Program Files\\Tarvik\\Tarvik.exe";
    const std::wstring strNonAscii = L"C:\\\u041F\u0440\u043E\u0433\\\u00E9\u6F22.exe";
    for (const std::wstring& strValue : {strPath, strNonAscii, std::wstring()}) {
        ASSERT_TRUE(key.WriteString(L"Text", strValue));
        std::wstring strOut = L"stale";
        key.ReadString(L"Text", strOut, L"fallback");
        EXPECT_EQ(strOut, strValue);

        const std::optional<CRawValue> raw = Raw(L"Text");
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->dwType, static_cast<DWORD>(REG_SZ));
        ASSERT_EQ(raw->data.size(), 2 * (strValue.size() + 1));
        EXPECT_EQ(raw->data[raw->data.size() - 1], 0);
        EXPECT_EQ(raw->data[raw->data.size() - 2], 0);
    }
}

TEST_F(RegistryKey, StringsOfUpTo259UnitsReadAndLongerOnesGiveTheDefault) {
    const CRegistryKey key = Key();
    const std::wstring strLongest(259, L'x');
    ASSERT_TRUE(key.WriteString(L"Text", strLongest));
    std::wstring strOut;
    key.ReadString(L"Text", strOut, L"fallback");
    EXPECT_EQ(strOut, strLongest);

    for (size_t nUnits : {260u, 261u, 1000u}) {
        ASSERT_TRUE(key.WriteString(L"Text", std::wstring(nUnits, L'y')));
        strOut = L"stale";
        key.ReadString(L"Text", strOut, L"fallback");
        EXPECT_EQ(strOut, L"fallback") << nUnits;
    }
}

TEST_F(RegistryKey, StringsStoredWithoutTerminatorEndWithTheirData) {
    const CRegistryKey key = Key();
    std::wstring strOut;

    SetRawString(L"Short", L"abc", 6);
    key.ReadString(L"Short", strOut, L"fallback");
    EXPECT_EQ(strOut, L"abc");

    // The buffer is exactly full: nothing after the data may be read as part of it.
    const std::wstring str259(259, L'p');
    SetRawString(L"Fits", str259, 518);
    key.ReadString(L"Fits", strOut, L"fallback");
    EXPECT_EQ(strOut, str259);

    // 260 units leave no room for the terminator: too long, like a terminated 260-unit string.
    const std::wstring str260(260, L'q');
    SetRawString(L"Full", str260, 520);
    key.ReadString(L"Full", strOut, L"fallback");
    EXPECT_EQ(strOut, L"fallback");

    // The type is not checked, and the platform adds no terminator to other types.
    SetRaw(L"BinaryFull", REG_BINARY, str260.data(), 520);
    strOut = L"stale";
    key.ReadString(L"BinaryFull", strOut, L"fallback");
    EXPECT_EQ(strOut, L"fallback");
    SetRaw(L"BinaryFits", REG_BINARY, str259.data(), 518);
    key.ReadString(L"BinaryFits", strOut, L"fallback");
    EXPECT_EQ(strOut, str259);
}

TEST_F(RegistryKey, StringsWithAnOddByteCountDropTheHalfUnit) {
    const CRegistryKey key = Key();
    std::wstring strOut;

    SetRawString(L"Odd", L"abcd", 7);
    key.ReadString(L"Odd", strOut, L"fallback");
    EXPECT_EQ(strOut, L"abc");

    SetRawString(L"OneByte", L"z", 1);
    key.ReadString(L"OneByte", strOut, L"fallback");
    EXPECT_EQ(strOut, L"");

    const std::wstring str260(260, L'r');
    SetRawString(L"OddFull", str260, 519);
    key.ReadString(L"OddFull", strOut, L"fallback");
    EXPECT_EQ(strOut, std::wstring(259, L'r'));
}

TEST_F(RegistryKey, StringsEndAtTheirFirstNull) {
    const CRegistryKey key = Key();
    const std::wstring strUnits(L"ab\0cd", 5);
    SetRawString(L"Embedded", strUnits, 12);
    std::wstring strOut;
    key.ReadString(L"Embedded", strOut, L"fallback");
    EXPECT_EQ(strOut, L"ab");
}

// The type is not checked: any value of exactly four bytes is an integer; any other size reads
// as missing.
TEST_F(RegistryKey, ReadIntTakesAnyFourByteValueAndNoOtherSize) {
    const CRegistryKey key = Key();

    const BYTE allOnes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    SetRaw(L"Binary4", REG_BINARY, allOnes, sizeof(allOnes));
    EXPECT_EQ(key.ReadInt(L"Binary4", 7), -1);

    // L"7" with its terminator is four bytes: '7', 0, 0, 0.
    SetRawString(L"Sz4", L"7", 4);
    EXPECT_EQ(key.ReadInt(L"Sz4", 7), 0x37);

    const uint64_t qwValue = 1;
    SetRaw(L"Qword", REG_QWORD, &qwValue, sizeof(qwValue));
    EXPECT_EQ(key.ReadInt(L"Qword", 7), 7);

    SetRaw(L"Binary2", REG_BINARY, allOnes, 2);
    EXPECT_EQ(key.ReadInt(L"Binary2", 7), 7);

    SetRaw(L"Empty", REG_DWORD, nullptr, 0);
    EXPECT_EQ(key.ReadInt(L"Empty", 7), 7);

    SetRawString(L"Sz6", L"12", 6);
    EXPECT_EQ(key.ReadInt(L"Sz6", 7), 7);
}

TEST_F(RegistryKey, DeleteValueRemovesItAndAcceptsAMissingOne) {
    const CRegistryKey key = Key();
    ASSERT_TRUE(key.WriteString(L"Tarvik", L"C:\\Tarvik.exe"));
    ASSERT_TRUE(key.WriteInt(L"Kept", 3));

    EXPECT_TRUE(key.DeleteValue(L"Tarvik"));
    EXPECT_FALSE(Raw(L"Tarvik"));
    EXPECT_EQ(RawDword(L"Kept"), 3);
    std::wstring strOut;
    key.ReadString(L"Tarvik", strOut, L"");
    EXPECT_EQ(strOut, L"");

    EXPECT_TRUE(key.DeleteValue(L"Tarvik"));

    // A key that is not there has no value to delete, and deleting does not create it.
    const std::wstring strMissing = m_strSubKey + L"\\Missing";
    EXPECT_TRUE(CRegistryKey(HKEY_CURRENT_USER, strMissing).DeleteValue(L"Tarvik"));
    EXPECT_FALSE(KeyExists(strMissing));
}

TEST_F(RegistryKey, AKeyThatCannotBeOpenedFailsSilently) {
    // The registry limits each key name to 255 characters, so this key can never be created.
    const CRegistryKey key(HKEY_CURRENT_USER, m_strSubKey + L"\\" + std::wstring(300, L'k'));
    EXPECT_FALSE(key.WriteInt(L"Number", 5));
    EXPECT_FALSE(key.WriteString(L"Text", L"value"));
    EXPECT_EQ(key.ReadInt(L"Number", -5000), -5000);
    std::wstring strOut = L"stale";
    key.ReadString(L"Text", strOut, L"fallback");
    EXPECT_EQ(strOut, L"fallback");
    EXPECT_FALSE(key.DeleteValue(L"Number"));
}

TEST_F(StartupSettings, AnEmptyKeyReadsAsNoPlaceCommonViewPlayAndMetroOff) {
    const CStartupSettings settings = ReadStartupSettings(Key());
    EXPECT_EQ(settings.nMainTop, -5000);
    EXPECT_EQ(settings.nMainLeft, -5000);
    EXPECT_EQ(settings.nMainHeight, -5000);
    EXPECT_EQ(settings.nStartupViewMode, -5000);
    EXPECT_EQ(settings.nAutoPlay, 0);
    EXPECT_EQ(settings.nMetroMode, 0);
}

TEST_F(StartupSettings, EachStoredValueLandsInItsField) {
    // The names as earlier versions stored them, "MainHaight" included.
    const CRegistryKey key = Key();
    ASSERT_TRUE(key.WriteInt(L"MainTop", 11));
    ASSERT_TRUE(key.WriteInt(L"MainLeft", -12));
    ASSERT_TRUE(key.WriteInt(L"MainHaight", 13));
    ASSERT_TRUE(key.WriteInt(L"StartupViewMode", 2));
    ASSERT_TRUE(key.WriteInt(L"AutoPlay", 1));
    ASSERT_TRUE(key.WriteInt(L"Windows8MetroMode", 5));

    const CStartupSettings settings = ReadStartupSettings(key);
    EXPECT_EQ(settings.nMainTop, 11);
    EXPECT_EQ(settings.nMainLeft, -12);
    EXPECT_EQ(settings.nMainHeight, 13);
    EXPECT_EQ(settings.nStartupViewMode, 2);
    EXPECT_EQ(settings.nAutoPlay, 1);
    // Stored values are passed on as they are; what they mean is decided by the caller.
    EXPECT_EQ(settings.nMetroMode, 5);
}

TEST_F(StartupSettings, AnUnreadableValueFallsBackAloneToItsDefault) {
    const CRegistryKey key = Key();
    ASSERT_TRUE(key.WriteInt(L"MainTop", 20));
    const uint64_t qwValue = 30;
    SetRaw(L"MainLeft", REG_QWORD, &qwValue, sizeof(qwValue));
    ASSERT_TRUE(key.WriteInt(L"MainHaight", 400));
    SetRaw(L"AutoPlay", REG_BINARY, "\x01", 1);

    const CStartupSettings settings = ReadStartupSettings(key);
    EXPECT_EQ(settings.nMainTop, 20);
    EXPECT_EQ(settings.nMainLeft, -5000);
    EXPECT_EQ(settings.nMainHeight, 400);
    EXPECT_EQ(settings.nAutoPlay, 0);
}

TEST_F(StartupSettings, WritePanelPlaceStoresTopLeftAndHeightAsDwords) {
    const CRegistryKey key = Key();
    WritePanelPlace(key, 40, 30, 170, 530);
    EXPECT_EQ(RawDword(L"MainTop"), 30);
    EXPECT_EQ(RawDword(L"MainLeft"), 40);
    EXPECT_EQ(RawDword(L"MainHaight"), 500);
    EXPECT_FALSE(Raw(L"MainHeight"));
    EXPECT_FALSE(Raw(L"MainRight"));

    // A panel on a monitor left of and above the primary one.
    WritePanelPlace(key, -1200, -50, -1070, 450);
    const CStartupSettings settings = ReadStartupSettings(key);
    EXPECT_EQ(settings.nMainTop, -50);
    EXPECT_EQ(settings.nMainLeft, -1200);
    EXPECT_EQ(settings.nMainHeight, 500);
    EXPECT_EQ(settings.nStartupViewMode, -5000);
}

}  // namespace
