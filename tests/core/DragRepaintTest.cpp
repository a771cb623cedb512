// The overlay's incremental repaint during a drag against the frame composed from scratch.
#include "capture/DragRepaint.h"
#include "capture/Selection.h"
#include "tests/core/SearchTestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

int64_t Area(const Rect& rc) {
    return IsEmptyRect(rc) ? 0 : int64_t{rc.right - rc.left} * (rc.bottom - rc.top);
}

bool Contains(const Rect& rc, int32_t x, int32_t y) {
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

}  // namespace

TEST(DragRepaint, SubtractLeavesTheBandsAroundTheCommonPart) {
    struct Case {
        Rect a, b;
        int64_t nArea;  // of a outside b
        int32_t nPieces;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {20, 20, 30, 30}, 100, 1},  // apart
        {{0, 0, 10, 10}, {0, 0, 10, 10}, 0, 0},      // the same
        {{0, 0, 10, 10}, {-5, -5, 20, 20}, 0, 0},    // inside b
        {{0, 0, 10, 10}, {3, 3, 6, 6}, 91, 4},       // b inside: a frame
        {{0, 0, 10, 10}, {5, 0, 15, 10}, 50, 1},     // overlapping on the right
        {{0, 0, 10, 10}, {0, 4, 10, 15}, 40, 1},     // overlapping below
        {{0, 0, 10, 10}, {5, 5, 15, 15}, 75, 2},     // a corner
        {{0, 0, 0, 10}, {0, 0, 5, 5}, 0, 0},         // a empty
        {{0, 0, 10, 10}, {4, 4, 4, 8}, 100, 1},      // b empty
    };
    for (const Case& c : cases) {
        const RectPieces pieces = SubtractRect(c.a, c.b);
        EXPECT_EQ(pieces.nCount, c.nPieces);
        int64_t nArea = 0;
        for (const Rect& rc : pieces.Span()) {
            EXPECT_FALSE(IsEmptyRect(rc));
            EXPECT_TRUE(IsEmptyRect(IntersectRects(rc, c.b)));
            EXPECT_EQ(IntersectRects(rc, c.a), rc);
            nArea += Area(rc);
        }
        EXPECT_EQ(nArea, c.nArea);
    }
}

// Random drags on small screens, with the pointer also off the screen: after every move the
// incrementally kept frame equals the dimmed screen with the selection copied from the bright
// one, every changed pixel lies in the invalidated rectangle, and the copies cover no more than
// the old and the new selection.
TEST(DragRepaint, IncrementalFramesEqualTheWholeScreenComposition) {
    std::mt19937 random(20261209);
    for (int nDrag = 0; nDrag < 400; ++nDrag) {
        const int32_t width = 1 + static_cast<int32_t>(random() % 14);
        const int32_t height = 1 + static_cast<int32_t>(random() % 11);
        const PixelBuffer dimmed = NoisePicture(width, height, random);
        const PixelBuffer bright = NoisePicture(width, height, random);
        const auto coordinate = [&](int32_t size) {
            return static_cast<int32_t>(random() % static_cast<uint32_t>(size + 6)) - 3;
        };
        const Point press{coordinate(width), coordinate(height)};
        PixelBuffer frame = dimmed;
        Rect rcOld{};
        for (int nMove = 0; nMove < 12; ++nMove) {
            const Rect rcNew =
                NormaliseRect({press.x, press.y, coordinate(width), coordinate(height)});
            const DragRepaint plan = PlanDragRepaint(rcOld, rcNew, width, height);
            const PixelBuffer previous = frame;
            ApplyDragRepaint(frame, dimmed, bright, plan);
            ASSERT_EQ(frame, ComposeDragFrame(dimmed, bright, rcNew))
                << "drag " << nDrag << ", move " << nMove;

            for (int32_t y = 0; y < height; ++y) {
                for (int32_t x = 0; x < width; ++x) {
                    if (frame.At(x, y) != previous.At(x, y)) {
                        ASSERT_TRUE(Contains(plan.rcInvalidate, x, y))
                            << "changed pixel " << x << ", " << y << " not invalidated";
                    }
                }
            }
            int64_t nCopied = 0;
            for (const Rect& rc : plan.restoreDimmed.Span()) {
                nCopied += Area(rc);
            }
            for (const Rect& rc : plan.copyBright.Span()) {
                nCopied += Area(rc);
            }
            const Rect rcScreen{0, 0, width, height};
            EXPECT_LE(nCopied, Area(IntersectRects(rcOld, rcScreen)) +
                                   Area(IntersectRects(rcNew, rcScreen)));
            EXPECT_EQ(IntersectRects(plan.rcInvalidate, rcScreen), plan.rcInvalidate);
            rcOld = rcNew;
        }
    }
}

// CopyBlock between buffers of different sizes copies only the pixels of the rectangle that
// both hold; every other pixel of the destination keeps its value.
TEST(DragRepaint, CopyBlockClipsToBothBuffers) {
    struct Case {
        int32_t toWidth, toHeight, fromWidth, fromHeight;
        Rect rc;
    };
    const Case cases[] = {
        {8, 6, 8, 6, {-2, -2, 20, 20}},  // the same size
        {8, 6, 8, 3, {0, 0, 8, 6}},      // the source shorter
        {8, 3, 8, 6, {0, 0, 8, 6}},      // the destination shorter
        {8, 6, 5, 6, {0, 0, 8, 6}},      // the source narrower
        {5, 6, 8, 6, {0, 0, 8, 6}},      // the destination narrower
        {8, 3, 5, 6, {1, 1, 9, 9}},      // narrower source, shorter destination
        {5, 6, 8, 3, {-1, 2, 7, 7}},     // shorter source, narrower destination
        {8, 6, 8, 3, {2, 4, 6, 6}},      // wholly below the source's rows
    };
    std::mt19937 random(17);
    for (const Case& c : cases) {
        const PixelBuffer before = NoisePicture(c.toWidth, c.toHeight, random);
        const PixelBuffer from = NoisePicture(c.fromWidth, c.fromHeight, random);
        PixelBuffer to = before;
        CopyBlock(to, from, c.rc);
        for (int32_t y = 0; y < c.toHeight; ++y) {
            for (int32_t x = 0; x < c.toWidth; ++x) {
                const bool bCopied = Contains(c.rc, x, y) && x < c.fromWidth && y < c.fromHeight;
                ASSERT_EQ(to.At(x, y), bCopied ? from.At(x, y) : before.At(x, y))
                    << "pixel " << x << ", " << y << " of " << c.toWidth << " x " << c.toHeight
                    << " from " << c.fromWidth << " x " << c.fromHeight;
            }
        }
    }
}

TEST(DragRepaint, AnUnchangedSelectionRepaintsNothing) {
    const DragRepaint plan = PlanDragRepaint({2, 2, 6, 6}, {2, 2, 6, 6}, 10, 10);
    EXPECT_EQ(plan.restoreDimmed.nCount + plan.copyBright.nCount, 0);
    EXPECT_TRUE(IsEmptyRect(plan.rcInvalidate));
    // A selection wholly off the screen changes nothing on it either.
    const DragRepaint offScreen = PlanDragRepaint({}, {12, 0, 20, 5}, 10, 10);
    EXPECT_EQ(offScreen.copyBright.nCount, 0);
    EXPECT_TRUE(IsEmptyRect(offScreen.rcInvalidate));
}
