// The fixture's set-up, clean-up and the person-like steps shared by the scenarios.
#include "tests/e2e/EndToEndTest.h"

#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>

namespace {

// Where the pointer waits between tests: a corner no window of Tarvik covers by default.
constexpr POINT kPointerRest{8, 1000};

}  // namespace

void CEndToEndTest::SetUp() {
    ReleaseLeftButton();
    MovePointer(kPointerRest);
    DeleteStoredSettings();
    RemoveDefaultList();
    ResetScratchFolder();
}

void CEndToEndTest::TearDown() {
    ReleaseLeftButton();
    m_pTarvik.reset();
    m_hMain = nullptr;
}

void CEndToEndTest::StartTarvik() {
    m_pTarvik = std::make_unique<CTarvikProcess>();
    ASSERT_TRUE(m_pTarvik->Started())
        << "CreateProcessW of Tarvik.exe failed with error " << m_pTarvik->StartError();
    m_hMain = m_pTarvik->WaitForMainWindow();
    m_dStartupMs = m_pTarvik->ElapsedMs();
    ASSERT_NE(m_hMain, nullptr) << "Tarvik showed no visible main dialog titled \"Tarvik\""
                                << (m_pTarvik->IsRunning() ? "" : " and ended");
    // The panel is painted once the message loop waits for input.
    WaitForInputIdle(m_pTarvik->Handle(), kReactionTimeoutMs);
}

void CEndToEndTest::CloseTarvik() {
    ASSERT_TRUE(PostMessageW(m_hMain, WM_CLOSE, 0, 0));
    ASSERT_TRUE(m_pTarvik->WaitForExit()) << "Tarvik still runs after WM_CLOSE";
    DWORD nExitCode = STILL_ACTIVE;
    ASSERT_TRUE(GetExitCodeProcess(m_pTarvik->Handle(), &nExitCode));
    EXPECT_EQ(nExitCode, 0u) << "Tarvik ended with a failure code";
}

bool CEndToEndTest::TarvikResponds() const {
    DWORD_PTR nIgnored = 0;
    return SendMessageTimeoutW(m_hMain, WM_NULL, 0, 0, SMTO_NORMAL, kReactionTimeoutMs,
                               &nIgnored) != 0;
}

void CEndToEndTest::Scene(const std::string& strScene) {
    if (m_pTarvik && m_pTarvik->IsRunning() && IsWindow(m_hMain)) {
        // Paints what is waiting to be painted, in Tarvik's thread, before this returns.
        RedrawWindow(m_hMain, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    SceneNow(strScene);
}

void CEndToEndTest::SceneNow(const std::string& strScene) {
    const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string strName =
        std::string(pInfo->test_suite_name()) + "." + pInfo->name() + "-" + strScene;
    if (const int nSeen = ++m_sceneCounts[strScene]; nSeen > 1) {
        strName += "-" + std::to_string(nSeen);
    }
    std::replace(strName.begin(), strName.end(), '/', '_');
    const std::filesystem::path file =
        std::filesystem::path(TestExeFolder()) / "screenshots" / "e2e" / (strName + ".png");
    EXPECT_TRUE(SaveScreenPng(file)) << "could not save the screenshot " << file.string();
}

bool CEndToEndTest::WaitForTileCount(size_t nCount) const {
    return WaitUntil([&] { return Tiles().size() == nCount; });
}

void CEndToEndTest::DragPanelBy(int dx, int dy) {
    // A point of the top strip that no button covers.
    constexpr POINT kGrab{40, 12};
    const RECT before = ScreenRectOf(m_hMain);
    const POINT grab = OnPanel(kGrab.x, kGrab.y);
    ASSERT_TRUE(TarvikResponds());
    ASSERT_TRUE(GlidePointer(grab));
    ASSERT_TRUE(TarvikResponds());
    {
        CLeftButtonHeld held;
        bool bFollowing = true;
        ASSERT_TRUE(GlidePointer({grab.x + dx, grab.y + dy}, 4, [&](POINT pt) {
            // Each step waits for the panel, as a person's hand would, so that the pointer
            // never leaves it; a panel that does not follow at all is waited for only once.
            bFollowing =
                bFollowing && WaitUntil(
                                  [&] {
                                      const RECT rc = ScreenRectOf(m_hMain);
                                      return rc.left == pt.x - kGrab.x && rc.top == pt.y - kGrab.y;
                                  },
                                  2000, 5);
        }));
    }
    const RECT rcWanted{before.left + dx, before.top + dy, before.right + dx, before.bottom + dy};
    if (!WaitUntil([&] { return RectText(ScreenRectOf(m_hMain)) == RectText(rcWanted); })) {
        Scene("panel-did-not-follow");
        FAIL() << "the panel did not follow a drag of its top strip: it is at "
               << RectText(ScreenRectOf(m_hMain)) << " instead of " << RectText(rcWanted);
    }
}

void CEndToEndTest::ChooseFileMenuItem(WORD nKey) {
    const HWND hFile = Control(kIdFile);
    ASSERT_NE(hFile, nullptr) << "no File button (id 1012)";
    ASSERT_TRUE(TarvikResponds());
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(hFile))));
    ASSERT_TRUE(WaitUntil([&] { return FindPopupMenu(m_pTarvik->Id()) != nullptr; }))
        << "the File button opened no popup menu";
    Scene("file-menu");
    TapKey(nKey);
    ASSERT_TRUE(WaitUntil([&] { return FindPopupMenu(m_pTarvik->Id()) == nullptr; }))
        << "the File menu stayed open after its key";
    ASSERT_TRUE(TarvikResponds()) << "Tarvik hangs after its menu closed";
}

void CEndToEndTest::NewThenLoad(const std::filesystem::path& file, size_t nTiles) {
    ASSERT_NO_FATAL_FAILURE(ChooseFileMenuItem('N'));
    const HWND hBox = WaitForDialog(L"New Tarvik Target List");
    ASSERT_NE(hBox, nullptr);
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDNO));
    ASSERT_TRUE(WaitForTileCount(0));
    ASSERT_NO_FATAL_FAILURE(ChooseFileMenuItem('L'));
    const HWND hOpen = WaitForFileDialog();
    ASSERT_NE(hOpen, nullptr);
    ASSERT_NO_FATAL_FAILURE(EnterFileName(hOpen, file.wstring()));
    ASSERT_TRUE(WaitForTileCount(nTiles));
}

HWND CEndToEndTest::WaitForDialog(const wchar_t* pszCaption) const {
    HWND hDialog = nullptr;
    WaitUntil(
        [&] { return (hDialog = FindDialog(m_pTarvik->Id(), m_hMain, pszCaption)) != nullptr; });
    return hDialog;
}

HWND CEndToEndTest::FindOverlay(const RECT& rcDesktop) const {
    for (const HWND hWnd : TopLevelWindowsOf(m_pTarvik->Id())) {
        const RECT rc = ScreenRectOf(hWnd);
        if (hWnd != m_hMain && IsWindowVisible(hWnd) && EqualRect(&rc, &rcDesktop)) {
            return hWnd;
        }
    }
    return nullptr;
}

HWND CEndToEndTest::FindOverlay() const {
    return FindOverlay(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

HWND CEndToEndTest::WaitForFileDialog() const {
    HWND hDialog = nullptr;
    WaitUntil([&] { return (hDialog = FindFileDialog(m_pTarvik->Id())) != nullptr; });
    return hDialog;
}

void CEndToEndTest::ClickDialogButton(HWND hDialog, int nId) {
    const HWND hButton = FindDescendant(hDialog, nId, L"Button");
    ASSERT_NE(hButton, nullptr) << "the dialog has no button " << nId;
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(hButton))));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hDialog) || !IsWindowVisible(hDialog); }))
        << "the dialog stayed open after a click on its button " << nId;
    ASSERT_TRUE(TarvikResponds()) << "Tarvik hangs after its dialog closed";
}

void CEndToEndTest::EnterFileName(HWND hDialog, const std::wstring& strName) {
    const HWND hField = FileNameFieldOf(hDialog);
    ASSERT_NE(hField, nullptr) << "the file dialog has no file name field";
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(hField))));
    TapKey(VK_END);
    {
        CKeyHeld shift(VK_SHIFT);
        TapKey(VK_HOME);
    }
    TypeText(strName);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(hField) == strName; }))
        << "the file name field did not take the typed name";
    TapKey(VK_RETURN);
}

void CEndToEndTest::ConfirmOverwrite(HWND hFileDialog) {
    HWND hQuestion = nullptr;
    WaitUntil([&] {
        for (const HWND hWnd : TopLevelWindowsOf(m_pTarvik->Id())) {
            if (hWnd != m_hMain && hWnd != hFileDialog && IsWindowVisible(hWnd) &&
                FindDescendant(hWnd, IDYES, L"Button") != nullptr) {
                hQuestion = hWnd;
            }
        }
        return hQuestion != nullptr || !IsWindowVisible(hFileDialog);
    });
    if (hQuestion != nullptr) {
        Scene("overwrite-question");
        ClickDialogButton(hQuestion, IDYES);
    }
}
