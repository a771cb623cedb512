// Normalisation of screen points to absolute mouse coordinates.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/DesktopCoords.h"
#include "engine/MouseNormalise.h"

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

Point Normalise(int32_t x, int32_t y) {
    return NormaliseAbsolute(Point{x, y}, kWidth, kHeight);
}

}  // namespace

TEST(MouseNormaliseOnScreen, EveryPixelLandsOnItselfForCommonScreenSizes) {
    for (const int32_t nExtent : {1, 7, 640, 768, 1024, 1080, 1280, 1366, 1920, 2160, 3840}) {
        for (int32_t x = -nExtent; x < 2 * nExtent; ++x) {
            const int32_t v = NormaliseAbsolute(Point{x, 0}, nExtent, 1).x;
            ASSERT_EQ(PixelOfAbsolute(v, nExtent), x) << "extent " << nExtent << ", v " << v;
            // The smallest such value: one less lands on the pixel before.
            ASSERT_EQ(PixelOfAbsolute(v - 1, nExtent), x - 1) << "extent " << nExtent;
        }
    }
}

TEST(MouseNormaliseOnScreen, CornersCentreAndLastPixel) {
    EXPECT_EQ(Normalise(0, 0), (Point{0, 0}));
    EXPECT_EQ(Normalise(1, 1), (Point{35, 61}));
    EXPECT_EQ(Normalise(960, 540), (Point{32768, 32768}));
    // The last column and row stay inside 0 ... 65535.
    EXPECT_EQ(Normalise(kWidth - 1, kHeight - 1), (Point{65502, 65476}));
    EXPECT_EQ(Normalise(kWidth, kHeight), (Point{65536, 65536}));
}

TEST(MouseNormaliseOffScreen, OutOfRangeResultsAreKept) {
    EXPECT_EQ(Normalise(-1, -1), (Point{-34, -60}));
    EXPECT_EQ(PixelOfAbsolute(-34, kWidth), -1);
    EXPECT_EQ(PixelOfAbsolute(-35, kWidth), -2);
    EXPECT_EQ(Normalise(-kWidth, -kHeight), (Point{-65536, -65536}));
    EXPECT_EQ(Normalise(2 * kWidth, 2 * kHeight), (Point{131072, 131072}));
}

TEST(MouseNormaliseOffScreen, LargeCoordinatesAreExactBeyondInt32Products) {
    // 32769 * 65536 does not fit in int32, yet the result is exact.
    EXPECT_EQ(Normalise(32769, -32769), (Point{1118516, -1988471}));
    EXPECT_EQ(Normalise(40000, -40000), (Point{1365334, -2427259}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Max, kInt32Min}, 65536, 65536),
              (Point{kInt32Max, kInt32Min}));
}

TEST(MouseNormaliseOffScreen, ResultsBeyondInt32Saturate) {
    EXPECT_EQ(Normalise(kInt32Max, kInt32Min), (Point{kInt32Max, kInt32Min}));
    EXPECT_EQ(PixelOfAbsolute(kInt32Max, kInt32Max), kInt32Max);
    EXPECT_EQ(PixelOfAbsolute(kInt32Min, kInt32Max), kInt32Min);
}

TEST(MouseNormaliseScreenSize, ZeroOrNegativeExtentGivesZeroForThatAxisOnly) {
    EXPECT_EQ(NormaliseAbsolute(Point{100, 540}, 0, kHeight), (Point{0, 32768}));
    EXPECT_EQ(NormaliseAbsolute(Point{960, 100}, kWidth, -1), (Point{32768, 0}));
    EXPECT_EQ(NormaliseAbsolute(Point{kInt32Min, kInt32Max}, kInt32Min, 0), (Point{0, 0}));
    EXPECT_EQ(PixelOfAbsolute(1000, 0), 0);
}

namespace {

struct Layout {
    const char* name;
    std::vector<Rect> monitors;  // the first is the primary, at (0, 0)
};

Rect VirtualRectOf(const std::vector<Rect>& monitors) {
    DesktopLayout layout;
    for (const Rect& rc : monitors) {
        layout.monitors.push_back(MonitorArea{rc, rc, false});
    }
    return layout.VirtualRect();
}

// The corners and every pixel of the four edges of `rc`.
std::vector<Point> EdgePixels(const Rect& rc) {
    std::vector<Point> points;
    for (int32_t x = rc.left; x < rc.right; ++x) {
        points.push_back({x, rc.top});
        points.push_back({x, rc.bottom - 1});
    }
    for (int32_t y = rc.top; y < rc.bottom; ++y) {
        points.push_back({rc.left, y});
        points.push_back({rc.right - 1, y});
    }
    return points;
}

}  // namespace

TEST(MouseNormaliseVirtualDesk, EveryMonitorsEdgesLandExactlyOnThemselves) {
    const Layout layouts[] = {
        {"one monitor", {{0, 0, 1920, 1080}}},
        {"second left of and above the primary", {{0, 0, 1280, 1024}, {-1024, -300, 0, 468}}},
        {"second right of the primary, lower", {{0, 0, 1920, 1080}, {1920, 56, 3200, 1080}}},
        {"stacked, second above", {{0, 0, 1920, 1080}, {0, -1200, 1600, 0}}},
        {"L-shaped", {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}, {0, 1080, 1920, 2160}}},
        {"odd sizes, second left and lower", {{0, 0, 1366, 768}, {-1600, 132, 0, 1032}}},
        {"3 x 4K side by side", {{0, 0, 3840, 2160}, {-3840, 0, 0, 2160}, {3840, 0, 7680, 2160}}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const Rect rcVirtual = VirtualRectOf(layout.monitors);
        for (const Rect& rcMonitor : layout.monitors) {
            for (const Point pt : EdgePixels(rcMonitor)) {
                const Point v = NormaliseVirtualDesk(pt, rcVirtual);
                ASSERT_TRUE(v.x >= 0 && v.x <= 65535 && v.y >= 0 && v.y <= 65535)
                    << pt.x << "," << pt.y << " -> " << v.x << "," << v.y;
                ASSERT_EQ(DesktopPointOfAbsolute(v, rcVirtual), pt) << v.x << "," << v.y;
                // The smallest such value: one less lands on the pixel before.
                ASSERT_EQ(DesktopPointOfAbsolute(Point{v.x - 1, v.y - 1}, rcVirtual),
                          (Point{pt.x - 1, pt.y - 1}));
            }
        }
        // The virtual screen's top-left is 0; its last pixel stays below 65536.
        EXPECT_EQ(NormaliseVirtualDesk(Point{rcVirtual.left, rcVirtual.top}, rcVirtual),
                  (Point{0, 0}));
        EXPECT_EQ(DesktopPointOfAbsolute(Point{65535, 65535}, rcVirtual),
                  (Point{rcVirtual.right - 1, rcVirtual.bottom - 1}));
    }
}

TEST(MouseNormaliseVirtualDesk, KnownValuesAndPointsOffTheDesktop) {
    const Rect rcVirtual{-1024, -300, 1280, 1024};  // 2304 x 1324
    EXPECT_EQ(NormaliseVirtualDesk(Point{0, 0}, rcVirtual), (Point{29128, 14850}));
    EXPECT_EQ(NormaliseVirtualDesk(Point{-1024, -300}, rcVirtual), (Point{0, 0}));
    EXPECT_EQ(NormaliseVirtualDesk(Point{1279, 1023}, rcVirtual), (Point{65508, 65487}));
    // Off the desktop: out of range, kept as they are.
    EXPECT_EQ(NormaliseVirtualDesk(Point{-1025, 1024}, rcVirtual), (Point{-28, 65536}));
    // An empty virtual screen gives 0, as an empty primary screen does.
    EXPECT_EQ(NormaliseVirtualDesk(Point{5, 5}, Rect{}), (Point{0, 0}));
    EXPECT_EQ(DesktopPointOfAbsolute(Point{100, 100}, Rect{-50, -60, -50, -60}), (Point{-50, -60}));
}
