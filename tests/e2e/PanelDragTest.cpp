// Moving the panel by its top strip and changing its height by its bottom edge with the mouse.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>

namespace {

class PanelDrag : public CEndToEndTest {
protected:
    // Drags the bottom edge, grabbed 4 pixels above it, to screen row `nToY` in 2-pixel steps
    // (each within the 9-pixel strip above the edge that the step before left), waiting at
    // every step for the height the pointer asks for: 2 pixels below it, at least 200.
    void DragBottomEdgeTo(int nToY) {
        const RECT rc = ScreenRectOf(m_hMain);
        const POINT grab = OnPanel(60, HeightOf(rc) - 4);
        ASSERT_TRUE(TarvikResponds());
        ASSERT_TRUE(GlidePointer(grab));
        ASSERT_TRUE(TarvikResponds());
        CLeftButtonHeld held;
        bool bFollowing = true;
        ASSERT_TRUE(GlidePointer({grab.x, nToY}, 2, [&](POINT pt) {
            const int nWanted = std::max(200, static_cast<int>(pt.y - rc.top) + 2);
            bFollowing =
                bFollowing &&
                WaitUntil([&] { return HeightOf(ScreenRectOf(m_hMain)) == nWanted; }, 2000, 5);
        }));
        Scene("bottom-edge-held-at-" + std::to_string(nToY - rc.top));
    }
};

TEST_F(PanelDrag, TopStripMovesThePanelByTheDrag) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const RECT before = ScreenRectOf(m_hMain);
    Scene("before");

    ASSERT_NO_FATAL_FAILURE(DragPanelBy(120, 80));
    Scene("moved");
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)), RectText({before.left + 120, before.top + 80,
                                                         before.right + 120, before.bottom + 80}));

    ASSERT_NO_FATAL_FAILURE(DragPanelBy(-200, -150));
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)),
              RectText({before.left - 80, before.top - 70, before.right - 80, before.bottom - 70}));

    // The place where the drag left the panel is what the close stores.
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    EXPECT_EQ(ReadSetting(kMainLeft), before.left - 80);
    EXPECT_EQ(ReadSetting(kMainTop), before.top - 70);
}

TEST_F(PanelDrag, PressOnTheOuterFrameLineDoesNotMoveThePanel) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const RECT before = ScreenRectOf(m_hMain);
    const POINT frame = OnPanel(40, 0);
    ASSERT_TRUE(GlidePointer(frame));
    {
        CLeftButtonHeld held;
        // Along the line: a drag that entered the top strip would start a move there.
        ASSERT_TRUE(GlidePointer({frame.x + 60, frame.y}, 4));
    }
    // A real drag afterwards shows that the frame-line drag has been handled: only the second
    // drag moved the panel.
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(10, 10));
    Scene("after");
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)),
              RectText({before.left + 10, before.top + 10, before.right + 10, before.bottom + 10}));
}

TEST_F(PanelDrag, BottomEdgeChangesTheHeightAndStopsAtTwoHundred) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const RECT before = ScreenRectOf(m_hMain);
    ASSERT_EQ(HeightOf(before), 500);

    // Up by 100 pixels: the bottom stays 2 pixels below the pointer.
    ASSERT_NO_FATAL_FAILURE(DragBottomEdgeTo(before.top + 500 - 4 - 100));
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)),
              RectText({before.left, before.top, before.right, before.top + 398}));
    EXPECT_EQ(RectText(RectInParent(ListView())), RectText({3, 103, 126, 398 - 10}));

    // Far up, to 40 pixels below the top: the panel stops at 200.
    ASSERT_NO_FATAL_FAILURE(DragBottomEdgeTo(before.top + 40));
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)),
              RectText({before.left, before.top, before.right, before.top + 200}));
    EXPECT_EQ(RectText(RectInParent(ListView())), RectText({3, 103, 126, 200 - 10}));

    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    EXPECT_EQ(ReadSetting(kMainHeight), 200);
}

}  // namespace
