// Black where no monitor is, in pictures of the desktop with their own origins.
#include "engine/UncoveredBlackout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/ModelTestUtil.h"

namespace {

bool OnSomeMonitor(const DesktopLayout& layout, Point pt) {
    for (const MonitorArea& monitor : layout.monitors) {
        const Rect& rc = monitor.rcMonitor;
        if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom) {
            return true;
        }
    }
    return false;
}

DesktopLayout LayoutOf(const std::vector<Rect>& monitors) {
    DesktopLayout layout;
    for (const Rect& rc : monitors) {
        layout.monitors.push_back(MonitorArea{rc, rc, layout.monitors.empty()});
    }
    return layout;
}

}  // namespace

TEST(UncoveredBlackoutTest, BlacksOutExactlyThePlacesNoMonitorCovers) {
    struct Case {
        const char* name;
        std::vector<Rect> monitors;
        Rect rcPicture;  // the desktop rectangle the picture covers
    };
    const Case cases[] = {
        // A primary 40 x 30 at (0, 0), one right of it and one below it: the bottom-right corner
        // is uncovered.
        {"L-shaped", {{0, 0, 40, 30}, {40, 0, 80, 30}, {0, 30, 40, 60}}, {0, 0, 80, 60}},
        {"second left of and above, smaller",
         {{0, 0, 40, 30}, {-32, -9, 0, 15}},
         {-32, -9, 40, 30}},
        {"overlapping and unsorted, a gap between",
         {{50, 0, 70, 20}, {0, 0, 30, 20}, {20, 5, 40, 25}},
         {0, 0, 70, 25}},
        {"a picture reaching beyond the virtual screen", {{0, 0, 40, 30}}, {-5, -5, 50, 35}},
        {"a picture of a part of one monitor", {{0, 0, 40, 30}, {40, 0, 80, 20}}, {30, 10, 50, 30}},
        {"monitors all covering the picture", {{0, 0, 40, 30}, {40, 0, 80, 30}}, {0, 0, 80, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DesktopLayout layout = LayoutOf(c.monitors);
        const PixelBuffer original = RandomPicture(c.rcPicture.right - c.rcPicture.left,
                                                   c.rcPicture.bottom - c.rcPicture.top, 7);
        DesktopImage image{original, Point{c.rcPicture.left, c.rcPicture.top}};
        BlackOutUncovered(image, layout);
        std::vector<std::string> wrong;
        for (int32_t y = 0; y < original.Height(); ++y) {
            for (int32_t x = 0; x < original.Width(); ++x) {
                const bool bCovered =
                    OnSomeMonitor(layout, ImageToDesktop(Point{x, y}, image.origin));
                const uint32_t expected = bCovered ? original.At(x, y) : 0u;
                if (image.pixels.At(x, y) != expected && wrong.size() < 5) {
                    wrong.push_back(std::to_string(x) + "," + std::to_string(y));
                }
            }
        }
        EXPECT_EQ(wrong, std::vector<std::string>{});
    }
}

TEST(UncoveredBlackoutTest, NoMonitorOrNoPixelsLeaveThePictureAsItIs) {
    const PixelBuffer original = RandomPicture(8, 6, 3);
    DesktopImage image{original, Point{-4, 0}};
    BlackOutUncovered(image, DesktopLayout{});
    EXPECT_EQ(image.pixels, original);
    DesktopImage empty;
    BlackOutUncovered(empty, LayoutOf({{0, 0, 10, 10}}));
    EXPECT_TRUE(empty.pixels.IsEmpty());
}
