// The panel's move by its top strip and resize by its bottom edge, fed with mouse messages.
#include <gtest/gtest.h>

#include <utility>

#include "ui/PanelDragTracker.h"

namespace {

constexpr int kPanelRight = 130;

// A mouse message for a borderless panel of client height nHeight, whose window rectangle is
// its client rectangle.
PanelMouseInput At(int x, int y, int nHeight, bool bLeftDown = false) {
    PanelMouseInput input;
    input.x = x;
    input.y = y;
    input.bLeftDown = bLeftDown;
    input.nClientHeight = nHeight;
    input.rcWindowInClient = Rect{0, 0, kPanelRight, nHeight};
    return input;
}

PanelMouseInput DownAt(int x, int y, int nHeight) {
    return At(x, y, nHeight, true);
}

void ExpectNoWindowChange(const PanelMouseActions& actions) {
    EXPECT_FALSE(actions.nNewHeight.has_value());
    EXPECT_FALSE(actions.nInvalidTop.has_value());
    EXPECT_FALSE(actions.nInvalidBottom.has_value());
    EXPECT_FALSE(actions.ptMoveOffset.has_value());
}

void ExpectResize(const PanelMouseActions& actions, int nHeight, int nBandTop, int nBandBottom) {
    EXPECT_EQ(actions.nNewHeight, nHeight);
    EXPECT_EQ(actions.nInvalidTop, nBandTop);
    EXPECT_EQ(actions.nInvalidBottom, nBandBottom);
    EXPECT_FALSE(actions.ptMoveOffset.has_value());
}

}  // namespace

TEST(PanelDragTrackerZones, StripBoundaries) {
    EXPECT_FALSE(CPanelDragTracker::InMoveStrip(0));
    EXPECT_TRUE(CPanelDragTracker::InMoveStrip(1));
    EXPECT_TRUE(CPanelDragTracker::InMoveStrip(29));
    EXPECT_FALSE(CPanelDragTracker::InMoveStrip(30));
    EXPECT_FALSE(CPanelDragTracker::InResizeStrip(291, 300));
    EXPECT_TRUE(CPanelDragTracker::InResizeStrip(292, 300));
    EXPECT_TRUE(CPanelDragTracker::InResizeStrip(299, 300));
    EXPECT_FALSE(CPanelDragTracker::InResizeStrip(300, 300));
}

TEST(PanelDragTrackerPress, OnlyTheStripsStartADrag) {
    {
        CPanelDragTracker tracker;  // the outer frame line is not part of the move strip
        const PanelMouseActions actions = tracker.OnLeftButtonDown(At(40, 0, 300));
        EXPECT_EQ(actions.cursor, PanelCursor::Unchanged);
        EXPECT_FALSE(tracker.IsMoving());
        EXPECT_FALSE(tracker.IsResizing());
    }
    {
        CPanelDragTracker tracker;
        const PanelMouseActions actions = tracker.OnLeftButtonDown(At(40, 150, 300));
        EXPECT_EQ(actions.cursor, PanelCursor::Unchanged);
        EXPECT_FALSE(tracker.IsMoving());
        EXPECT_FALSE(tracker.IsResizing());
    }
    {
        CPanelDragTracker tracker;
        const PanelMouseActions actions = tracker.OnLeftButtonDown(At(40, 29, 300));
        EXPECT_EQ(actions.cursor, PanelCursor::SizeNS);
        EXPECT_FALSE(actions.bCapture);
        ExpectNoWindowChange(actions);
        EXPECT_TRUE(tracker.IsMoving());
        EXPECT_FALSE(tracker.IsResizing());
    }
    {
        CPanelDragTracker tracker;
        const PanelMouseActions actions = tracker.OnLeftButtonDown(At(40, 295, 300));
        EXPECT_EQ(actions.cursor, PanelCursor::SizeNS);
        EXPECT_FALSE(actions.bCapture);
        ExpectNoWindowChange(actions);
        EXPECT_FALSE(tracker.IsMoving());
        EXPECT_TRUE(tracker.IsResizing());
    }
}

TEST(PanelDragTrackerPress, ReleaseEndsEveryDrag) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(40, 10, 300));
    tracker.OnLeftButtonDown(At(40, 295, 300));
    ASSERT_TRUE(tracker.IsMoving());
    ASSERT_TRUE(tracker.IsResizing());
    const PanelMouseActions actions = tracker.OnLeftButtonUp();
    EXPECT_TRUE(actions.bReleaseCapture);
    EXPECT_EQ(actions.cursor, PanelCursor::Unchanged);
    ExpectNoWindowChange(actions);
    EXPECT_FALSE(tracker.IsMoving());
    EXPECT_FALSE(tracker.IsResizing());
    ExpectNoWindowChange(tracker.OnMouseMove(DownAt(60, 150, 300)));
}

TEST(PanelDragTrackerHover, CursorShowsTheResizeStripOnly) {
    CPanelDragTracker tracker;
    for (const int y : {295, 10, 150}) {
        const PanelMouseActions actions = tracker.OnMouseMove(At(60, y, 300));
        EXPECT_EQ(actions.cursor, y == 295 ? PanelCursor::SizeNS : PanelCursor::Arrow) << y;
        EXPECT_FALSE(actions.bCapture);
        EXPECT_FALSE(actions.bReleaseCapture);
        ExpectNoWindowChange(actions);
        EXPECT_FALSE(tracker.IsResizing());
        EXPECT_FALSE(tracker.IsMoving());
    }
}

TEST(PanelDragTrackerMove, KeepsTheGrabPointUnderThePointer) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(40, 10, 300));

    PanelMouseActions actions = tracker.OnMouseMove(DownAt(60, 15, 300));
    EXPECT_TRUE(actions.bCapture);
    EXPECT_EQ(actions.ptMoveOffset, (Point{40, 10}));
    EXPECT_FALSE(actions.nNewHeight.has_value());
    EXPECT_EQ(actions.cursor, PanelCursor::Arrow);

    // Below the strip the move goes on, without a new capture.
    actions = tracker.OnMouseMove(DownAt(100, 150, 300));
    EXPECT_FALSE(actions.bCapture);
    EXPECT_EQ(actions.ptMoveOffset, (Point{40, 10}));

    tracker.OnLeftButtonUp();
    ExpectNoWindowChange(tracker.OnMouseMove(At(100, 150, 300)));
}

TEST(PanelDragTrackerMove, PointerOutsideThePanelLandsFivePixelsInside) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(40, 10, 300));
    for (const auto& [x, y] : {std::pair{200, 50}, std::pair{-3, 10}, std::pair{60, -40}}) {
        const PanelMouseActions actions = tracker.OnMouseMove(DownAt(x, y, 300));
        EXPECT_EQ(actions.ptMoveOffset, (Point{5, 5})) << x << "," << y;
        EXPECT_FALSE(actions.bReleaseCapture);
    }
    // Back inside, the original grab point holds again.
    EXPECT_EQ(tracker.OnMouseMove(DownAt(60, 20, 300)).ptMoveOffset, (Point{40, 10}));
    // Outside with the button up: the capture goes and the panel stays.
    const PanelMouseActions actions = tracker.OnMouseMove(At(200, 50, 300));
    EXPECT_TRUE(actions.bReleaseCapture);
    EXPECT_FALSE(actions.ptMoveOffset.has_value());
}

TEST(PanelDragTrackerMove, PressOnTheFrameLineDoesNotMove) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(40, 0, 300));
    ExpectNoWindowChange(tracker.OnMouseMove(DownAt(40, 0, 300)));
    ExpectNoWindowChange(tracker.OnMouseMove(DownAt(40, 60, 300)));
    ExpectNoWindowChange(tracker.OnMouseMove(DownAt(200, 60, 300)));
    EXPECT_FALSE(tracker.IsMoving());
}

TEST(PanelDragTrackerResize, BottomEdgeFollowsThePointerInsideTheStrip) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(60, 295, 300));

    // The new bottom is 2 pixels below the pointer; the band is centred on the pointer because
    // the move into the strip takes its y as the previous one.
    PanelMouseActions actions = tracker.OnMouseMove(DownAt(60, 297, 300));
    EXPECT_TRUE(actions.bCapture);
    ExpectResize(actions, 299, 288, 306);
    EXPECT_EQ(actions.cursor, PanelCursor::SizeNS);
    EXPECT_TRUE(tracker.IsResizing());

    actions = tracker.OnMouseMove(DownAt(60, 292, 299));
    ExpectResize(actions, 294, 283, 301);
    EXPECT_EQ(actions.cursor, PanelCursor::SizeNS);
    EXPECT_TRUE(tracker.IsResizing());
}

TEST(PanelDragTrackerResize, MovingIntoTheStripWithTheButtonDownStartsAResize) {
    CPanelDragTracker tracker;
    const PanelMouseActions actions = tracker.OnMouseMove(DownAt(60, 295, 300));
    EXPECT_TRUE(actions.bCapture);
    ExpectResize(actions, 297, 286, 304);
    EXPECT_EQ(actions.cursor, PanelCursor::SizeNS);
    EXPECT_TRUE(tracker.IsResizing());
}

TEST(PanelDragTrackerResize, StepLeavingTheStripResizesOnceThenStops) {
    CPanelDragTracker tracker;
    // Hovering the strip remembers the pointer, so the first step repaints from there.
    tracker.OnMouseMove(At(60, 299, 300));
    tracker.OnLeftButtonDown(At(60, 293, 300));
    PanelMouseActions actions = tracker.OnMouseMove(DownAt(60, 280, 300));
    EXPECT_FALSE(actions.bCapture);
    ExpectResize(actions, 282, 271, 308);
    EXPECT_EQ(actions.cursor, PanelCursor::Arrow);
    EXPECT_FALSE(tracker.IsResizing());

    actions = tracker.OnMouseMove(DownAt(60, 250, 282));
    ExpectNoWindowChange(actions);
    EXPECT_EQ(actions.cursor, PanelCursor::Arrow);
}

TEST(PanelDragTrackerResize, FastDownwardDragWaitsForThePointerToComeBack) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(60, 295, 300));
    tracker.OnMouseMove(DownAt(60, 297, 300));

    // Below the panel (captured): one resize to the pointer, with the narrower band.
    PanelMouseActions actions = tracker.OnMouseMove(DownAt(60, 350, 299));
    EXPECT_FALSE(actions.bReleaseCapture);
    ExpectResize(actions, 352, 291, 356);
    EXPECT_EQ(actions.cursor, PanelCursor::Arrow);
    EXPECT_FALSE(tracker.IsResizing());

    actions = tracker.OnMouseMove(DownAt(60, 380, 352));
    ExpectNoWindowChange(actions);

    // Back in the strip above the new bottom edge, the resize goes on.
    actions = tracker.OnMouseMove(DownAt(60, 348, 352));
    EXPECT_TRUE(actions.bCapture);
    ExpectResize(actions, 350, 339, 357);
    EXPECT_TRUE(tracker.IsResizing());
}

TEST(PanelDragTrackerResize, UpwardDragStopsAtTheMinimumHeight) {
    CPanelDragTracker tracker;
    tracker.OnMouseMove(At(60, 205, 210));
    tracker.OnLeftButtonDown(At(60, 205, 210));
    const PanelMouseActions actions = tracker.OnMouseMove(DownAt(60, 100, 210));
    ExpectResize(actions, 200, 189, 214);
    // The raised pointer (198) is outside the old strip (202..209), so the resize ends.
    EXPECT_EQ(actions.cursor, PanelCursor::Arrow);
    EXPECT_FALSE(tracker.IsResizing());

    // The minimum is the first height that is not raised.
    CPanelDragTracker exact;
    exact.OnLeftButtonDown(At(60, 205, 210));
    EXPECT_EQ(exact.OnMouseMove(DownAt(60, 198, 210)).nNewHeight, 200);
    CPanelDragTracker above;
    above.OnLeftButtonDown(At(60, 205, 210));
    EXPECT_EQ(above.OnMouseMove(DownAt(60, 199, 210)).nNewHeight, 201);
}

TEST(PanelDragTrackerResize, SidewaysExitKeepsTheMinimumHeight) {
    CPanelDragTracker tracker;
    tracker.OnMouseMove(At(60, 200, 205));
    tracker.OnLeftButtonDown(At(60, 200, 205));

    // Left of the panel and far above its bottom: the height stops at 200, and the raised
    // pointer (198) is still inside the strip (197..204), so the resize goes on.
    PanelMouseActions actions = tracker.OnMouseMove(DownAt(-20, 100, 205));
    ExpectResize(actions, 200, 192, 206);
    EXPECT_EQ(actions.cursor, PanelCursor::SizeNS);
    EXPECT_TRUE(tracker.IsResizing());

    actions = tracker.OnMouseMove(DownAt(-20, 50, 200));
    ExpectResize(actions, 200, 192, 204);
    EXPECT_TRUE(tracker.IsResizing());
}

TEST(PanelDragTrackerResize, OutsideWithTheButtonUpReleasesTheCapture) {
    CPanelDragTracker tracker;
    tracker.OnLeftButtonDown(At(60, 295, 300));
    PanelMouseActions actions = tracker.OnMouseMove(At(-5, 250, 300));
    EXPECT_TRUE(actions.bReleaseCapture);
    ExpectNoWindowChange(actions);
    EXPECT_FALSE(tracker.IsResizing());
    // Pressing again outside the strip does not bring the resize back.
    actions = tracker.OnMouseMove(DownAt(-5, 250, 300));
    ExpectNoWindowChange(actions);
}

TEST(PanelDragTrackerScale, StripsAndMinimumHeightFollowTheScale) {
    const struct {
        int nDpi;
        int nMoveFirst, nMoveLast;  // the move strip's rows
        int nResizeRows;            // rows of the resize strip above the bottom
        int nHeight, nBandTop, nBandBottom;
    } cases[] = {
        {96, 1, 29, 8, 200, 189, 424},
        {144, 2, 44, 13, 300, 283, 429},
        {192, 2, 59, 17, 400, 378, 433},
    };
    for (const auto& c : cases) {
        const CDpiScale scale(c.nDpi);
        SCOPED_TRACE(c.nDpi);
        EXPECT_FALSE(CPanelDragTracker::InMoveStrip(c.nMoveFirst - 1, scale));
        EXPECT_TRUE(CPanelDragTracker::InMoveStrip(c.nMoveFirst, scale));
        EXPECT_TRUE(CPanelDragTracker::InMoveStrip(c.nMoveLast, scale));
        EXPECT_FALSE(CPanelDragTracker::InMoveStrip(c.nMoveLast + 1, scale));
        EXPECT_FALSE(CPanelDragTracker::InResizeStrip(1000 - c.nResizeRows - 1, 1000, scale));
        EXPECT_TRUE(CPanelDragTracker::InResizeStrip(1000 - c.nResizeRows, 1000, scale));

        // An upward drag from the bottom of a 420-pixel panel stops at the scaled minimum.
        CPanelDragTracker tracker;
        tracker.SetScale(scale);
        tracker.OnLeftButtonDown(At(60, 415, 420));
        tracker.OnMouseMove(DownAt(60, 415, 420));
        ExpectResize(tracker.OnMouseMove(DownAt(60, 100, 420)), c.nHeight, c.nBandTop,
                     c.nBandBottom);
    }
}
