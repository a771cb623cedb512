// The panel's side of the single-instance guard: a second start closes itself through the close
// sequence, a first start opens its own command-line file shortly after set-up.
#include "SnipDlgTestUtil.h"

#include "app/InstanceGuard.h"
#include "app/StartupSettings.h"

#include <fstream>
#include <iterator>

namespace {

class CFakeGuard : public IInstanceGuard {
public:
    bool m_bFirstInstance = true;
    std::wstring m_strEarlyFile;
    std::vector<std::string> m_calls;

    bool Start(HWND) override {
        m_calls.push_back("start");
        return m_bFirstInstance;
    }
    std::wstring Register(HWND) override {
        m_calls.push_back("register");
        return m_strEarlyFile;
    }
    void Stop() override { m_calls.push_back("stop"); }
};

// Pumps messages until `done` holds or about five seconds have passed.
template <class TDone>
bool PumpUntil(TDone done) {
    for (int i = 0; i < 500 && !done(); ++i) {
        PumpPendingMessages();
        ::Sleep(10);
    }
    return done();
}

// A first start over a default list of two targets with a list of five on its command line.
class SnipDlgEarlyFileTest : public SnipDlgTest {
protected:
    void CreatePanel() {
        WriteList(2, DefaultFile());
        const std::filesystem::path handed = Folder() / L"handed.trvk";
        WriteList(5, handed, 40);
        m_guard.m_strEarlyFile = handed.wstring();
        m_pPanel = std::make_unique<CSnipDlg>();
        m_pPanel->SetDataFolder(Folder());
        m_pPanel->SetSettingsKey(ScratchKey());
        m_pPanel->SetInstanceGuard(&m_guard);
        ASSERT_TRUE(m_pPanel->Create(nullptr));
    }

    CFakeGuard m_guard;
};

}  // namespace

TEST_F(SnipDlgTest, SecondInstanceClosesWithoutTouchingTheDefaultFileOrThePlace) {
    // The running instance's default file is unreadable to this build: a first start would
    // report it and copy it aside; a second start must leave it exactly as it is.
    const std::vector<char> junk(300, 'j');
    {
        std::ofstream out(DefaultFile(), std::ios::binary);
        out.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    CFakeGuard guard;
    guard.m_bFirstInstance = false;
    m_pPanel = std::make_unique<CSnipDlg>();
    m_pPanel->SetDataFolder(Folder());
    m_pPanel->SetSettingsKey(ScratchKey());
    m_pPanel->SetInstanceGuard(&guard);
    ASSERT_TRUE(m_pPanel->Create(nullptr));
    EXPECT_TRUE(m_pPanel->IsSecondInstance());
    EXPECT_FALSE(::IsWindowVisible(m_pPanel->GetSafeHwnd()));
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->GetSafeHwnd() == nullptr; }));
    EXPECT_EQ(guard.m_calls, (std::vector<std::string>{"start", "stop"}));
    EXPECT_EQ(ReadStartupSettings(ScratchKey()).nMainHeight, kMissingWindowValue)
        << "the place was written";
    EXPECT_TRUE(m_prompts.m_calls.empty()) << "a second start reported something";
    std::ifstream in(DefaultFile(), std::ios::binary);
    EXPECT_EQ(std::vector<char>(std::istreambuf_iterator<char>(in), {}), junk);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DefaultFile().parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "the default file was copied aside";
}

TEST_F(SnipDlgTest, RefusedLaterStartSavesNothingWhenTheSessionEndsDuringItsMessage) {
    // The running Tarvik stands in as a dialog of this program; this start's path is too long.
    const HWND hRunning = ::CreateWindowExW(0, WC_DIALOG, L"Tarvik", WS_POPUP, 0, 0, 50, 50,
                                            nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hRunning, nullptr);
    const std::wstring strBlock =
        L"TarvikTests.SessionEnd." + std::to_wstring(::GetCurrentProcessId());
    CInstanceGuard running(strBlock), later(strBlock);
    running.SetCommandLineFile(std::nullopt);
    ASSERT_TRUE(running.Start(hRunning));
    later.SetCommandLineFile(L"C:\\" + std::wstring(300, L'x') + L".trvk");
    // While the message is open, Windows ends the session: every top-level window of this start
    // is asked and told, then closed as "End task" does.
    m_prompts.m_onCall = [&](const CScriptedPrompts::CCall&) {
        std::vector<HWND> windows;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND hWnd, LPARAM lParam) {
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows));
        for (const HWND hWnd : windows) {
            if (hWnd != hRunning && ::IsWindow(hWnd)) {
                ::SendMessageW(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
                ::SendMessageW(hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
                if (::IsWindow(hWnd)) {
                    ::SendMessageW(hWnd, WM_CLOSE, 0, 0);
                }
            }
        }
    };
    m_pPanel = std::make_unique<CSnipDlg>();
    m_pPanel->SetDataFolder(Folder());
    m_pPanel->SetSettingsKey(ScratchKey());
    m_pPanel->SetInstanceGuard(&later);
    ASSERT_TRUE(m_pPanel->Create(nullptr));
    EXPECT_TRUE(m_pPanel->IsSecondInstance());
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->GetSafeHwnd() == nullptr; }));
    // As the application does once the panel is gone.
    EXPECT_EQ(later.HandOver(), HandOverResult::Refused);
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_NE(m_prompts.m_calls[0].strText.find(L"too long"), std::wstring::npos);
    EXPECT_FALSE(std::filesystem::exists(DefaultFile())) << "a list was written";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DefaultFile().parent_path()),
                            std::filesystem::directory_iterator()),
              0)
        << "something was left beside the default file";
    EXPECT_EQ(ReadStartupSettings(ScratchKey()).nMainHeight, kMissingWindowValue)
        << "the place was written";
    running.Stop();
    ::DestroyWindow(hRunning);
}

TEST_F(SnipDlgEarlyFileTest, FirstInstanceOpensItsCommandLineFileAfterSetUp) {
    ASSERT_NO_FATAL_FAILURE(CreatePanel());
    // Set-up loaded the default list; the handed file follows through Load, which first asks
    // whether to keep the current list.
    EXPECT_EQ(m_pPanel->TargetList().Count(), 2u);
    m_prompts.m_messageAnswers = {IDNO};
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->TargetList().Count() == 5u; }));
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(m_prompts.m_calls[0].strCaption, L"Load Tarvik Target List");
    EXPECT_EQ(TileRects().size(), 5u);
    ClosePanel();
    EXPECT_EQ(m_guard.m_calls, (std::vector<std::string>{"start", "register", "stop"}));
}

TEST_F(SnipDlgEarlyFileTest, HandedFileWaitsUntilNoDialogOfThePanelIsOpen) {
    // A Load under an open Target Editor (or any dialog of the panel) would destroy the target
    // the dialog works on; the file must wait, then open.
    ASSERT_NO_FATAL_FAILURE(CreatePanel());
    // What a modal dialog does to its owner.
    ::EnableWindow(m_pPanel->GetSafeHwnd(), FALSE);
    m_prompts.m_messageAnswers = {IDNO};
    EXPECT_FALSE(PumpUntil([&] { return !m_prompts.m_calls.empty(); }))
        << "the handed file was opened under a dialog";
    EXPECT_EQ(m_pPanel->TargetList().Count(), 2u);
    ::EnableWindow(m_pPanel->GetSafeHwnd(), TRUE);
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->TargetList().Count() == 5u; }));
    ClosePanel();
}

TEST_F(SnipDlgEarlyFileTest, HandedFileWaitsForATileDragWithTheButtonsSwapped) {
    // A left-handed user drags with the right button, the primary one then: the drag must count.
    ASSERT_NO_FATAL_FAILURE(CreatePanel());
    struct CSwappedButtons {
        CSwappedButtons() { ::SwapMouseButton(TRUE); }
        ~CSwappedButtons() { ::SwapMouseButton(FALSE); }
    } swapped;
    const HWND hTile = m_pPanel->ListView().TileAt(0)->GetSafeHwnd();
    ::SetCapture(hTile);
    // The physical right button, pressed as a person would.
    const auto sendButton = [](DWORD dwFlags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = dwFlags;
        ::SendInput(1, &input, sizeof(input));
    };
    sendButton(MOUSEEVENTF_RIGHTDOWN);
    m_prompts.m_messageAnswers = {IDNO};
    EXPECT_FALSE(PumpUntil([&] { return !m_prompts.m_calls.empty(); }))
        << "the handed file was opened during a drag";
    sendButton(MOUSEEVENTF_RIGHTUP);
    ::ReleaseCapture();
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->TargetList().Count() == 5u; }));
    ClosePanel();
}
