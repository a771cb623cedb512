// Which screen rectangles a grab blacks out, by mode, view and active window, and the filling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/GrabBlackout.h"

namespace {

constexpr Rect kPanel = {100, 50, 400, 650};
constexpr Rect kFly = {900, 10, 964, 74};
constexpr Rect kEditor = {300, 200, 700, 500};
// The primary monitor and a second one left of and above it.
constexpr Rect kPrimary = {0, 0, 1280, 1024};
constexpr Rect kSecond = {-1024, -300, 0, 468};

BlackoutInput Input(GrabMode mode, int nViewMode) {
    BlackoutInput input;
    input.mode = mode;
    input.layout.monitors = {MonitorArea{kPrimary, {0, 0, 1280, 984}, true},
                             MonitorArea{kSecond, kSecond, false}};
    input.nViewMode = nViewMode;
    input.rcPanel = kPanel;
    input.rcFly = kFly;
    return input;
}

BlackoutInput PlayWithOwnWindowActive(int nViewMode, Rect rcActive = kPanel) {
    BlackoutInput input = Input(GrabMode::Play, nViewMode);
    input.bOwnWindowActive = true;
    input.rcActive = rcActive;
    return input;
}

using Rects = std::vector<Rect>;

TEST(GrabBlackout, PlayBlacksOutTheWindowOfTheViewWhileOneOfOursIsActive) {
    EXPECT_EQ(BlackoutRects(PlayWithOwnWindowActive(kGrabViewCommon)), Rects{kPanel});
    EXPECT_EQ(BlackoutRects(PlayWithOwnWindowActive(kGrabViewFlyWindow, kFly)), Rects{kFly});
    EXPECT_EQ(BlackoutRects(PlayWithOwnWindowActive(kGrabViewTray, kEditor)), Rects{});
    EXPECT_EQ(BlackoutRects(PlayWithOwnWindowActive(7)), Rects{});
}

TEST(GrabBlackout, PlayBlacksOutNothingWhileAnotherProgramIsActive) {
    for (int nView : {kGrabViewCommon, kGrabViewFlyWindow, kGrabViewTray}) {
        BlackoutInput input = Input(GrabMode::Play, nView);
        input.rcActive = kPanel;
        EXPECT_EQ(BlackoutRects(input), Rects{}) << nView;
    }
}

TEST(GrabBlackout, PlayIgnoresAnActiveWindowOnlyWhenItCoversAWholeMonitor) {
    const struct {
        Rect rcActive;
        bool bCounts;  // the panel is blacked out
    } cases[] = {
        {kPrimary, false},
        {kSecond, false},
        {{-1024, -300, 1280, 1024}, false},  // the virtual screen
        {{-5, -7, 1290, 1030}, false},       // beyond the primary's edges
        {{-1030, -300, 0, 470}, false},      // beyond the second's
        // The place counts, not only the size.
        {{-5, 7, 1275, 1031}, true},
        {{0, 0, 1279, 1024}, true},
        {{0, 0, 1280, 1023}, true},
        {{1, 0, 1280, 1024}, true},
        {{-1024, -299, 0, 468}, true},
        {{-500, 0, 700, 400}, true},  // across both, covering neither
        {kPanel, true},
    };
    for (const auto& c : cases) {
        const Rects expected = c.bCounts ? Rects{kPanel} : Rects{};
        EXPECT_EQ(BlackoutRects(PlayWithOwnWindowActive(kGrabViewCommon, c.rcActive)), expected)
            << c.rcActive.left << "," << c.rcActive.top << "," << c.rcActive.right << ","
            << c.rcActive.bottom;
    }
    // Without a known monitor no window covers one.
    BlackoutInput noLayout = PlayWithOwnWindowActive(kGrabViewCommon, kPrimary);
    noLayout.layout = DesktopLayout{};
    EXPECT_EQ(BlackoutRects(noLayout), Rects{kPanel});
}

// The panel and its tiles on the second monitor, at negative desktop coordinates.
TEST(GrabBlackout, WindowsOnAMonitorLeftOfAndAboveThePrimaryAreBlackedOutThere) {
    constexpr Rect kPanelThere = {-900, -250, -600, 350};
    constexpr Rect kTilesThere = {-898, -150, -602, 340};
    BlackoutInput input = PlayWithOwnWindowActive(kGrabViewCommon, kPanelThere);
    input.rcPanel = kPanelThere;
    input.rcTiles = kTilesThere;
    EXPECT_EQ(BlackoutRects(input), (Rects{kTilesThere, kPanelThere}));
    BlackoutInput test = Input(GrabMode::Test, kGrabViewCommon);
    test.rcPanel = kPanelThere;
    test.rcEditor = Rect{-400, -200, 100, 100};
    EXPECT_EQ(BlackoutRects(test), (Rects{kPanelThere, Rect{-400, -200, 100, 100}}));
}

TEST(GrabBlackout, PlayNeverBlacksOutTheEditor) {
    BlackoutInput input = PlayWithOwnWindowActive(kGrabViewCommon, kEditor);
    input.rcEditor = kEditor;
    EXPECT_EQ(BlackoutRects(input), Rects{kPanel});
}

// The tiles show each target's picture as it is; the column is never searched in play, also
// while another program is active, and only while it is on the screen.
TEST(GrabBlackout, PlayAlwaysBlacksOutTheTileColumnOfTheCommonView) {
    constexpr Rect kTiles = {102, 150, 398, 640};
    BlackoutInput other = Input(GrabMode::Play, kGrabViewCommon);
    other.rcTiles = kTiles;
    EXPECT_EQ(BlackoutRects(other), Rects{kTiles});
    BlackoutInput own = PlayWithOwnWindowActive(kGrabViewCommon);
    own.rcTiles = kTiles;
    EXPECT_EQ(BlackoutRects(own), (Rects{kTiles, kPanel}));
    BlackoutInput fly = PlayWithOwnWindowActive(kGrabViewFlyWindow, kFly);
    fly.rcTiles = kTiles;
    EXPECT_EQ(BlackoutRects(fly), Rects{kFly});
}

TEST(GrabBlackout, TestAlwaysBlacksOutTheWindowOfTheViewAndTheEditor) {
    for (bool bActive : {false, true}) {
        BlackoutInput common = Input(GrabMode::Test, kGrabViewCommon);
        common.bOwnWindowActive = bActive;
        // An active window covering a monitor changes nothing in a test.
        common.rcActive = kPrimary;
        common.rcEditor = kEditor;
        EXPECT_EQ(BlackoutRects(common), (Rects{kPanel, kEditor}));

        BlackoutInput fly = common;
        fly.nViewMode = kGrabViewFlyWindow;
        EXPECT_EQ(BlackoutRects(fly), (Rects{kFly, kEditor}));

        BlackoutInput tray = common;
        tray.nViewMode = kGrabViewTray;
        EXPECT_EQ(BlackoutRects(tray), Rects{kEditor});
    }
    EXPECT_EQ(BlackoutRects(Input(GrabMode::Test, kGrabViewFlyWindow)), Rects{kFly});
    EXPECT_EQ(BlackoutRects(Input(GrabMode::Test, kGrabViewTray)), Rects{});
}

// A 6 x 4 picture whose pixel (x, y) is 0x00101000 + 16 * y + x + 1 (never 0).
PixelBuffer Numbered() {
    PixelBuffer screen(6, 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            screen.Set(x, y, 0x00101000u + static_cast<uint32_t>(16 * y + x + 1));
        }
    }
    return screen;
}

// The pixels that are 0, as a picture of '#' (black) and '.' rows.
std::vector<std::string> Blacked(const PixelBuffer& screen) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < screen.Height(); ++y) {
        std::string row;
        for (int32_t x = 0; x < screen.Width(); ++x) {
            row += screen.At(x, y) == 0 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(GrabBlackout, FillsRectanglesExcludingTheirRightAndBottomEdges) {
    PixelBuffer screen = Numbered();
    const PixelBuffer before = screen;
    const Rect rects[] = {{1, 1, 3, 3}, {4, 0, 5, 1}};
    BlackOut(screen, rects);
    EXPECT_EQ(Blacked(screen), (std::vector<std::string>{"....#.", ".##...", ".##...", "......"}));
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            if (screen.At(x, y) != 0) {
                EXPECT_EQ(screen.At(x, y), before.At(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(GrabBlackout, ClipsRectanglesAtEveryScreenEdge) {
    PixelBuffer screen = Numbered();
    const Rect rects[] = {{-10, -10, 1, 2}, {5, 3, 100, 100}};
    BlackOut(screen, rects);
    EXPECT_EQ(Blacked(screen), (std::vector<std::string>{"#.....", "#.....", "......", ".....#"}));

    PixelBuffer whole = Numbered();
    const Rect covering[] = {{-1, -1, 7, 5}};
    BlackOut(whole, covering);
    EXPECT_EQ(whole, PixelBuffer(6, 4));
}

TEST(GrabBlackout, EmptyInvertedAndOffScreenRectanglesCoverNothing) {
    PixelBuffer screen = Numbered();
    const Rect rects[] = {{2, 2, 2, 4}, {1, 3, 4, 3}, {4, 1, 2, 3},  {-5, 0, 0, 4},
                          {6, 0, 9, 4}, {0, 4, 6, 8}, {0, -3, 6, 0}, {3, 1, 5, -1}};
    BlackOut(screen, rects);
    EXPECT_EQ(screen, Numbered());
    PixelBuffer empty;
    BlackOut(empty, rects);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(GrabBlackout, DesktopRectanglesAreMovedByThePicturesOrigin) {
    // A 6 x 4 picture of the desktop from (-3, -2): desktop (-3, -2) is its pixel (0, 0).
    const struct {
        Point origin;
        Rect rcDesktop;
        std::vector<std::string> blacked;
    } cases[] = {
        {{-3, -2}, {-3, -2, -1, 0}, {"##....", "##....", "......", "......"}},
        {{-3, -2}, {-10, 0, 0, 1}, {"......", "......", "###...", "......"}},
        {{-3, -2}, {2, 1, 9, 9}, {"......", "......", "......", ".....#"}},
        {{0, 0}, {-3, -2, -1, 0}, {"......", "......", "......", "......"}},
        {{100, 50}, {104, 51, 200, 52}, {"......", "....##", "......", "......"}},
    };
    for (const auto& c : cases) {
        DesktopImage image{Numbered(), c.origin};
        const Rect rects[] = {c.rcDesktop};
        BlackOut(image, rects);
        EXPECT_EQ(Blacked(image.pixels), c.blacked) << c.origin.x << "," << c.origin.y;
        EXPECT_EQ(image.origin, c.origin);
    }
}

}  // namespace
