// One Tarvik per desktop: later starts hand their files to the running instance and end, and the
// end of a Windows session saves what the close sequence saves.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/Waiting.h"

#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <cstdio>
#include <cstring>

namespace {

constexpr wchar_t kBlockName[] = L"Tarvik0.9.20.0";
constexpr size_t kSlotOffset = 4;
constexpr size_t kSlotUnits = 260;

std::wstring Quoted(const std::filesystem::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

size_t TarvikProcessCount() {
    const CKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    size_t nCount = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32FirstW(snapshot.get(), &entry); bMore;
         bMore = Process32NextW(snapshot.get(), &entry)) {
        nCount += _wcsicmp(entry.szExeFile, L"Tarvik.exe") == 0 ? 1 : 0;
    }
    return nCount;
}

// Milliseconds from the process's creation to its exit, as the system recorded them.
double LifetimeMs(const CTarvikProcess& process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process.Handle(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(exited) - ticks(created)) / 10000.0;
}

// The hidden or visible panel of process `nProcessId`.
HWND FindPanel(DWORD nProcessId) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (ClassNameOf(hWnd) == L"#32770" && GetWindow(hWnd, GW_OWNER) == nullptr &&
            TextOf(hWnd) == L"Tarvik" && FindDescendant(hWnd, kIdPlay) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

class HandOff : public CEndToEndTest {
protected:
    // Waits for a later start to end and checks that it ended well.
    static void ExpectEndedWell(const CTarvikProcess& process) {
        ASSERT_TRUE(process.Started());
        ASSERT_TRUE(process.WaitForExit()) << "a later start still runs";
        DWORD nExitCode = STILL_ACTIVE;
        GetExitCodeProcess(process.Handle(), &nExitCode);
        EXPECT_EQ(nExitCode, 0u);
    }
    // Answers the running instance's "save the list first?" with No.
    void AnswerSaveQuestionNo() {
        const HWND hBox = WaitForDialog(L"Load Tarvik Target List");
        ASSERT_NE(hBox, nullptr) << "no save question before the handed file was opened";
        ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
    }
};

}  // namespace

TEST_F(HandOff, LaterStartsHandTheirFilesToTheRunningInstance) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const std::filesystem::path withBlanks =
        ScratchFolder() / L"lists with blanks" / L"my list.trvk";
    const std::filesystem::path elsewhere = ScratchFolder() / L"elsewhere";
    std::filesystem::create_directories(withBlanks.parent_path());
    std::filesystem::create_directories(elsewhere / L"sub");
    WriteTargetListFile(withBlanks, 3, 11);
    WriteTargetListFile(elsewhere / L"sub" / L"relative.trvk", 4, 21);
    WriteTargetListFile(ScratchFolder() / L"first.trvk", 2, 31);
    const std::unique_ptr<CTargetObjList> pLast =
        WriteTargetListFile(ScratchFolder() / L"second.trvk", 5, 41);

    // A path with blanks, into an empty list: opened without a question.
    {
        const CTarvikProcess later(Quoted(withBlanks));
        ASSERT_TRUE(WaitForTileCount(3)) << "the handed file was not opened";
        const double dShownMs = later.ElapsedMs();
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(later));
        std::printf(
            "hand-off: later start to the file's tiles shown %.0f ms, later start's "
            "life %.0f ms\n",
            dShownMs, LifetimeMs(later));
        Scene("file-with-blanks-opened");
    }
    EXPECT_EQ(TarvikProcessCount(), 1u);

    // A relative path from another folder; the list is not empty, so the question comes first.
    {
        const CTarvikProcess later(L"sub\\relative.trvk", elsewhere.wstring());
        // A later start while the question waits brings the question forward and does not
        // raise the always-on-top panel over it.
        const HWND hBox = WaitForDialog(L"Load Tarvik Target List");
        ASSERT_NE(hBox, nullptr) << "no save question before the handed file was opened";
        {
            const CTarvikProcess plain(L"");
            ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(plain));
        }
        const HWND hNo = FindDescendant(hBox, IDNO, L"Button");
        ASSERT_NE(hNo, nullptr);
        EXPECT_EQ(WindowFromPoint(CentreOf(ScreenRectOf(hNo))), hNo)
            << "the question is covered after a later start";
        ASSERT_NO_FATAL_FAILURE(AnswerSaveQuestionNo());
        ASSERT_TRUE(WaitForTileCount(4)) << "the relative path was not opened";
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(later));
    }

    // Two later starts in quick succession: the second waits for the slot, both open in order.
    {
        const CTarvikProcess first(Quoted(ScratchFolder() / L"first.trvk"));
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(first));
        const CTarvikProcess second(Quoted(ScratchFolder() / L"second.trvk"));
        ASSERT_NO_FATAL_FAILURE(AnswerSaveQuestionNo());
        ASSERT_TRUE(WaitForTileCount(2)) << "the first of two quick hand-offs was not opened";
        ASSERT_NO_FATAL_FAILURE(AnswerSaveQuestionNo());
        ASSERT_TRUE(WaitForTileCount(5)) << "the second of two quick hand-offs was not opened";
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(second));
    }

    // A path of 300 characters is refused by the later start; the running one sees nothing.
    {
        const std::wstring strLong = L"C:\\" + std::wstring(292, L'x') + L".trvk";
        ASSERT_EQ(strLong.size(), 300u);
        const CTarvikProcess later(Quoted(strLong));
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = FindDialog(later.Id(), nullptr)) != nullptr; }))
            << "the later start did not say that the path is too long";
        std::wstring strText = MessageBoxTextOf(hBox);
        EXPECT_NE(strText.find(L"too long"), std::wstring::npos);
        // The path is shown whole, in lines that fit the screen.
        std::erase(strText, L'\n');
        EXPECT_NE(strText.find(strLong), std::wstring::npos);
        EXPECT_LE(WidthOf(ScreenRectOf(hBox)), GetSystemMetrics(SM_CXSCREEN));
        RedrawWindow(hBox, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Scene("path-too-long");
        // The end of the Windows session while the refused start waits in its message: no
        // WM_CLOSE comes, yet the running Tarvik keeps its list and place, and nothing of the
        // refused start writes them. Every top-level window is asked, then told: the running
        // Tarvik's first, so that a later start writing after it would show.
        const RECT rcPanel = ScreenRectOf(m_hMain);
        std::vector<HWND> windows = TopLevelWindowsOf(later.Id());
        windows.insert(windows.begin(), m_hMain);
        for (const UINT uMsg : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
            for (const HWND hWnd : windows) {
                DWORD_PTR nAnswer = 0;
                const bool bAnswered =
                    SendMessageTimeoutW(hWnd, uMsg, uMsg == WM_ENDSESSION, ENDSESSION_LOGOFF,
                                        SMTO_NORMAL, kReactionTimeoutMs, &nAnswer) != 0;
                EXPECT_TRUE(bAnswered) << "a window hung at the end of the session";
                if (hWnd == m_hMain && uMsg == WM_QUERYENDSESSION) {
                    EXPECT_EQ(nAnswer, static_cast<DWORD_PTR>(TRUE));
                }
            }
        }
        std::string strError;
        const std::unique_ptr<CTargetObjList> pSaved =
            ReadTargetListFile(DefaultListPath(), &strError);
        ASSERT_NE(pSaved, nullptr) << strError;
        EXPECT_TRUE(SameTargets(*pLast, *pSaved));
        EXPECT_EQ(ReadSetting(kMainTop), rcPanel.top);
        EXPECT_EQ(ReadSetting(kMainLeft), rcPanel.left);
        EXPECT_EQ(ReadSetting(kMainHeight), HeightOf(rcPanel));
        for (const auto& entry :
             std::filesystem::directory_iterator(DefaultListPath().parent_path())) {
            EXPECT_EQ(entry.path().filename(), DefaultListPath().filename())
                << "left beside the default file";
        }
        // Enter, not a click: the box stands over the topmost panel, whose tiles would rise with
        // their hover badge under a pointer gliding to the button.
        TapKey(VK_RETURN);
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(later));
    }

    // Junk without a terminator written into the slot by another program: cleared, ignored.
    {
        const CKernelHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kBlockName));
        ASSERT_TRUE(mapping) << "the running instance holds no shared block";
        auto* pBlock = static_cast<unsigned char*>(
            MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSlotOffset + kSlotUnits * 2));
        ASSERT_NE(pBlock, nullptr);
        const std::u16string junk(kSlotUnits, u'j');
        std::memcpy(pBlock + kSlotOffset, junk.data(), junk.size() * 2);
        EXPECT_TRUE(WaitUntil([&] {
            return std::all_of(pBlock + kSlotOffset, pBlock + kSlotOffset + kSlotUnits * 2,
                               [](unsigned char c) { return c == 0; });
        })) << "the junk stayed in the slot";
        UnmapViewOfFile(pBlock);
    }
    ASSERT_TRUE(TarvikResponds());
    EXPECT_EQ(Tiles().size(), 5u);
    EXPECT_EQ(FindDialog(m_pTarvik->Id(), m_hMain), nullptr)
        << "the running instance said something";

    // Ten later starts at once without a file, the panel hidden with "X": all end, one Tarvik
    // remains, and its panel is back.
    ASSERT_TRUE(TarvikResponds());
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(Control(kIdHidePanel)))));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hMain); }));
    {
        std::vector<std::unique_ptr<CTarvikProcess>> later;
        for (int i = 0; i < 10; ++i) {
            later.push_back(std::make_unique<CTarvikProcess>());
        }
        for (const auto& pLater : later) {
            ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(*pLater));
        }
    }
    EXPECT_EQ(TarvikProcessCount(), 1u);
    ASSERT_TRUE(TarvikResponds());
    EXPECT_TRUE(IsWindowVisible(m_hMain)) << "a later start did not restore the hidden panel";
    Scene("restored-by-later-start");

    // Once the running instance has closed, the next start is a first instance again.
    const DWORD nFirstId = m_pTarvik->Id();
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    EXPECT_NE(m_pTarvik->Id(), nFirstId);
    EXPECT_TRUE(WaitForTileCount(5));
    EXPECT_EQ(TarvikProcessCount(), 1u);
}

TEST_F(HandOff, EveryFileOfTwentySimultaneousStartsOpensOnce) {
    // As when twenty selected lists are opened from Explorer: list k has k targets, so the tiles
    // tell which one is open.
    constexpr size_t kStarts = 20;
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(TarvikResponds());
    std::vector<std::filesystem::path> files;
    for (size_t k = 1; k <= kStarts; ++k) {
        files.push_back(ScratchFolder() / (L"list " + std::to_wstring(k) + L".trvk"));
        WriteTargetListFile(files.back(), static_cast<int>(k), static_cast<uint32_t>(100 * k));
    }
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    FILETIME begun{};
    GetSystemTimeAsFileTime(&begun);
    std::vector<std::unique_ptr<CTarvikProcess>> later;
    for (const std::filesystem::path& file : files) {
        later.push_back(std::make_unique<CTarvikProcess>(Quoted(file)));
    }
    // The files open one after the other, in the order they reached the running Tarvik; each
    // Load over a list asks first. When a question comes, the tiles show the file opened last.
    std::vector<size_t> opened;
    while (opened.size() + 1 < kStarts) {
        const HWND hBox = WaitForDialog(L"Load Tarvik Target List");
        ASSERT_NE(hBox, nullptr) << "only " << opened.size() + 1 << " files were opened";
        opened.push_back(Tiles().size());
        ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
    }
    // The last start to end had handed its file over by then.
    ULONGLONG nLastEnded = ticks(begun);
    for (const auto& pLater : later) {
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(*pLater));
        FILETIME created{}, exited{}, kernel{}, user{};
        GetProcessTimes(pLater->Handle(), &created, &exited, &kernel, &user);
        nLastEnded = std::max(nLastEnded, ticks(exited));
    }
    // The last file: the one not yet seen.
    std::vector<size_t> missing;
    for (size_t k = 1; k <= kStarts; ++k) {
        if (std::find(opened.begin(), opened.end(), k) == opened.end()) {
            missing.push_back(k);
        }
    }
    ASSERT_EQ(missing.size(), 1u) << "a file was opened twice";
    ASSERT_TRUE(WaitForTileCount(missing[0])) << "the last file was not opened";
    FILETIME shown{};
    GetSystemTimeAsFileTime(&shown);
    opened.push_back(missing[0]);
    std::sort(opened.begin(), opened.end());
    for (size_t k = 1; k <= kStarts; ++k) {
        EXPECT_EQ(opened[k - 1], k);
    }
    EXPECT_EQ(TarvikProcessCount(), 1u);
    EXPECT_EQ(FindDialog(m_pTarvik->Id(), m_hMain), nullptr) << "a question is left open";
    const auto msSinceBegun = [&](ULONGLONG nAt) {
        return static_cast<double>(nAt - ticks(begun)) / 10000.0;
    };
    std::printf(
        "hand-off: %zu simultaneous starts, %zu files opened of %zu handed; the last start ended "
        "%.0f ms after the first was started, the last file was shown after %.0f ms (%zu "
        "save questions answered on the way)\n",
        kStarts, opened.size(), kStarts, msSinceBegun(nLastEnded), msSinceBegun(ticks(shown)),
        kStarts - 1);
    Scene("last-of-twenty-opened");
}

TEST_F(HandOff, LaterStartLeavesThePanelHiddenInTheFlyWindowAndTrayModes) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(TarvikResponds());
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(Control(kIdToFlyWindow)))));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hMain); }));
    {
        const CTarvikProcess later;
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(later));
    }
    ASSERT_TRUE(TarvikResponds());
    EXPECT_FALSE(IsWindowVisible(m_hMain)) << "shown in the fly-window mode";
    Scene("fly-window-mode-after-later-start");
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());

    WriteSetting(L"StartupViewMode", 2);
    m_pTarvik = std::make_unique<CTarvikProcess>();
    ASSERT_TRUE(WaitUntil([&] { return (m_hMain = FindPanel(m_pTarvik->Id())) != nullptr; }));
    WaitForInputIdle(m_pTarvik->Handle(), kReactionTimeoutMs);
    {
        const CTarvikProcess later;
        ASSERT_NO_FATAL_FAILURE(ExpectEndedWell(later));
    }
    ASSERT_TRUE(TarvikResponds());
    EXPECT_FALSE(IsWindowVisible(m_hMain)) << "shown in the tray mode";
    EXPECT_EQ(TarvikProcessCount(), 1u);
}
