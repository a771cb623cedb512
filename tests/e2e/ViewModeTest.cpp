// Switching the view mode with the mouse: "^" shrinks the panel to the fly window, a
// double-click on the fly window brings the panel back there, "X" hides the panel.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/Waiting.h"

#include <thread>

namespace {

// Holds a thread still from construction until `nHeldMs` later, as a busy machine may hold it.
class CThreadHeldFor {
public:
    CThreadHeldFor(HANDLE hThread, DWORD nHeldMs)
        : m_bSuspended(SuspendThread(hThread) != static_cast<DWORD>(-1)),
          m_resumer([hThread, nHeldMs, bSuspended = m_bSuspended] {
              Sleep(nHeldMs);
              if (bSuspended) {
                  ResumeThread(hThread);
              }
          }) {}
    ~CThreadHeldFor() { m_resumer.join(); }
    CThreadHeldFor(const CThreadHeldFor&) = delete;
    CThreadHeldFor& operator=(const CThreadHeldFor&) = delete;

    bool Suspended() const { return m_bSuspended; }

private:
    bool m_bSuspended;
    std::thread m_resumer;
};

class ViewMode : public CEndToEndTest {
protected:
    // Tarvik's visible top-level window other than its panel: the fly window.
    HWND FlyWindow() const {
        for (const HWND hWnd : TopLevelWindowsOf(m_pTarvik->Id())) {
            if (hWnd != m_hMain && IsWindowVisible(hWnd) && ClassNameOf(hWnd) == L"#32770" &&
                WidthOf(ScreenRectOf(hWnd)) == 40) {
                return hWnd;
            }
        }
        return nullptr;
    }
    void ClickButton(int nId) {
        ASSERT_TRUE(TarvikResponds());
        ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(Control(nId)))));
    }
};

TEST_F(ViewMode, FlyWindowButtonAndDoubleClickSwapPanelAndFlyWindow) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(-150, -60));
    const RECT rcPanel = ScreenRectOf(m_hMain);

    ASSERT_NO_FATAL_FAILURE(ClickButton(kIdToFlyWindow));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hMain) && FlyWindow() != nullptr; }))
        << "\"^\" did not swap the panel for the fly window";
    const HWND hFly = FlyWindow();
    const RECT rcFly = ScreenRectOf(hFly);
    Scene("fly-window");
    EXPECT_EQ(rcFly.left, rcPanel.left);
    EXPECT_EQ(rcFly.top, rcPanel.top);
    EXPECT_EQ(HeightOf(rcFly), 40);
    EXPECT_NE(GetWindowLongW(hFly, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    // A double-click on the fly window: the panel comes back at the fly window's corner. Tarvik
    // is held still while the pointer travels there, so the places the pointer passed reach it
    // late; the clicks must still land where they were sent and move nothing (a press on the fly
    // window starts the system's move loop, which reads any stale place as a drag).
    const POINT ptFly = CentreOf(rcFly);
    ASSERT_TRUE(TarvikResponds());
    {
        const CThreadHeldFor held(m_pTarvik->MainThread(), 700);
        ASSERT_TRUE(held.Suspended());
        ASSERT_TRUE(GlidePointer(ptFly));
    }
    ASSERT_TRUE(ClickAt(ptFly));
    ASSERT_TRUE(ClickAt(ptFly));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_hMain) && FlyWindow() == nullptr; }))
        << "a double-click on the fly window did not bring the panel back";
    Scene("panel-back");
    const RECT rcBack = ScreenRectOf(m_hMain);
    EXPECT_EQ(rcBack.left, rcFly.left);
    EXPECT_EQ(rcBack.top, rcFly.top);
    EXPECT_EQ(HeightOf(rcBack), HeightOf(rcPanel));
}

TEST_F(ViewMode, HideButtonHidesThePanelAndCloseStillSavesItsPlace) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(40, 30));
    const RECT rcPanel = ScreenRectOf(m_hMain);
    ASSERT_NO_FATAL_FAILURE(ClickButton(kIdHidePanel));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hMain); })) << "\"X\" left the panel";
    EXPECT_EQ(FlyWindow(), nullptr);
    Scene("hidden");
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    EXPECT_EQ(ReadSetting(kMainLeft), rcPanel.left);
    EXPECT_EQ(ReadSetting(kMainTop), rcPanel.top);
}

}  // namespace
