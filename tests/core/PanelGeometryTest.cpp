// The panel's start-up placement, tile slots and scrolling.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "capture/TileGeometry.h"
#include "ui/PanelGeometry.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// One monitor whose work area is the whole screen.
DesktopLayout OneScreen(int cx, int cy) {
    return DesktopLayout{{{{0, 0, cx, cy}, {0, 0, cx, cy}, true}}};
}

PanelPlacement PlaceOnScreen(int nTop, int nLeft, int nHeight) {
    return ComputeStartupPlacement(nTop, nLeft, nHeight, OneScreen(kScreenWidth, kScreenHeight));
}

// The primary 1920 x 1080 with a 40-pixel taskbar at the bottom, a 1280 x 1024 monitor left of and
// above it, and a 1024 x 768 monitor to its right whose taskbar is on the left: an L-shape with
// gaps no monitor covers.
const MonitorArea kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true};
const MonitorArea kUpperLeft{{-1280, -300, 0, 724}, {-1280, -300, 0, 724}, false};
const MonitorArea kRight{{1920, 0, 2944, 768}, {1980, 0, 2944, 768}, false};

// Scrolls as the panel does for one wheel message: add the step, then clamp.
int Wheel(int nScrollPos, int nWheelDelta, std::size_t nTargets, int nClientHeight) {
    return ClampScrollPos(nScrollPos + WheelScrollStep(nWheelDelta), TileContentHeight(nTargets),
                          TileAreaHeight(nClientHeight));
}

}  // namespace

TEST(PanelGeometryPlacement, AnyMissingValueGivesTheDefaultPlaceAndLeavesTheFlyWindow) {
    const Rect rcDefault{895, 290, 1025, 790};
    for (const auto& [nTop, nLeft, nHeight] :
         {std::tuple{kMissingSetting, 100, 300}, std::tuple{100, kMissingSetting, 300},
          std::tuple{100, 100, kMissingSetting},
          std::tuple{kMissingSetting, kMissingSetting, kMissingSetting}}) {
        const PanelPlacement placement = PlaceOnScreen(nTop, nLeft, nHeight);
        EXPECT_EQ(placement.rcPanel, rcDefault) << nTop << " " << nLeft << " " << nHeight;
        EXPECT_FALSE(placement.bMoveFlyWindow);
    }
    // Odd screen sizes halve with truncation before the offsets are taken.
    EXPECT_EQ(ComputeStartupPlacement(kMissingSetting, 0, 0, OneScreen(1365, 767)).rcPanel,
              (Rect{617, 133, 747, 633}));
    // On the primary monitor wherever the system lists it; the first one when none is marked.
    EXPECT_EQ(ComputeStartupPlacement(kMissingSetting, 0, 0, {{kUpperLeft, kPrimary}}).rcPanel,
              rcDefault);
    EXPECT_EQ(ComputeStartupPlacement(kMissingSetting, 0, 0, {{kUpperLeft}}).rcPanel,
              (Rect{-705, -38, -575, 462}));
}

TEST(PanelGeometryPlacement, APanelStaysWhereItsHeadIsOnSomeWorkAreaElseGoesToTheNearest) {
    const DesktopLayout threeMonitors{{kUpperLeft, kPrimary, kRight}};
    const DesktopLayout withoutLeft{{kPrimary, kRight}};
    struct Case {
        const char* pszWhat;
        DesktopLayout layout;
        Point ptStored;  // left, top
        Point ptPlaced;
    };
    const Case cases[] = {
        {"inside the upper left monitor", threeMonitors, {-1000, -250}, {-1000, -250}},
        {"at the desktop's top-left corner", threeMonitors, {-1280, -300}, {-1280, -300}},
        {"straddling the upper left and the primary", threeMonitors, {-60, 100}, {-60, 100}},
        {"into the right monitor's taskbar", threeMonitors, {1900, 100}, {1980, 100}},
        {"in the right monitor's taskbar", threeMonitors, {1950, 100}, {1980, 100}},
        {"above the primary, beside the upper left", threeMonitors, {300, -200}, {300, 0}},
        {"head half below the upper left", threeMonitors, {-600, 700}, {-600, 624}},
        {"head in the primary's taskbar", threeMonitors, {500, 1000}, {500, 940}},
        {"in the gap below the right monitor", threeMonitors, {2500, 900}, {2500, 668}},
        {"far off to the upper left", threeMonitors, {-9000, -9000}, {-1280, -300}},
        {"on the upper left once it is gone", withoutLeft, {-1000, -250}, {0, 0}},
        {"straddling into the gone monitor", withoutLeft, {-60, 100}, {0, 100}},
        {"at the int32 limits", withoutLeft, {2147483647, -2147483647}, {2814, 0}},
    };
    for (const Case& c : cases) {
        const PanelPlacement placement =
            ComputeStartupPlacement(c.ptStored.y, c.ptStored.x, 300, c.layout);
        EXPECT_EQ(placement.rcPanel,
                  (Rect{c.ptPlaced.x, c.ptPlaced.y, c.ptPlaced.x + 130, c.ptPlaced.y + 300}))
            << c.pszWhat;
        EXPECT_TRUE(placement.bMoveFlyWindow) << c.pszWhat;
    }
}

TEST(PanelGeometryPlacement, KeepOnWorkAreaMovesOnlyAWindowWhoseHeadIsOff) {
    const DesktopLayout layout{{kUpperLeft, kPrimary, kRight}};
    struct Case {
        const char* pszWhat;
        Rect rcWindow;
        int nHeadHeight;
        Rect rcKept;
    };
    const Case cases[] = {
        {"fly window on the upper left", {-50, 10, -10, 50}, 40, {-50, 10, -10, 50}},
        {"over a corner no monitor covers", {-20, 710, 20, 750}, 40, {0, 710, 40, 750}},
        {"head taller than the window", {-20, 1060, 20, 1100}, 100, {0, 1000, 40, 1040}},
        {"wider than its area", {1800, 600, 3000, 900}, 100, {1980, 600, 3180, 900}},
        {"taller than its area", {3000, 0, 4200, 900}, 1000, {1980, 0, 3180, 900}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeepOnWorkArea(c.rcWindow, c.nHeadHeight, layout), c.rcKept) << c.pszWhat;
    }
    EXPECT_EQ(KeepOnWorkArea({-50, 10, -10, 50}, 40, DesktopLayout{}), (Rect{-50, 10, -10, 50}));
}

TEST(PanelGeometryPlacement, StoredValuesInsideTheScreenAreKept) {
    const PanelPlacement placement = PlaceOnScreen(40, 300, 650);
    EXPECT_EQ(placement.rcPanel, (Rect{300, 40, 430, 690}));
    EXPECT_TRUE(placement.bMoveFlyWindow);
    // A tall panel may reach below the screen: only its top 100 pixels are kept on screen.
    EXPECT_EQ(PlaceOnScreen(900, 0, 1000).rcPanel, (Rect{0, 900, 130, 1900}));
}

TEST(PanelGeometryPlacement, NegativeValuesBecomeZero) {
    EXPECT_EQ(PlaceOnScreen(-30, -1, 400).rcPanel, (Rect{0, 0, 130, 400}));
    // Only the exact marker counts as missing.
    const PanelPlacement placement = PlaceOnScreen(-4999, -5001, 400);
    EXPECT_EQ(placement.rcPanel, (Rect{0, 0, 130, 400}));
    EXPECT_TRUE(placement.bMoveFlyWindow);
}

TEST(PanelGeometryPlacement, PanelPastTheRightOrBottomEdgeIsPulledBack) {
    // Exactly at the edge stays; one pixel further is pulled back.
    EXPECT_EQ(PlaceOnScreen(980, 1790, 300).rcPanel, (Rect{1790, 980, 1920, 1280}));
    EXPECT_EQ(PlaceOnScreen(981, 1791, 300).rcPanel, (Rect{1790, 980, 1920, 1280}));
    EXPECT_EQ(PlaceOnScreen(5000, 9000, 300).rcPanel, (Rect{1790, 980, 1920, 1280}));
}

TEST(PanelGeometryPlacement, HeightIsAtLeastTheMinimum) {
    EXPECT_EQ(PlaceOnScreen(10, 10, 199).rcPanel, (Rect{10, 10, 140, 210}));
    EXPECT_EQ(PlaceOnScreen(10, 10, -20).rcPanel, (Rect{10, 10, 140, 210}));
    EXPECT_EQ(PlaceOnScreen(10, 10, 200).rcPanel, (Rect{10, 10, 140, 210}));
    EXPECT_EQ(PlaceOnScreen(10, 10, 201).rcPanel, (Rect{10, 10, 140, 211}));
}

TEST(PanelGeometryPlacement, SizesScaleWhileStoredValuesStayRealPixels) {
    const DesktopLayout screen = OneScreen(kScreenWidth, kScreenHeight);
    const struct {
        int nDpi;
        Rect rcDefault;
        int nMinHeight;
        Rect rcList;  // for a client height of 900
        int nTileArea;
    } cases[] = {
        {96, {895, 290, 1025, 790}, 200, {3, 103, 126, 890}, 788},
        {120, {879, 228, 1042, 853}, 250, {4, 129, 158, 888}, 760},
        {144, {863, 165, 1058, 915}, 300, {5, 155, 190, 885}, 732},
        {192, {830, 40, 1090, 1040}, 400, {6, 206, 252, 880}, 676},
    };
    for (const auto& c : cases) {
        const CDpiScale scale(c.nDpi);
        EXPECT_EQ(ComputeStartupPlacement(kMissingSetting, 0, 0, screen, scale).rcPanel,
                  c.rcDefault)
            << c.nDpi;
        // A stored height is the window's real height; only the minimum is scaled.
        EXPECT_EQ(ComputeStartupPlacement(10, 20, 150, screen, scale).rcPanel,
                  (Rect{20, 10, 20 + scale.Scale(130), 10 + c.nMinHeight}))
            << c.nDpi;
        EXPECT_EQ(ComputeStartupPlacement(10, 20, 777, screen, scale).rcPanel.bottom, 787);
        EXPECT_EQ(ListViewRect(900, scale), c.rcList) << c.nDpi;
        EXPECT_EQ(TileAreaHeight(900, scale), c.nTileArea) << c.nDpi;
    }
}

TEST(PanelGeometry, StartupViewModeKeepsOnlyFlyWindowAndTray) {
    EXPECT_EQ(StartupViewMode(0), 0);
    EXPECT_EQ(StartupViewMode(1), 1);
    EXPECT_EQ(StartupViewMode(2), 2);
    EXPECT_EQ(StartupViewMode(3), 0);
    EXPECT_EQ(StartupViewMode(-1), 0);
    EXPECT_EQ(StartupViewMode(kMissingSetting), 0);
}

TEST(PanelGeometryTiles, SlotsAndContentHeight) {
    EXPECT_EQ(TileContentHeight(0), 6);
    EXPECT_EQ(TileContentHeight(1), 76);
    EXPECT_EQ(TileContentHeight(10), 706);
    EXPECT_EQ(TileTop(0, 0), 6);
    EXPECT_EQ(TileTop(3, 0), 216);
    EXPECT_EQ(TileTop(3, -100), 116);
    // A slot is an order number as stored: any int32.
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    EXPECT_EQ(TileTop(kMax, 0), kMax);
    EXPECT_EQ(TileTop(kMin, -100), kMin);
    EXPECT_EQ(TileTop(kMax / 70, -kMax), kMax / 70 * 70 - kMax + 6);
    // A column of n tiles ends with a 6-pixel gap below the last one (64 high).
    EXPECT_EQ(TileContentHeight(4) - (TileTop(3, 0) + kTileHeight), 6);
    EXPECT_EQ(TileAreaHeight(500), 388);
    EXPECT_EQ(TileAreaHeight(200), 88);
}

TEST(PanelGeometryScroll, ClampKeepsTheColumnBetweenTopAndLastPage) {
    // Content 706, visible 388: the offset stays within [-318, 0].
    EXPECT_EQ(ClampScrollPos(0, 706, 388), 0);
    EXPECT_EQ(ClampScrollPos(-100, 706, 388), -100);
    EXPECT_EQ(ClampScrollPos(-318, 706, 388), -318);
    EXPECT_EQ(ClampScrollPos(-319, 706, 388), -318);
    EXPECT_EQ(ClampScrollPos(-100000, 706, 388), -318);
    EXPECT_EQ(ClampScrollPos(30, 706, 388), 0);
}

TEST(PanelGeometryScroll, ShortColumnAlwaysStartsAtTheTop) {
    for (const int nScrollPos : {-100000, -50, 0, 90}) {
        EXPECT_EQ(ClampScrollPos(nScrollPos, 216, 388), 0) << nScrollPos;
        EXPECT_EQ(ClampScrollPos(nScrollPos, 388, 388), 0) << nScrollPos;
    }
}

TEST(PanelGeometryScroll, WheelStepTruncatesTowardZero) {
    EXPECT_EQ(WheelScrollStep(120), 30);
    EXPECT_EQ(WheelScrollStep(-120), -30);
    EXPECT_EQ(WheelScrollStep(240), 60);
    EXPECT_EQ(WheelScrollStep(3), 0);
    EXPECT_EQ(WheelScrollStep(-3), 0);
    EXPECT_EQ(WheelScrollStep(-7), -1);
    EXPECT_EQ(WheelScrollStep(7), 1);
}

TEST(PanelGeometryScroll, WheelStopsOnceTheLastTileIsVisible) {
    // Ten tiles in a 500-pixel panel: turning back scrolls 30 pixels a notch until the last
    // tile is fully shown, then nothing more happens.
    int nScrollPos = 0;
    nScrollPos = Wheel(nScrollPos, -120, 10, 500);
    EXPECT_EQ(nScrollPos, -30);
    for (int nNotch = 0; nNotch < 20; ++nNotch) {
        nScrollPos = Wheel(nScrollPos, -120, 10, 500);
    }
    EXPECT_EQ(nScrollPos, -318);
    // The last tile's bottom, plus the margin, meets the visible bottom.
    EXPECT_EQ(TileTop(9, nScrollPos) + kTileHeight + kTileMargin, TileAreaHeight(500));
    // Turning forward moves the tiles down again, back to the top and no further.
    nScrollPos = Wheel(nScrollPos, 120, 10, 500);
    EXPECT_EQ(nScrollPos, -288);
    for (int nNotch = 0; nNotch < 20; ++nNotch) {
        nScrollPos = Wheel(nScrollPos, 120, 10, 500);
    }
    EXPECT_EQ(TileTop(0, nScrollPos), 6);
}

TEST(PanelGeometryScroll, ShortListIgnoresTheWheel) {
    int nScrollPos = 0;
    for (const int nWheelDelta : {-120, -360, 120, 480}) {
        nScrollPos = Wheel(nScrollPos, nWheelDelta, 3, 500);
        EXPECT_EQ(TileTop(0, nScrollPos), 6) << nWheelDelta;
    }
}
