// The play controller's decisions against fake grabs of a desktop whose picture starts at a
// negative origin: what it clicks, when it backs off, when it searches at all, which target wins.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "engine/GrabBlackout.h"
#include "engine/Locate.h"
#include "engine/PlayController.h"
#include "model/Picture.h"
#include "tests/core/SearchTestUtil.h"

namespace {

constexpr int64_t kNow = 1'700'000'000;
// The picture of the desktop starts on a monitor left of and above the primary.
constexpr Point kOrigin{-1024, -300};

// Records the controller's effects; the pointer goes where the moves send it.
class CRecordingOutput : public IClickOutput {
public:
    void MoveTo(Point pt) override {
        m_moves.push_back(pt);
        m_ptPointer = pt;
    }
    void ButtonDown() override { m_presses.push_back(m_ptPointer); }
    void ButtonUp() override { m_releases.push_back(m_ptPointer); }
    void ShowSight(Point pt) override { m_sights.push_back(pt); }
    void HideSight() override { ++m_nHides; }

    Point m_ptPointer{0, 0};
    std::vector<Point> m_moves;
    std::vector<Point> m_presses;
    std::vector<Point> m_releases;
    std::vector<Point> m_sights;
    int m_nHides = 0;
};

// A list of noise pictures, one per order number, and a grey picture of the desktop from
// (-1024, -300) to (376, 400) to show them on.
class PlayControllerTest : public ::testing::Test {
protected:
    CTargetObj& AddTarget(int32_t nOrder, Point ptShift = {}) {
        auto target = std::make_unique<CTargetObj>();
        target->m_nOrder = nOrder;
        target->m_ptClickShift = ptShift;
        target->m_bmpTarget = CPicture(NoisePicture(12, 9, m_random));
        return m_list.AddTail(std::move(target));
    }

    DesktopImage Desktop() const {
        return DesktopImage{UniformPicture(1400, 700, 0x00808080), kOrigin};
    }

    static void Show(DesktopImage& desktop, const CTargetObj& target, Point ptDesktop) {
        const Point ptImage = DesktopToImage(ptDesktop, desktop.origin);
        Paste(desktop.pixels, *target.m_bmpTarget.Pixels(), ptImage.x, ptImage.y);
    }

    // Click steps until the click ends; false if it never does.
    bool StepToIdle() {
        for (int i = 0; i < 100 && !m_play.ClickSequence().IsIdle(); ++i) {
            m_play.StepClick(m_output.m_ptPointer, m_output);
        }
        return m_play.ClickSequence().IsIdle();
    }

    std::mt19937 m_random{18};
    CTargetObjList m_list;
    CPlayController m_play;
    CRecordingOutput m_output;
};

TEST_F(PlayControllerTest, ClicksTheDesktopPointOfAPictureFoundLeftOfAndAboveThePrimary) {
    const struct {
        Point ptPicture;  // desktop top-left of the shown picture
        Point ptShift;
    } cases[] = {
        {{-1000, -280}, {0, 0}},    // on the second monitor
        {{-6, -5}, {3, -40}},       // straddling both
        {{-1024, -300}, {-5, -5}},  // the picture's first pixel, the click off it
        {{364, 391}, {0, 0}},       // the last place it fits
    };
    for (const auto& c : cases) {
        m_list.RemoveAll();
        const CTargetObj& shown = AddTarget(0, c.ptShift);
        CPlayController play;
        CRecordingOutput output;
        DesktopImage desktop = Desktop();
        Show(desktop, shown, c.ptPicture);

        play.Start(Point{500, 500}, kNow, output);
        const auto hit = play.ClickFirstFound(m_list, desktop, output.m_ptPointer, output);
        ASSERT_TRUE(hit) << c.ptPicture.x << "," << c.ptPicture.y;
        const TargetHit expected = MakeTargetHit(shown, c.ptPicture);
        EXPECT_EQ(hit->topLeft, c.ptPicture);
        EXPECT_EQ(hit->click, expected.click);
        EXPECT_EQ(*hit, *Locate(shown, desktop)) << "Play and the test disagree";
        for (int i = 0; i < 100 && !play.ClickSequence().IsIdle(); ++i) {
            play.StepClick(output.m_ptPointer, output);
        }
        EXPECT_EQ(output.m_presses, std::vector<Point>{expected.click});
        EXPECT_EQ(output.m_releases, std::vector<Point>{expected.click});
        EXPECT_EQ(output.m_sights, std::vector<Point>{expected.click});
    }
}

TEST_F(PlayControllerTest, TheLowestOrderOnTheDesktopWins) {
    // Listed out of order: the order numbers decide, and a hidden target gives way.
    const CTargetObj& second = AddTarget(1);
    const CTargetObj& first = AddTarget(0);
    const CTargetObj& third = AddTarget(2);
    const struct {
        bool bFirst, bSecond, bThird;
        const CTargetObj* pWinner;
    } cases[] = {
        {true, true, true, &first},   {false, true, true, &second},   {false, false, true, &third},
        {true, false, false, &first}, {false, false, false, nullptr},
    };
    for (const auto& c : cases) {
        CPlayController play;
        CRecordingOutput output;
        DesktopImage desktop = Desktop();
        if (c.bFirst)
            Show(desktop, first, Point{-300, 200});
        if (c.bSecond)
            Show(desktop, second, Point{-900, -250});
        if (c.bThird)
            Show(desktop, third, Point{-250, 0});
        play.Start(Point{0, 0}, kNow, output);
        const auto hit = play.ClickFirstFound(m_list, desktop, output.m_ptPointer, output);
        EXPECT_EQ(hit ? hit->target : nullptr, c.pWinner);
        EXPECT_EQ(play.ClickSequence().IsClicking(), c.pWinner != nullptr);
    }
}

TEST_F(PlayControllerTest, SearchesOnlyWhilePlayingAndNoClickIsUnderWay) {
    const CTargetObj& target = AddTarget(0);
    DesktopImage desktop = Desktop();
    Show(desktop, target, Point{-500, -100});
    EXPECT_FALSE(m_play.IsPlaying());
    EXPECT_FALSE(m_play.WantsGrab());
    EXPECT_FALSE(m_play.ClickFirstFound(m_list, desktop, m_output.m_ptPointer, m_output));
    EXPECT_TRUE(m_output.m_moves.empty());

    m_play.Start(Point{40, 60}, kNow, m_output);
    EXPECT_TRUE(m_play.IsPlaying());
    EXPECT_EQ(m_output.m_moves, std::vector<Point>{(Point{40, 60})});
    EXPECT_EQ(m_play.ActivityGuard().Reference(), (Point{40, 60}));
    EXPECT_TRUE(m_play.WantsGrab());
    ASSERT_TRUE(m_play.ClickFirstFound(m_list, desktop, m_output.m_ptPointer, m_output));
    // A tick during the click waits for it.
    EXPECT_FALSE(m_play.WantsGrab());
    EXPECT_FALSE(m_play.ClickFirstFound(m_list, desktop, m_output.m_ptPointer, m_output));

    // Stopped during the click: it finishes, and no other follows.
    m_play.Stop();
    ASSERT_TRUE(StepToIdle());
    EXPECT_EQ(m_output.m_presses.size(), 1u);
    EXPECT_FALSE(m_play.WantsGrab());
    EXPECT_FALSE(m_play.ClickFirstFound(m_list, desktop, m_output.m_ptPointer, m_output));

    // Started at start-up: on, without a move.
    CPlayController quiet;
    CRecordingOutput quietOutput;
    quiet.StartQuietly();
    EXPECT_TRUE(quiet.WantsGrab());
    EXPECT_TRUE(quietOutput.m_moves.empty());
}

TEST_F(PlayControllerTest, AMoveOfTheUsersEndsTheClickAndHoldsOffFourSeconds) {
    const CTargetObj& target = AddTarget(0);
    DesktopImage desktop = Desktop();
    Show(desktop, target, Point{-1000, -290});
    m_play.Start(Point{300, 300}, kNow, m_output);
    EXPECT_FALSE(m_play.HoldsOffForUser(m_output.m_ptPointer, kNow, m_output));
    ASSERT_TRUE(m_play.ClickFirstFound(m_list, desktop, m_output.m_ptPointer, m_output));
    m_play.StepClick(m_output.m_ptPointer, m_output);
    ASSERT_EQ(m_play.ClickSequence().State(), ClickState::Gliding);
    // The program's own glide is no move of the user's.
    EXPECT_FALSE(m_play.HoldsOffForUser(m_output.m_ptPointer, kNow, m_output));

    const Point ptMoved{m_output.m_ptPointer.x, m_output.m_ptPointer.y - 16};
    EXPECT_TRUE(m_play.HoldsOffForUser(ptMoved, kNow + 1, m_output));
    EXPECT_TRUE(m_play.ClickSequence().IsIdle());
    EXPECT_EQ(m_output.m_nHides, 1);
    EXPECT_TRUE(m_output.m_presses.empty());
    EXPECT_TRUE(m_play.IsPlaying());
    const struct {
        int64_t nAfter;
        bool bHeld;
    } rests[] = {{0, true}, {3, true}, {4, false}, {60, false}};
    for (const auto& rest : rests) {
        EXPECT_EQ(m_play.HoldsOffForUser(ptMoved, kNow + 1 + rest.nAfter, m_output), rest.bHeld)
            << rest.nAfter;
    }
    // Then the next tick clicks it again.
    ASSERT_TRUE(m_play.ClickFirstFound(m_list, desktop, ptMoved, m_output));
}

TEST_F(PlayControllerTest, TheTileCopyOnTheSecondMonitorIsBlackedOutAndTheRealOneClicked) {
    const CTargetObj& target = AddTarget(0);
    // The panel and its column of tiles on the monitor at negative coordinates; its tile shows
    // the picture first in the search's bottom-up order.
    BlackoutInput windows;
    windows.mode = GrabMode::Test;  // the controller asks for play's rule whatever it is given
    windows.layout.monitors = {MonitorArea{{0, 0, 1280, 1024}, {0, 0, 1280, 984}, true},
                               MonitorArea{{-1024, -300, 0, 468}, {-1024, -300, 0, 468}, false}};
    windows.rcPanel = Rect{-900, -280, -700, 250};
    windows.rcTiles = Rect{-898, -200, -702, 240};
    const Point ptReal{-300, -250};
    const Point ptTile{-880, 200};
    for (const bool bPanelActive : {false, true}) {
        windows.bOwnWindowActive = bPanelActive;
        windows.rcActive = windows.rcPanel;
        DesktopImage desktop = Desktop();
        Show(desktop, target, ptReal);
        Show(desktop, target, ptTile);
        // Without the black-out the tile's copy would win.
        EXPECT_EQ(Locate(target, desktop)->topLeft, ptTile);
        CPlayController play;
        CRecordingOutput output;
        play.Start(Point{0, 0}, kNow, output);
        const std::vector<Rect> blackout = play.PlayBlackout(windows);
        const std::vector<Rect> expected =
            bPanelActive ? std::vector<Rect>{*windows.rcTiles, windows.rcPanel}
                         : std::vector<Rect>{*windows.rcTiles};
        EXPECT_EQ(blackout, expected);
        BlackOut(desktop, blackout);
        const auto hit = play.ClickFirstFound(m_list, desktop, output.m_ptPointer, output);
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->topLeft, ptReal) << bPanelActive;
    }
}

TEST(LocateTest, ReportsDesktopPointsAndMatchesTheNearestPlace) {
    std::mt19937 random(5);
    CTargetObj target;
    target.m_ptClickShift = Point{-7, 11};
    target.m_bmpTarget = CPicture(NoisePicture(5, 4, random));
    const struct {
        Point origin;
        Point ptImage;
    } cases[] = {{{0, 0}, {10, 20}}, {{-1024, -300}, {0, 0}}, {{1280, -768}, {35, 26}}};
    for (const auto& c : cases) {
        DesktopImage desktop{UniformPicture(40, 30, 0x00102030), c.origin};
        EXPECT_FALSE(Locate(target, desktop));
        Paste(desktop.pixels, *target.m_bmpTarget.Pixels(), c.ptImage.x, c.ptImage.y);
        const Point ptDesktop = ImageToDesktop(c.ptImage, c.origin);
        const auto hit = Locate(target, desktop);
        ASSERT_TRUE(hit);
        EXPECT_EQ(*hit, MakeTargetHit(target, ptDesktop));
        EXPECT_EQ(hit->click, (Point{ptDesktop.x + 2 - 7, ptDesktop.y + 2 + 11}));
        const auto nearest = LocateNearest(target, desktop);
        ASSERT_TRUE(nearest);
        EXPECT_EQ(nearest->topLeft, ptDesktop);
        EXPECT_EQ(nearest->differingPixels, 0);
    }
    CTargetObj empty;
    EXPECT_FALSE(Locate(empty, DesktopImage{UniformPicture(4, 4, 0), {}}));
    EXPECT_FALSE(LocateNearest(empty, DesktopImage{UniformPicture(4, 4, 0), {}}));
}

}  // namespace
