// The overlay's selection rules: normalising, the click square, flat drags, the centre, the
// area, and the pictures cut from the frozen screen.
#include "capture/Selection.h"

#include <gtest/gtest.h>

namespace {

// A screen whose every pixel tells its place.
PixelBuffer CoordinateScreen(int32_t width, int32_t height) {
    PixelBuffer screen(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            screen.Set(x, y, MakeBgr0(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 1));
        }
    }
    return screen;
}

}  // namespace

TEST(Selection, ReleaseGivesTargetAndArea) {
    struct Case {
        const char* pszWhat;
        Rect rcDragged;  // press point, release point
        Rect rcTarget;
        Rect rcArea;
    };
    const Case cases[] = {
        {"drag toward the lower right", {10, 20, 15, 30}, {10, 20, 15, 30}, {-38, -25, 62, 75}},
        {"drag toward the upper left", {15, 30, 10, 20}, {10, 20, 15, 30}, {-38, -25, 62, 75}},
        {"drag toward the lower left", {15, 20, 10, 30}, {10, 20, 15, 30}, {-38, -25, 62, 75}},
        {"click", {100, 200, 100, 200}, {95, 195, 105, 205}, {50, 150, 150, 250}},
        {"click at the origin", {0, 0, 0, 0}, {-5, -5, 5, 5}, {-50, -50, 50, 50}},
        {"flat drag, vertical", {7, 9, 7, 3}, {7, 3, 8, 9}, {-43, -44, 57, 56}},
        {"flat drag, horizontal", {9, 7, 3, 7}, {3, 7, 9, 8}, {-44, -43, 56, 57}},
        {"one pixel", {4, 4, 5, 5}, {4, 4, 5, 5}, {-46, -46, 54, 54}},
        {"the whole screen", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {910, 490, 1010, 590}},
        {"past the right edge",
         {1910, 1070, 1919, 1079},
         {1910, 1070, 1919, 1079},
         {1864, 1024, 1964, 1124}},
    };
    for (const Case& c : cases) {
        const Selection selection = FinishSelection(c.rcDragged);
        EXPECT_EQ(selection.rcTarget, c.rcTarget) << c.pszWhat;
        EXPECT_EQ(selection.rcArea, c.rcArea) << c.pszWhat;
    }
}

TEST(Selection, CentreTruncatesTowardZero) {
    EXPECT_EQ(CentreOf({10, 10, 15, 16}), (Point{12, 13}));
    EXPECT_EQ(CentreOf({-3, -4, 0, 1}), (Point{-1, -1}));
    EXPECT_EQ(CentreOf({INT32_MAX - 1, 0, INT32_MAX, 2}), (Point{INT32_MAX - 1, 1}));
    EXPECT_EQ(NormaliseRect({5, 1, -2, -7}), (Rect{-2, -7, 5, 1}));
}

TEST(Selection, CutPictureCopiesTheScreenAndIsBlackBeyondIt) {
    const PixelBuffer screen = CoordinateScreen(20, 12);
    const Rect cases[] = {
        {3, 2, 9, 7},        // inside
        {0, 0, 20, 12},      // the whole screen
        {-4, -3, 5, 4},      // over the top-left corner
        {15, 8, 26, 15},     // over the bottom-right corner
        {-10, -10, 30, 30},  // around the whole screen
        {25, 1, 30, 5},      // wholly beside it
    };
    for (const Rect& rc : cases) {
        const PixelBuffer picture = CutPicture(screen, rc);
        ASSERT_EQ(picture.Width(), rc.right - rc.left);
        ASSERT_EQ(picture.Height(), rc.bottom - rc.top);
        for (int32_t y = 0; y < picture.Height(); ++y) {
            for (int32_t x = 0; x < picture.Width(); ++x) {
                const int32_t sx = rc.left + x;
                const int32_t sy = rc.top + y;
                const bool bOnScreen = sx >= 0 && sy >= 0 && sx < 20 && sy < 12;
                ASSERT_EQ(picture.At(x, y), bOnScreen ? screen.At(sx, sy) : 0u)
                    << "at " << sx << ", " << sy;
            }
        }
    }
    EXPECT_TRUE(CutPicture(screen, {5, 5, 5, 9}).IsEmpty());
    EXPECT_TRUE(CutPicture(screen, {5, 5, 2, 9}).IsEmpty());
}

TEST(Selection, MonitorPiecesAreTheMonitorsInPicturePixels) {
    // The primary at (0, 0), a smaller monitor left of and above it, one below it.
    const MonitorArea primary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true};
    const MonitorArea upperLeft{{-1280, -300, 0, 724}, {-1280, -300, 0, 724}, false};
    const MonitorArea below{{0, 1080, 800, 1680}, {0, 1080, 800, 1680}, false};
    struct Case {
        const char* pszWhat;
        Rect rcPicture;
        DesktopLayout layout;
        std::vector<Rect> pieces;
    };
    const Case cases[] = {
        {"the primary alone", {0, 0, 1920, 1080}, {{primary}}, {{0, 0, 1920, 1080}}},
        {"an L-shape with a negative origin",
         {-1280, -300, 1920, 1080},
         {{primary, upperLeft}},
         {{1280, 300, 3200, 1380}, {0, 0, 1280, 1024}}},
        {"a picture of part of the desktop",
         {-100, 1000, 100, 1200},
         {{upperLeft, primary, below}},
         {{100, 0, 200, 80}, {100, 80, 200, 200}}},
        {"no monitor", {0, 0, 10, 10}, {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MonitorPiecesOf(c.rcPicture, c.layout), c.pieces) << c.pszWhat;
    }
}
