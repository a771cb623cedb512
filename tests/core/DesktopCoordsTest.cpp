// Picture and desktop pixels, and the virtual screen of a layout of monitors.
#include "engine/DesktopCoords.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(DesktopCoordsTest, ImageAndDesktopPointsRoundTripAndHoldAtTheInt32Limits) {
    struct Case {
        Point image;
        Point origin;
        Point desktop;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}, {0, 0}},
        {{5, 7}, {-1024, -300}, {-1019, -293}},
        {{1023, 299}, {-1024, -300}, {-1, -1}},
        {{10, 20}, {1280, 0}, {1290, 20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImageToDesktop(c.image, c.origin), c.desktop);
        EXPECT_EQ(DesktopToImage(c.desktop, c.origin), c.image);
    }
    // A click point a file's shift put at the limit stays there instead of wrapping round.
    EXPECT_EQ(DesktopToImage(Point{kMin, kMax}, Point{100, -100}), (Point{kMin, kMax}));
    EXPECT_EQ(ImageToDesktop(Point{kMax, kMin}, Point{100, -100}), (Point{kMax, kMin}));
    EXPECT_EQ(DesktopToImage(Rect{-1024, -300, 0, 468}, Point{-1024, -300}),
              (Rect{0, 0, 1024, 768}));
}

TEST(DesktopCoordsTest, VirtualRectHoldsEveryMonitor) {
    DesktopLayout layout;
    EXPECT_EQ(layout.VirtualRect(), Rect{});
    layout.monitors.push_back({{0, 0, 1280, 1024}, {0, 0, 1280, 994}, true});
    EXPECT_EQ(layout.VirtualRect(), (Rect{0, 0, 1280, 1024}));
    layout.monitors.push_back({{-1024, -300, 0, 468}, {-1024, -300, 0, 468}, false});
    EXPECT_EQ(layout.VirtualRect(), (Rect{-1024, -300, 1280, 1024}));
    DesktopImage image{PixelBuffer(2304, 1324), {-1024, -300}};
    EXPECT_EQ(DesktopRectOf(image), layout.VirtualRect());
}

}  // namespace
