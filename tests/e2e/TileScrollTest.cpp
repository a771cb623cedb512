// The column of target tiles and the mouse wheel that scrolls it.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>

namespace {

constexpr int kNotch = 120;

class TileScroll : public CEndToEndTest {
protected:
    // The tiles stand in one column at x = 6, 102 x 64 each, 70 apart, the first at 6 + scroll.
    ::testing::AssertionResult TilesInColumn(size_t nCount, int nScroll) const {
        const std::vector<RECT> tiles = Tiles();
        if (tiles.size() != nCount) {
            return ::testing::AssertionFailure() << tiles.size() << " tiles instead of " << nCount;
        }
        for (size_t i = 0; i < tiles.size(); ++i) {
            const int nTop = static_cast<int>(i) * 70 + nScroll + 6;
            const RECT rcWanted{6, nTop, 6 + 102, nTop + 64};
            if (RectText(tiles[i]) != RectText(rcWanted)) {
                return ::testing::AssertionFailure() << "tile " << i << " at " << RectText(tiles[i])
                                                     << " instead of " << RectText(rcWanted);
            }
        }
        return ::testing::AssertionSuccess();
    }
    // The list view on the screen is what it paints when asked to paint everything afresh: a
    // scroll leaves no stale pixels behind, in the gaps or in the moved tiles.
    ::testing::AssertionResult ListShowsFreshPaint() const {
        // Painting that is still pending happens in Tarvik's thread before RedrawWindow returns.
        RedrawWindow(ListView(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const PixelBuffer shown = CaptureScreen();
        RedrawWindow(ListView(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const PixelBuffer fresh = CaptureScreen();
        if (shown.IsEmpty() || fresh.IsEmpty()) {
            return ::testing::AssertionFailure() << "no screen capture";
        }
        const RECT rcList = ScreenRectOf(ListView());
        for (LONG y = std::max(rcList.top, 0L); y < std::min<LONG>(rcList.bottom, shown.Height());
             ++y) {
            for (LONG x = std::max(rcList.left, 0L);
                 x < std::min<LONG>(rcList.right, shown.Width()); ++x) {
                if (shown.At(x, y) != fresh.At(x, y)) {
                    return ::testing::AssertionFailure()
                           << "stale pixels: the list view's point (" << x - rcList.left << ", "
                           << y - rcList.top << ") changed when painted afresh";
                }
            }
        }
        return ::testing::AssertionSuccess();
    }
    bool WaitForFirstTileAt(int nTop) const {
        return WaitUntil([&] {
            const std::vector<RECT> tiles = Tiles();
            return !tiles.empty() && tiles.front().top == nTop;
        });
    }
    // The lowest scroll offset: the last tile's lower margin at the bottom of the visible area.
    int LowestScroll(size_t nCount) const {
        const int nVisible = ClientSizeOf(m_hMain).cy - 112;
        return std::min(0, nVisible - static_cast<int>(nCount) * 70 - 6);
    }
};

TEST_F(TileScroll, WheelMovesALongListThirtyPixelsPerNotchAndStopsAtBothEnds) {
    WriteTargetListFile(DefaultListPath(), 20);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(20)) << "the default list's 20 tiles did not appear";
    EXPECT_TRUE(TilesInColumn(20, 0));
    EXPECT_TRUE(IsWindowEnabled(Control(kIdPlay)));
    EXPECT_TRUE(ListShowsFreshPaint());
    Scene("top");

    const int nLowest = LowestScroll(20);
    ASSERT_LT(nLowest, -30) << "the panel is too high for this test";
    ASSERT_TRUE(GlidePointer(CentreOf(ScreenRectOf(ListView()))));

    // Turning backward moves the tiles up, one notch 30 pixels, down to the lowest offset.
    int nScroll = 0;
    for (int nNotch = 1; nScroll > nLowest; ++nNotch) {
        TurnWheel(-kNotch);
        nScroll = std::max(nScroll - 30, nLowest);
        ASSERT_TRUE(WaitForFirstTileAt(6 + nScroll)) << "notch " << nNotch << " backward";
        ASSERT_TRUE(TilesInColumn(20, nScroll)) << "notch " << nNotch << " backward";
    }
    // The last tile is fully visible in the list view.
    EXPECT_LE(Tiles().back().bottom, ClientSizeOf(ListView()).cy);
    Scene("bottom");
    EXPECT_TRUE(ListShowsFreshPaint());

    // Further notches have no effect: the notch forward after them moves 30 pixels from the
    // lowest offset (and, as input is handled in order, shows that they have been handled).
    for (int i = 0; i < 3; ++i) {
        TurnWheel(-kNotch);
    }
    TurnWheel(kNotch);
    nScroll = nLowest + 30;
    ASSERT_TRUE(WaitForFirstTileAt(6 + nScroll));
    EXPECT_TRUE(TilesInColumn(20, nScroll));

    // Forward back to the top, which the tiles do not pass.
    for (int nNotch = 1; nScroll < 0; ++nNotch) {
        TurnWheel(kNotch);
        nScroll = std::min(nScroll + 30, 0);
        ASSERT_TRUE(WaitForFirstTileAt(6 + nScroll)) << "notch " << nNotch << " forward";
        ASSERT_TRUE(TilesInColumn(20, nScroll)) << "notch " << nNotch << " forward";
    }
    for (int i = 0; i < 3; ++i) {
        TurnWheel(kNotch);
    }
    TurnWheel(-kNotch);
    ASSERT_TRUE(WaitForFirstTileAt(6 - 30));
    EXPECT_TRUE(TilesInColumn(20, -30));
    Scene("near-top");
    EXPECT_TRUE(ListShowsFreshPaint());
}

TEST_F(TileScroll, ShortListStaysAtTheTopWhateverTheWheelDoes) {
    WriteTargetListFile(DefaultListPath(), 3);
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_TRUE(WaitForTileCount(3)) << "the default list's 3 tiles did not appear";
    EXPECT_TRUE(TilesInColumn(3, 0));

    ASSERT_TRUE(GlidePointer(CentreOf(ScreenRectOf(ListView()))));
    for (const int nDelta :
         {-kNotch, -kNotch, -kNotch, kNotch, kNotch, kNotch, kNotch, -kNotch, -3 * kNotch}) {
        TurnWheel(nDelta);
    }
    // A drag of the panel is handled after the wheel: once the panel has moved, the wheel has
    // been handled too.
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(8, 0));
    Scene("after-wheel");
    EXPECT_TRUE(TilesInColumn(3, 0));
}

}  // namespace
