// Switching the view mode with the mouse: "^" shrinks the panel to the fly window, a
// double-click on the fly window brings the panel back there, "X" hides the panel.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/Waiting.h"

namespace {

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

    // A double-click on the fly window: the panel comes back at the fly window's corner.
    const POINT ptFly = CentreOf(rcFly);
    ASSERT_TRUE(TarvikResponds());
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
