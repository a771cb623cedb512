// Tests of the tile column's rules: slots, drop marker, thumb, hover, badge and tooltip text.
#include "capture/TileGeometry.h"
#include "capture/TileText.h"

#include <gtest/gtest.h>

namespace {

TEST(TileGeometryTest, SlotFromColumnYSplitsEachTileAtItsMiddleRow) {
    struct Case {
        int nColumnY;
        int nTargets;
        int nSlot;
    };
    const Case cases[] = {
        {500, 0, 0},      {-500, 0, 0},     // an empty list: always 0
        {-40, 3, 0},      {6, 3, 0},        // above the view, top of the first tile
        {6 + 34, 3, 0},   {6 + 35, 3, 1},   // the middle row of tile 0 goes to slot 1
        {76 + 34, 3, 1},  {76 + 35, 3, 2},  // likewise for tile 1 (70 k + 35)
        {146 + 35, 3, 3}, {5000, 3, 3},     // below the last tile: the count
        {6 - 35, 3, 0},   {6 - 36, 3, 0},   // half a slot above the first still clamps to 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SlotFromColumnY(c.nColumnY, c.nTargets), c.nSlot)
            << "y " << c.nColumnY << ", " << c.nTargets << " targets";
    }
}

TEST(TileGeometryTest, DropMarkerSitsInTheGapAboveTheSlot) {
    struct Case {
        int nScrollPos;
        int nSlot;
        int nClientWidth;
        int nCentreY;
        Rect rcStrip;
        Rect rcLine;
    };
    const Case cases[] = {
        {0, 0, 123, 3, {0, 0, 113, 6}, {0, 2, 113, 4}},
        {0, 3, 123, 213, {0, 210, 113, 216}, {0, 212, 113, 214}},
        {-55, 2, 100, 88, {0, 85, 90, 91}, {0, 87, 90, 89}},
    };
    for (const Case& c : cases) {
        const int nCentreY = DropMarkerCentreY(c.nScrollPos, c.nSlot);
        EXPECT_EQ(nCentreY, c.nCentreY);
        EXPECT_EQ(DropMarkerStrip(nCentreY, c.nClientWidth), c.rcStrip);
        EXPECT_EQ(DropMarkerLine(nCentreY, c.nClientWidth), c.rcLine);
    }
}

TEST(TileGeometryTest, ThumbLengthAndOffsetFollowTheScroll) {
    struct Case {
        int nViewHeight;
        int nContentHeight;
        int nScrollPos;
        bool bShown;
        int nOffset;
        int nLength;
    };
    const Case cases[] = {
        {300, 356, -55, true, 46, 252},  // light rows 46 and 299, dark 47 ... 298
        {300, 356, 0, true, 0, 252},
        {300, 300, 0, false, 0, 0},  // everything fits: no thumb
        {300, 76, 0, false, 0, 0},
        {300, 0, 0, false, 0, 0},
        {300, 70006, -69706, true, 298, 1},  // 1,000 tiles scrolled to the end
    };
    for (const Case& c : cases) {
        const ScrollThumb thumb = ScrollThumbOf(123, c.nViewHeight, c.nContentHeight, c.nScrollPos);
        EXPECT_EQ(thumb.bShown, c.bShown) << c.nContentHeight;
        EXPECT_EQ(thumb.nOffset, c.nOffset) << c.nContentHeight;
        EXPECT_EQ(thumb.nLength, c.nLength) << c.nContentHeight;
    }
    const ScrollThumb thumb = ScrollThumbOf(123, 300, 356, -55);
    EXPECT_EQ(thumb.rcLight, (Rect{114, 46, 122, 300}));
    EXPECT_EQ(thumb.rcDark, (Rect{114, 47, 122, 299}));
}

TEST(TileGeometryTest, HoverNeedsFourteenPixelsAboveThePanelsBottomAndTheBadgeIsExclusive) {
    const Rect rcTile{0, 0, 102, 64};
    struct Case {
        Point pt;
        int nMainBottom;
        bool bOver;
    };
    const Case cases[] = {
        {{50, 30}, 400, true},   {{0, 0}, 400, true},    {{101, 63}, 400, true},
        {{102, 30}, 400, false}, {{50, 64}, 400, false}, {{-1, 30}, 400, false},
        {{50, 30}, 44, true},    {{50, 31}, 44, false},  // 14 pixels above the bottom, then 13
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPointerOverTile(c.pt, rcTile, c.nMainBottom), c.bOver)
            << c.pt.x << "," << c.pt.y << " bottom " << c.nMainBottom;
    }
    struct BadgeCase {
        Point pt;
        bool bOn;
    };
    const BadgeCase badgeCases[] = {{{79, 5}, true},   {{94, 20}, true},  {{95, 10}, false},
                                    {{85, 21}, false}, {{78, 10}, false}, {{85, 4}, false}};
    for (const BadgeCase& c : badgeCases) {
        EXPECT_EQ(IsOnTileBadge(c.pt, rcTile), c.bOn) << c.pt.x << "," << c.pt.y;
    }
}

TEST(TileGeometryTest, OnlyTheVisiblePartOfAScrolledTileTakesTheHoverAndTheBadge) {
    const Rect rcTile{0, 0, 102, 64};
    // Scrolled by one wheel step, the first tile's top 24 rows lie above the view (113 x 300 in
    // the tile's coordinates from (-6, -24)), under the panel's buttons.
    const Rect rcVisible = VisibleTileRect(rcTile, Rect{-6, -24, 117, 276});
    EXPECT_EQ(rcVisible, (Rect{0, 0, 102, 64}));
    const Rect rcScrolled = VisibleTileRect(rcTile, Rect{-6, 24, 117, 324});
    EXPECT_EQ(rcScrolled, (Rect{0, 24, 102, 64}));
    EXPECT_EQ(VisibleTileRect(rcTile, Rect{-6, 64, 117, 364}), Rect{});  // scrolled out
    struct Case {
        Point pt;
        bool bOver;
        bool bOnBadge;
    };
    const Case cases[] = {
        {{85, 8}, false, false},   // the badge's place, hidden: the Help button's click
        {{50, 23}, false, false},  // the last hidden row
        {{50, 24}, true, false},   // the first row that shows
        {{85, 20}, false, false},  // the badge's last row, still hidden
        {{101, 63}, true, false},  //
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPointerOverTile(c.pt, rcScrolled, 400), c.bOver) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(IsOnTileBadge(c.pt, rcScrolled), c.bOnBadge) << c.pt.x << "," << c.pt.y;
    }
    // Scrolled by 10 rows the badge's lower rows show and take the click.
    EXPECT_TRUE(IsOnTileBadge(Point{85, 12}, Rect{0, 10, 102, 64}));
    EXPECT_FALSE(IsOnTileBadge(Point{85, 9}, Rect{0, 10, 102, 64}));
}

TEST(TileGeometryTest, EverySizeOfTheColumnFollowsTheScale) {
    // A list view 123 pixels wide at 96 DPI and 300 high; five tiles, scrolled by 100 pixels.
    struct Case {
        int nDpi;
        TileMetrics metrics;
        int nContent5;  // five tiles
        int nTop3;      // the tile of order 3 scrolled by -100
        int nWheel;     // one notch down
        int nSlot2Y;    // the first column y that gives slot 2
        int nCentre2;   // the drop marker above the tile of order 2
        int nWidth;     // the list view
        int nHoverMargin;
        Rect rcStrip;
        Rect rcLine;
        Rect rcEdges[3];
        Rect rcLight;
        Rect rcDark;
    };
    // clang-format off
    const Case cases[] = {
        {96, {102, 64, 6, {79, 5, 95, 21}}, 356, 116, -30, 111, 143, 123, 14,
         {0, 140, 113, 146}, {0, 142, 113, 144},
         {{0, 0, 1, 300}, {113, 0, 114, 300}, {122, 0, 123, 300}},
         {114, 42, 122, 170}, {114, 43, 122, 169}},
        {120, {128, 80, 8, {99, 6, 119, 26}}, 448, 172, -38, 140, 180, 154, 18,
         {0, 176, 141, 184}, {0, 179, 141, 182},
         {{0, 0, 1, 300}, {141, 0, 142, 300}, {153, 0, 154, 300}},
         {142, 42, 153, 170}, {142, 43, 153, 169}},
        {144, {153, 96, 9, {119, 8, 143, 32}}, 534, 224, -45, 167, 214, 185, 21,
         {0, 210, 170, 219}, {0, 212, 170, 215},
         {{0, 0, 2, 300}, {170, 0, 172, 300}, {183, 0, 185, 300}},
         {172, 42, 183, 172}, {172, 44, 183, 170}},
        {192, {204, 128, 12, {158, 10, 190, 42}}, 712, 332, -60, 222, 286, 246, 28,
         {0, 280, 226, 292}, {0, 284, 226, 288},
         {{0, 0, 2, 300}, {226, 0, 228, 300}, {244, 0, 246, 300}},
         {228, 42, 244, 172}, {228, 44, 244, 170}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const CDpiScale scale(c.nDpi);
        const TileMetrics metrics = TileMetricsAt(scale);
        EXPECT_EQ(metrics.nWidth, c.metrics.nWidth) << c.nDpi;
        EXPECT_EQ(metrics.nHeight, c.metrics.nHeight) << c.nDpi;
        EXPECT_EQ(metrics.nLeft, c.metrics.nLeft) << c.nDpi;
        EXPECT_EQ(metrics.rcBadge, c.metrics.rcBadge) << c.nDpi;
        EXPECT_EQ(TileContentHeight(5, scale), c.nContent5) << c.nDpi;
        EXPECT_EQ(TileTop(3, -100, scale), c.nTop3) << c.nDpi;
        EXPECT_EQ(WheelScrollStep(-120, scale), c.nWheel) << c.nDpi;
        EXPECT_EQ(SlotFromColumnY(c.nSlot2Y - 1, 5, scale), 1) << c.nDpi;
        EXPECT_EQ(SlotFromColumnY(c.nSlot2Y, 5, scale), 2) << c.nDpi;
        EXPECT_EQ(SlotFromColumnY(100000, 5, scale), 5) << c.nDpi;
        const int nCentre = DropMarkerCentreY(0, 2, scale);
        EXPECT_EQ(nCentre, c.nCentre2) << c.nDpi;
        EXPECT_EQ(DropMarkerStrip(nCentre, c.nWidth, scale), c.rcStrip) << c.nDpi;
        EXPECT_EQ(DropMarkerLine(nCentre, c.nWidth, scale), c.rcLine) << c.nDpi;
        const ColumnPaint column = ColumnPaintOf(c.nWidth, 300, scale);
        EXPECT_EQ(column.rcTrack, (Rect{c.rcEdges[1].left, 0, c.nWidth, 300})) << c.nDpi;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(column.rcEdges[i], c.rcEdges[i]) << c.nDpi << " edge " << i;
        }
        const ScrollThumb thumb = ScrollThumbOf(c.nWidth, 300, 712, -100, scale);
        EXPECT_EQ(thumb.rcLight, c.rcLight) << c.nDpi;
        EXPECT_EQ(thumb.rcDark, c.rcDark) << c.nDpi;
        const Rect rcTile{0, 0, metrics.nWidth, metrics.nHeight};
        EXPECT_TRUE(IsPointerOverTile(Point{50, 30}, rcTile, 30 + c.nHoverMargin, scale));
        EXPECT_FALSE(IsPointerOverTile(Point{50, 30}, rcTile, 29 + c.nHoverMargin, scale));
        const Rect& rcBadge = c.metrics.rcBadge;
        EXPECT_TRUE(IsOnTileBadge(Point{rcBadge.left, rcBadge.top}, rcTile, scale)) << c.nDpi;
        EXPECT_TRUE(IsOnTileBadge(Point{rcBadge.right - 1, rcBadge.bottom - 1}, rcTile, scale));
        EXPECT_FALSE(IsOnTileBadge(Point{rcBadge.right, rcBadge.top}, rcTile, scale)) << c.nDpi;
    }
}

TEST(TileGeometryTest, TheDropMarkerStaysInTheGapBetweenTilesAtEveryScale) {
    for (const int nDpi : {96, 108, 120, 144, 168, 192, 240, 288}) {
        const CDpiScale scale(nDpi);
        const int nTileHeight = TileMetricsAt(scale).nHeight;
        for (const int nSlot : {1, 2, 7}) {
            const int nCentre = DropMarkerCentreY(-40, nSlot, scale);
            const Rect rcStrip = DropMarkerStrip(nCentre, 200, scale);
            const Rect rcLine = DropMarkerLine(nCentre, 200, scale);
            // Between the bottom of the tile above and the top of the tile of this order.
            EXPECT_GE(rcStrip.top, TileTop(nSlot - 1, -40, scale) + nTileHeight) << nDpi;
            EXPECT_LE(rcStrip.bottom, TileTop(nSlot, -40, scale)) << nDpi;
            EXPECT_GE(rcLine.top, rcStrip.top) << nDpi;
            EXPECT_LE(rcLine.bottom, rcStrip.bottom) << nDpi;
            EXPECT_GT(rcLine.bottom, rcLine.top) << nDpi;
        }
    }
}

TEST(TileGeometryTest, TheTooltipNumbersTilesFromOneDownTheColumn) {
    EXPECT_EQ(TileToolTipText(0, u"Button OK"), u"1. Button OK");
    EXPECT_EQ(TileToolTipText(2, u"\u00c4pfel"), u"3. \u00c4pfel");
    EXPECT_EQ(TileToolTipText(9, u""), u"10.");
    EXPECT_EQ(TileToolTipText(INT32_MAX, u"x"), u"2147483648. x");
}

}  // namespace
