// Registry values, the default list and list files of the end-to-end tests.
#include "tests/e2e/TarvikState.h"

#include "model/ByteStream.h"
#include "model/FileErrors.h"
#include "model/TargetListFile.h"
#include "tests/e2e/KernelHandle.h"

#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Tarvik\\Tarvik";

CRegKey OpenSettingsKey(REGSAM access) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, access, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return CRegKey(hKey);
}

// A 0x00RRGGBB colour that differs clearly from its neighbours in the list.
uint32_t TargetColour(int nIndex, uint32_t nSeed) {
    const uint32_t n = static_cast<uint32_t>(nIndex) * 2654435761u + nSeed * 40503u;
    return MakeBgr0(static_cast<uint8_t>(64 + (n >> 8) % 160),
                    static_cast<uint8_t>(64 + (n >> 16) % 160),
                    static_cast<uint8_t>(64 + (n >> 24) % 160));
}

// A coloured square with a dark frame and a diagonal, so each tile is told apart at a glance.
PixelBuffer AreaPicture(uint32_t nColour) {
    PixelBuffer picture(100, 100);
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            const bool bLine = x < 3 || y < 3 || x > 96 || y > 96 || x == y;
            picture.Set(x, y, bLine ? MakeBgr0(40, 40, 40) : nColour);
        }
    }
    return picture;
}

// A small checker pattern in the target's colour.
PixelBuffer TargetPicture(uint32_t nColour, int nIndex) {
    PixelBuffer picture(24, 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 24; ++x) {
            const bool bDark = ((x / 4) + (y / 4) + nIndex) % 2 == 0;
            picture.Set(x, y, bDark ? MakeBgr0(20, 20, 20) : nColour);
        }
    }
    return picture;
}

}  // namespace

void DeleteStoredSettings() {
    const CRegKey key = OpenSettingsKey(KEY_ALL_ACCESS);
    for (const wchar_t* pszName : {kMainTop, kMainLeft, kMainHeight, L"StartupViewMode",
                                   L"AutoPlay", L"Windows8MetroMode", L"PlayHotkey"}) {
        if (key) {
            RegDeleteValueW(key.get(), pszName);
        }
    }
}

void WriteSetting(const wchar_t* pszName, int32_t nValue) {
    const CRegKey key = OpenSettingsKey(KEY_ALL_ACCESS);
    if (key) {
        RegSetValueExW(key.get(), pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nValue),
                       sizeof(nValue));
    }
}

std::optional<int32_t> ReadSetting(const wchar_t* pszName) {
    const CRegKey key = OpenSettingsKey(KEY_READ);
    int32_t nValue = 0;
    DWORD dwType = 0;
    DWORD dwSize = sizeof(nValue);
    if (!key ||
        RegQueryValueExW(key.get(), pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&nValue),
                         &dwSize) != ERROR_SUCCESS ||
        dwType != REG_DWORD || dwSize != sizeof(nValue)) {
        return std::nullopt;
    }
    return nValue;
}

std::filesystem::path DefaultListPath() {
    wchar_t szFolder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, szFolder, CSIDL_APPDATA, TRUE);
    return std::filesystem::path(szFolder) / L"Tarvik" / L"Default.trvk";
}

void RemoveDefaultList() {
    std::error_code error;
    std::filesystem::remove(DefaultListPath(), error);
}

std::filesystem::path ScratchFolder() {
    return L"C:\\tarvik-e2e";
}

void ResetScratchFolder() {
    std::error_code error;
    // A test may have left a read-only file behind; it must not block the clean-up.
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), error)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(ScratchFolder(), error);
    std::filesystem::create_directories(ScratchFolder(), error);
}

std::unique_ptr<CTargetObjList> MakeTargetList(int nCount, uint32_t nSeed) {
    auto list = std::make_unique<CTargetObjList>();
    for (int i = nCount - 1; i >= 0; --i) {
        auto target = std::make_unique<CTargetObj>();
        const uint32_t nColour = TargetColour(i, nSeed);
        const std::string strNumber = std::to_string(i + 1);
        target->m_strName = u"Target " + std::u16string(strNumber.begin(), strNumber.end());
        target->m_bmpTarget = CPicture(TargetPicture(nColour, i));
        target->m_bmpArea = CPicture(AreaPicture(nColour));
        target->m_nOrder = i;
        target->m_rcTarget = {100 + i, 200 + i, 124 + i, 216 + i};
        target->m_ptClickShift = {i % 5 - 2, 3 - i % 7};
        list->AddTail(std::move(target));
    }
    return list;
}

std::unique_ptr<CTargetObjList> WriteTargetListFile(const std::filesystem::path& path, int nCount,
                                                    uint32_t nSeed) {
    std::unique_ptr<CTargetObjList> list = MakeTargetList(nCount, nSeed);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    SaveTargetListFile(*list, path);
    return list;
}

std::unique_ptr<CTargetObjList> ReadTargetListFile(const std::filesystem::path& path,
                                                   std::string* pstrError) {
    try {
        return LoadTargetListFile(path);
    } catch (const CFileException& error) {
        if (pstrError != nullptr) {
            const std::u16string strText = error.Message();
            *pstrError = std::string(strText.begin(), strText.end());
        }
    } catch (const std::exception& error) {
        if (pstrError != nullptr) {
            *pstrError = error.what();
        }
    }
    return nullptr;
}

std::vector<uint8_t> EmptyListBytes() {
    CTargetObjList empty;
    CMemorySink sink;
    WriteTargetList(empty, sink, "empty.trvk");
    return sink.TakeBytes();
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

::testing::AssertionResult SameTargets(const CTargetObjList& expected,
                                       const CTargetObjList& actual) {
    if (expected.Count() != actual.Count()) {
        return ::testing::AssertionFailure()
               << "expected " << expected.Count() << " targets, found " << actual.Count();
    }
    for (const auto& want : expected) {
        const CTargetObj* pHave = actual.FindByOrder(want->m_nOrder);
        if (pHave == nullptr) {
            return ::testing::AssertionFailure() << "no target of order " << want->m_nOrder;
        }
        const auto samePixels = [](const CPicture& a, const CPicture& b) {
            return a.Pixels() != nullptr && b.Pixels() != nullptr && *a.Pixels() == *b.Pixels();
        };
        if (pHave->m_strName != want->m_strName || !(pHave->m_rcTarget == want->m_rcTarget) ||
            !(pHave->m_ptClickShift == want->m_ptClickShift) ||
            !samePixels(pHave->m_bmpTarget, want->m_bmpTarget) ||
            !samePixels(pHave->m_bmpArea, want->m_bmpArea)) {
            return ::testing::AssertionFailure()
                   << "target of order " << want->m_nOrder << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}
