// The panel's side of the single-instance guard: a second start closes itself through the close
// sequence, a first start opens its own command-line file shortly after set-up.
#include "SnipDlgTestUtil.h"

#include "app/StartupSettings.h"

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

}  // namespace

TEST_F(SnipDlgTest, SecondInstanceClosesThroughTheCloseSequence) {
    CFakeGuard guard;
    guard.m_bFirstInstance = false;
    m_pPanel = std::make_unique<CSnipDlg>();
    m_pPanel->SetDataFolder(Folder());
    m_pPanel->SetSettingsKey(ScratchKey());
    m_pPanel->SetInstanceGuard(&guard);
    ASSERT_TRUE(m_pPanel->Create(nullptr));
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->GetSafeHwnd() == nullptr; }));
    EXPECT_EQ(guard.m_calls, (std::vector<std::string>{"start", "stop"}));
    // The close sequence ran: the place and the default file were written.
    EXPECT_EQ(ReadStartupSettings(ScratchKey()).nMainHeight, 500);
    EXPECT_TRUE(std::filesystem::exists(DefaultFile()));
}

TEST_F(SnipDlgTest, FirstInstanceOpensItsCommandLineFileAfterSetUp) {
    WriteList(2, DefaultFile());
    const std::filesystem::path handed = Folder() / L"handed.trvk";
    WriteList(5, handed, 40);
    CFakeGuard guard;
    guard.m_strEarlyFile = handed.wstring();
    m_pPanel = std::make_unique<CSnipDlg>();
    m_pPanel->SetDataFolder(Folder());
    m_pPanel->SetSettingsKey(ScratchKey());
    m_pPanel->SetInstanceGuard(&guard);
    ASSERT_TRUE(m_pPanel->Create(nullptr));
    // Set-up loaded the default list; the handed file follows through Load, which first asks
    // whether to keep the current list.
    EXPECT_EQ(m_pPanel->TargetList().Count(), 2u);
    m_prompts.m_messageAnswers = {IDNO};
    EXPECT_TRUE(PumpUntil([&] { return m_pPanel->TargetList().Count() == 5u; }));
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(m_prompts.m_calls[0].strCaption, L"Load Tarvik Target List");
    EXPECT_EQ(TileRects().size(), 5u);
    ClosePanel();
    EXPECT_EQ(guard.m_calls, (std::vector<std::string>{"start", "register", "stop"}));
}
