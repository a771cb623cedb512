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

TEST(TileGeometryTest, TheTooltipNumbersTilesFromOneDownTheColumn) {
    EXPECT_EQ(TileToolTipText(0, u"Button OK"), u"1. Button OK");
    EXPECT_EQ(TileToolTipText(2, u"\u00c4pfel"), u"3. \u00c4pfel");
    EXPECT_EQ(TileToolTipText(9, u""), u"10.");
    EXPECT_EQ(TileToolTipText(INT32_MAX, u"x"), u"2147483648. x");
}

}  // namespace
