// The package under Wine as a user meets it: a silent per-user installation over an older
// version, the files, shortcut, association and Installed-apps entry it leaves, .trvk files
// opened through the shell, a repair, and an uninstall that closes Tarvik and keeps the user's
// data; then the portable zip's Tarvik.exe started from a folder of its own.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/PageOpenerRegistered.h"
#include "tests/e2e/SettingsDialogSteps.h"
#include "tests/e2e/Waiting.h"

#include "TarvikVersion.h"

#include <msi.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <optional>
#include <set>

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kUpgradeCode[] = L"{FDA44A78-D019-494F-A680-B8EFDE0BEEC6}";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

fs::path PackageFolder() {
    return fs::path(TestExeFolder()) / L"package";
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR pszPath = nullptr;
    fs::path path;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &pszPath))) {
        path = pszPath;
    }
    CoTaskMemFree(pszPath);
    return path;
}

fs::path InstallFolder() {
    return KnownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Tarvik";
}

fs::path StartMenuShortcut() {
    return KnownFolder(FOLDERID_Programs) / L"Tarvik.lnk";
}

// Runs `strCommandLine` and returns its exit code and how long it took, or nothing when it
// did not start or end.
struct RunResult {
    DWORD nExitCode;
    double dSeconds;
};
std::optional<RunResult> RunCommand(std::wstring strCommandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const ULONGLONG started = GetTickCount64();
    if (!CreateProcessW(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return std::nullopt;
    }
    const CKernelHandle process(info.hProcess);
    const CKernelHandle thread(info.hThread);
    if (WaitForSingleObject(process.get(), 120000) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD nExitCode = 0;
    GetExitCodeProcess(process.get(), &nExitCode);
    return RunResult{nExitCode, static_cast<double>(GetTickCount64() - started) / 1000.0};
}

// The installed products that share Tarvik's upgrade code.
std::vector<std::wstring> InstalledTarviks() {
    std::vector<std::wstring> products;
    wchar_t szCode[39] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, szCode) == ERROR_SUCCESS; ++i) {
        products.emplace_back(szCode);
    }
    return products;
}

// The default value of a key under the classes root, or "" when it is missing.
std::wstring ClassesDefault(const wchar_t* pszKey) {
    return ReadClassesDefault(pszKey).value_or(L"");
}

std::wstring ProductInfo(const std::wstring& strCode, const wchar_t* pszProperty) {
    wchar_t szValue[MAX_PATH] = {};
    DWORD nLength = MAX_PATH;
    if (MsiGetProductInfoW(strCode.c_str(), pszProperty, szValue, &nLength) != ERROR_SUCCESS) {
        return {};
    }
    return szValue;
}

// The Tarvik.exe processes that run now.
std::vector<DWORD> TarvikProcessIds() {
    const CKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    std::vector<DWORD> ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32FirstW(snapshot.get(), &entry); bMore;
         bMore = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"Tarvik.exe") == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

fs::path ProcessImage(HANDLE hProcess) {
    wchar_t szPath[MAX_PATH] = {};
    DWORD nLength = MAX_PATH;
    return QueryFullProcessImageNameW(hProcess, 0, szPath, &nLength) ? fs::path(szPath)
                                                                     : fs::path();
}

// Where the shortcut leads, through the shell's own link object.
fs::path ShortcutTarget(const fs::path& link) {
    IShellLinkW* pLink = nullptr;
    fs::path target;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&pLink)))) {
        return target;
    }
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        wchar_t szTarget[MAX_PATH] = {};
        if (SUCCEEDED(pFile->Load(link.c_str(), STGM_READ)) &&
            SUCCEEDED(pLink->GetPath(szTarget, MAX_PATH, nullptr, 0))) {
            target = szTarget;
        }
        pFile->Release();
    }
    pLink->Release();
    return target;
}

std::set<std::wstring> FolderEntries(const fs::path& folder) {
    std::set<std::wstring> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        names.insert(entry.path().filename().wstring());
    }
    return names;
}

class InstallerScene : public CEndToEndTest {
protected:
    void SetUp() override {
        CEndToEndTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_previousAssociation = ReadClassesDefault(L".trvk");
        m_pAutorunKept = std::make_unique<CAutorunValueKept>();
    }
    // Leaves the prefix as it was, whatever step failed: no Tarvik of the scene running, no
    // installed Tarvik, the association of .trvk and the autorun value as before.
    void TearDown() override {
        if (m_tarvik) {
            if (m_hMain != nullptr) {
                PostMessageW(m_hMain, WM_CLOSE, 0, 0);
            }
            if (WaitForSingleObject(m_tarvik.get(), kStartTimeoutMs) != WAIT_OBJECT_0) {
                TerminateProcess(m_tarvik.get(), 1);
                WaitForSingleObject(m_tarvik.get(), kStartTimeoutMs);
            }
        }
        for (const std::wstring& strCode : InstalledTarviks()) {
            RunCommand(L"msiexec.exe /x " + strCode + L" /qn");
        }
        // What a failed uninstall may have left behind of a package that is no longer installed.
        std::error_code error;
        fs::remove_all(InstallFolder(), error);
        fs::remove(StartMenuShortcut(), error);
        if (m_previousAssociation && !ReadClassesDefault(L".trvk")) {
            WriteClassesDefault(L".trvk", *m_previousAssociation);
        }
        m_pAutorunKept.reset();
        CoUninitialize();
        CEndToEndTest::TearDown();
    }

    // Installs (or repairs, or upgrades to) `package` silently and returns the seconds taken.
    double Install(const fs::path& package) {
        const std::optional<RunResult> result =
            RunCommand(L"msiexec.exe /i \"" + package.wstring() + L"\" /qn");
        EXPECT_TRUE(result && result->nExitCode == 0)
            << "msiexec /i " << package.string() << " failed"
            << (result ? " with " + std::to_string(result->nExitCode) : std::string());
        return result ? result->dSeconds : 0;
    }

    // Opens `file` as Explorer does and waits until the one Tarvik shows `nTiles` tiles.
    void OpenThroughShell(const fs::path& file, size_t nTiles) {
        const HINSTANCE hResult =
            ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        ASSERT_GT(reinterpret_cast<INT_PTR>(hResult), 32) << "the shell did not open the file";
        if (!m_tarvik) {
            std::vector<DWORD> ids;
            ASSERT_TRUE(WaitUntil([&] { return (ids = TarvikProcessIds()).size() == 1; }))
                << "opening a .trvk file started no Tarvik";
            m_nTarvikId = ids.front();
            m_tarvik.reset(
                OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, m_nTarvikId));
            ASSERT_TRUE(m_tarvik);
            EXPECT_TRUE(
                fs::equivalent(ProcessImage(m_tarvik.get()), InstallFolder() / L"Tarvik.exe"))
                << "the file was opened by " << ProcessImage(m_tarvik.get()).string();
            ASSERT_TRUE(WaitUntil([&] { return (m_hMain = FindMainWindow(m_nTarvikId)); },
                                  kStartTimeoutMs));
        } else {
            // The list is not empty: Tarvik asks whether to save it first.
            HWND hBox = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                return (hBox = FindDialog(m_nTarvikId, m_hMain, L"Load Tarvik Target List"));
            })) << "the running Tarvik did not take the handed-over file";
            ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
        }
        ASSERT_TRUE(WaitForTileCount(nTiles)) << "Tarvik does not show the list's tiles";
        EXPECT_TRUE(WaitUntil([] { return TarvikProcessIds().size() == 1; }))
            << "more than one Tarvik runs";
    }

    std::optional<std::wstring> m_previousAssociation;
    std::unique_ptr<CAutorunValueKept> m_pAutorunKept;
    CKernelHandle m_tarvik;
    DWORD m_nTarvikId = 0;
};

}  // namespace

TEST_F(InstallerScene, InstallsUpgradesOpensTrvkFilesAndUninstallsCleanly) {
    const fs::path exe = InstallFolder() / L"Tarvik.exe";
    const std::wstring strVersion = L"" TARVIK_VERSION_TEXT;
    ASSERT_TRUE(InstalledTarviks().empty()) << "a Tarvik is installed before the scene";

    // An older version first, then this one over it: one product remains, the newer.
    const double dOlderSeconds =
        Install(PackageFolder() / L"older" / (L"Tarvik-" TARVIK_OLDER_VERSION L"-x64.msi"));
    ASSERT_EQ(InstalledTarviks().size(), 1u);
    const double dInstallSeconds =
        Install(PackageFolder() / (L"Tarvik-" + strVersion + L"-x64.msi"));
    const std::vector<std::wstring> products = InstalledTarviks();
    ASSERT_EQ(products.size(), 1u) << "the upgrade left more than one Tarvik";
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), strVersion);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_INSTALLEDPRODUCTNAME), L"Tarvik");
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_PUBLISHER), L"Tarvik");
    EXPECT_TRUE(fs::exists(ProductInfo(products[0], INSTALLPROPERTY_PRODUCTICON)))
        << "the Installed-apps entry has no icon";
    std::printf("installer: older version installed in %.1f s, upgrade in %.1f s\n", dOlderSeconds,
                dInstallSeconds);

    // The files, the shortcut and the association, with the document icon inside Tarvik.exe.
    const std::set<std::wstring> files{L"ReadMe.txt", L"Tarvik.exe", L"tarvik-cli.exe"};
    EXPECT_EQ(FolderEntries(InstallFolder()), files);
    EXPECT_EQ(FileBytes(InstallFolder() / L"ReadMe.txt"),
              FileBytes(PackageFolder() / L"unzipped" / L"ReadMe.txt"))
        << "the upgrade kept the older version's read-me";
    EXPECT_TRUE(fs::equivalent(ShortcutTarget(StartMenuShortcut()), exe))
        << "no Start menu shortcut to Tarvik.exe";
    EXPECT_EQ(ClassesDefault(L".trvk"), L"Tarvik.TargetList");
    EXPECT_EQ(ClassesDefault(L"Tarvik.TargetList\\shell\\open\\command"),
              L"\"" + exe.wstring() + L"\" \"%1\"");
    EXPECT_EQ(ClassesDefault(L"Tarvik.TargetList\\DefaultIcon"), exe.wstring() + L",-180");
    HICON hIcon = nullptr;
    EXPECT_EQ(ExtractIconExW(exe.c_str(), -180, &hIcon, nullptr, 1), 1u);
    if (hIcon != nullptr) {
        DestroyIcon(hIcon);
    }

    // The same package again repairs: a lost file comes back, still one product.
    fs::remove(InstallFolder() / L"ReadMe.txt");
    Install(PackageFolder() / (L"Tarvik-" + strVersion + L"-x64.msi"));
    EXPECT_EQ(FolderEntries(InstallFolder()), files) << "the repair did not restore the read-me";
    EXPECT_EQ(InstalledTarviks().size(), 1u);

    // Two lists opened from the shell: the first starts Tarvik, the second is handed to it.
    WriteTargetListFile(ScratchFolder() / L"first list.trvk", 3, 7);
    const std::unique_ptr<CTargetObjList> pSecond =
        WriteTargetListFile(ScratchFolder() / L"second.trvk", 5, 9);
    ASSERT_NO_FATAL_FAILURE(OpenThroughShell(ScratchFolder() / L"first list.trvk", 3));
    Scene("opened-by-association");
    ASSERT_NO_FATAL_FAILURE(OpenThroughShell(ScratchFolder() / L"second.trvk", 5));
    Scene("second-file-handed-over");

    // Uninstall while Tarvik runs with autorun on: Tarvik is asked to close and saves its list.
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tarvik", REG_SZ, exe.c_str(),
                              static_cast<DWORD>((exe.wstring().size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const std::optional<RunResult> removed = RunCommand(L"msiexec.exe /x " + products[0] + L" /qn");
    ASSERT_TRUE(removed && removed->nExitCode == 0) << "msiexec /x failed";
    std::printf("installer: uninstalled in %.1f s, closing Tarvik included\n", removed->dSeconds);
    ASSERT_EQ(WaitForSingleObject(m_tarvik.get(), kReactionTimeoutMs), WAIT_OBJECT_0)
        << "Tarvik still runs";
    DWORD nExitCode = STILL_ACTIVE;
    GetExitCodeProcess(m_tarvik.get(), &nExitCode);
    EXPECT_EQ(nExitCode, 0u) << "Tarvik was killed, not closed";
    m_tarvik.reset();

    EXPECT_TRUE(InstalledTarviks().empty());
    EXPECT_FALSE(fs::exists(InstallFolder())) << "files are left in " << InstallFolder().string();
    EXPECT_FALSE(fs::exists(StartMenuShortcut()));
    EXPECT_FALSE(ReadClassesDefault(L".trvk").has_value());
    EXPECT_FALSE(ReadClassesDefault(L"Tarvik.TargetList").has_value());
    EXPECT_FALSE(ReadAutorunValue().has_value()) << "the autorun value naming Tarvik.exe stayed";
    // The user's data stays: the list Tarvik saved as it closed, and its settings.
    std::string strError;
    const std::unique_ptr<CTargetObjList> pSaved = ReadTargetListFile(DefaultListPath(), &strError);
    ASSERT_NE(pSaved, nullptr) << strError;
    EXPECT_TRUE(SameTargets(*pSecond, *pSaved));
    EXPECT_TRUE(ReadSetting(kMainTop).has_value()) << "the settings key is gone";
}

TEST_F(InstallerScene, AnUninstallKeepsAnAutorunValueOfAnotherCopy) {
    const std::wstring strElsewhere = L"C:\\Portable\\Tarvik.exe";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tarvik", REG_SZ, strElsewhere.c_str(),
                              static_cast<DWORD>((strElsewhere.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    Install(PackageFolder() / (L"Tarvik-" TARVIK_VERSION_TEXT L"-x64.msi"));
    const std::vector<std::wstring> products = InstalledTarviks();
    ASSERT_EQ(products.size(), 1u);
    const std::optional<RunResult> removed = RunCommand(L"msiexec.exe /x " + products[0] + L" /qn");
    ASSERT_TRUE(removed && removed->nExitCode == 0);
    EXPECT_EQ(ReadAutorunValue().value_or(L""), strElsewhere);
}

TEST_F(InstallerScene, ThePortableTarvikRunsFromAnyFolder) {
    const fs::path folder = ScratchFolder() / L"any folder" / L"Tarvik";
    fs::create_directories(folder);
    for (const wchar_t* pszFile : {L"Tarvik.exe", L"tarvik-cli.exe"}) {
        fs::copy_file(PackageFolder() / L"unzipped" / pszFile, folder / pszFile);
    }
    WriteTargetListFile(ScratchFolder() / L"list.trvk", 2, 5);
    const std::optional<RunResult> info =
        RunCommand(L"\"" + (folder / L"tarvik-cli.exe").wstring() + L"\" info \"" +
                   (ScratchFolder() / L"list.trvk").wstring() + L"\"");
    EXPECT_TRUE(info && info->nExitCode == 0) << "the zip's tarvik-cli.exe does not run";

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring strCommand = L"\"" + (folder / L"Tarvik.exe").wstring() + L"\" \"" +
                              (ScratchFolder() / L"list.trvk").wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &startup, &process));
    m_tarvik.reset(process.hProcess);
    CloseHandle(process.hThread);
    ASSERT_TRUE(
        WaitUntil([&] { return (m_hMain = FindMainWindow(process.dwProcessId)); }, kStartTimeoutMs))
        << "the zip's Tarvik.exe showed no panel";
    ASSERT_TRUE(WaitForTileCount(2));
    Scene("portable");
    ASSERT_TRUE(PostMessageW(m_hMain, WM_CLOSE, 0, 0));
    ASSERT_EQ(WaitForSingleObject(m_tarvik.get(), kStartTimeoutMs), WAIT_OBJECT_0);
    m_tarvik.reset();
}
