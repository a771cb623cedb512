// Play end to end: Tarvik finds the board's pictures on the real screen and clicks them with real
// synthetic input, in order, with its marker shown during the glide, and backs off while the
// user moves the mouse.
#include "tests/e2e/PlayTest.h"

#include "res/resource.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>
#include <iostream>

namespace {

// Far from the panel, which opens in the middle of the screen, so that the glide takes a few
// steps and the test can watch it.
const PlayTarget kLowerLeft{u"Lower left", 101, 40, 20, {60, 880}, {-7, 5}, {}};
const PlayTarget kUpperRight{u"Upper right", 202, 24, 24, {1100, 120}, {0, 0}, {}};

// The ring of the sight picture: red 255, green 242, blue 0, as B, G, R, 0.
constexpr uint32_t kSightYellow = 0x00FFF200;

size_t CountPixels(const PixelBuffer& screen, const RECT& rc, uint32_t nPixel) {
    size_t nCount = 0;
    for (int y = std::max(0L, rc.top); y < std::min<LONG>(screen.Height(), rc.bottom); ++y) {
        for (int x = std::max(0L, rc.left); x < std::min<LONG>(screen.Width(), rc.right); ++x) {
            nCount += (screen.At(x, y) & 0x00FFFFFFu) == nPixel ? 1 : 0;
        }
    }
    return nCount;
}

POINT CursorPos() {
    POINT pt{};
    GetCursorPos(&pt);
    return pt;
}

}  // namespace

class PlayClickTest : public CPlayTest {
protected:
    // The user's move to `where()`, made until the panel's guard shows the new place as its
    // reference. Under Wine a program that is behind may put an earlier pointer place back over
    // a move before Tarvik reads the pointer; a user's hand keeps moving, so the move is made
    // again. Returns when the taken move was made, 0 when the guard took none.
    template <class Where>
    uint64_t MoveUntilTaken(Where where) const {
        for (int nAttempt = 0; nAttempt < 3; ++nAttempt) {
            const POINT pt = where();
            if (!MovePointer(pt)) {
                return 0;
            }
            const uint64_t nMovedAt = GetTickCount64();
            const std::wstring reference =
                L"old: x=" + std::to_wstring(pt.x) + L" y=" + std::to_wstring(pt.y);
            if (WaitUntil([&] { return TextOf(GetDlgItem(m_hMain, IDC_DIAG_LABEL1)) == reference; },
                          1500, 1)) {
                return nMovedAt;
            }
        }
        return 0;
    }
};

TEST_F(PlayClickTest, ClicksOnceAtCentrePlusShiftOnEveryTickWithTheSightDuringTheGlide) {
    ASSERT_NO_FATAL_FAILURE(StartScene({kLowerLeft}));
    uint64_t nPlayedAt = 0;
    ASSERT_NO_FATAL_FAILURE(PressPlay(&nPlayedAt));

    const Point ptClick = ClickPointOf(kLowerLeft);
    const HWND hSight = WaitForSight();
    ASSERT_NE(hSight, nullptr) << "no sight window during the glide";
    const RECT rcSight = ScreenRectOf(hSight);
    EXPECT_EQ(rcSight.left, ptClick.x - 32);
    EXPECT_EQ(rcSight.top, ptClick.y - 32);
    // The marker is on the screen, not only a visible window: its yellow ring is in a grab.
    // (It paints a moment after it shows.)
    size_t nYellow = 0;
    WaitUntil(
        [&] {
            nYellow = CountPixels(CaptureScreen(), rcSight, kSightYellow);
            return nYellow > 100 || FindShownSight(m_pTarvik->Id(), m_hMain) == nullptr;
        },
        kReactionTimeoutMs, 1);
    EXPECT_GT(nYellow, 100u);
    SceneNow("glide");

    ASSERT_TRUE(WaitForClicks(1));
    const uint64_t nFirstClickAt = ButtonEvents().front().nTickMs;
    EXPECT_TRUE(AllClicksAt(ptClick));
    EXPECT_TRUE(WaitUntil([&] { return FindShownSight(m_pTarvik->Id(), m_hMain) == nullptr; }))
        << "the sight window stayed after the click";
    Scene("clicked");

    // The picture stays, so every tick clicks it again: one press and one release each time.
    ASSERT_TRUE(WaitForClicks(3));
    EXPECT_TRUE(AllClicksAt(ptClick));
    std::cout << "[ figures  ] Play pressed to first click: " << (nFirstClickAt - nPlayedAt)
              << " ms\n";

    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

TEST_F(PlayClickTest, OnlyTheLowerOrderNumberIsClickedUntilItIsHidden) {
    ASSERT_NO_FATAL_FAILURE(StartScene({kUpperRight, kLowerLeft}));
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(2));
    EXPECT_TRUE(AllClicksAt(ClickPointOf(kUpperRight)));

    ASSERT_TRUE(m_pBoard->Show(0, false));
    const size_t nBefore = ButtonEvents().size() / 2;
    // A click that was under way when the picture went may still land on its place.
    ASSERT_TRUE(WaitForClicks(nBefore + 3));
    EXPECT_TRUE(AllClicksAt(ClickPointOf(kLowerLeft), nBefore + 1));
    Scene("second-clicked");

    ASSERT_TRUE(m_pBoard->Show(0, true));
    const size_t nAfterShow = ButtonEvents().size() / 2;
    ASSERT_TRUE(WaitForClicks(nAfterShow + 3));
    EXPECT_TRUE(AllClicksAt(ClickPointOf(kUpperRight), nAfterShow + 1));
}

TEST_F(PlayClickTest, AMoveOf16PixelsAbortsTheGlideAndHoldsPlayOffForFourSeconds) {
    ASSERT_NO_FATAL_FAILURE(StartScene({kLowerLeft}));
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_NE(WaitForSight(), nullptr);
    // The user takes the mouse: 16 pixels (or more, if a glide step came between) from where
    // Tarvik last put the pointer.
    const uint64_t nMovedAt = MoveUntilTaken([] {
        const POINT pt = CursorPos();
        return POINT{pt.x, pt.y - 16};
    });
    ASSERT_NE(nMovedAt, 0u) << "the guard never took the user's move";
    EXPECT_TRUE(WaitUntil([&] { return FindShownSight(m_pTarvik->Id(), m_hMain) == nullptr; }))
        << "the sight window stayed after the abort";
    Scene("aborted");

    // A move the guard missed may have let a glide end in a click: only later ones count.
    const size_t nClicksBefore = ButtonEvents().size() / 2;
    ASSERT_TRUE(WaitForClicks(nClicksBefore + 1, 30000))
        << "play did not resume after the quiet time";
    const BoardEvent firstAfter = ButtonEvents()[2 * nClicksBefore];
    // No press came before the pause: the whole-second clock must move on by four first, which
    // takes more than three seconds.
    EXPECT_GE(firstAfter.nTickMs, nMovedAt + 3000)
        << "clicked " << (firstAfter.nTickMs - nMovedAt) << " ms after the user's move";
    EXPECT_TRUE(AllClicksAt(ClickPointOf(kLowerLeft)));
}

TEST_F(PlayClickTest, AMoveOf15PixelsIsNotTakenForTheUsers) {
    ASSERT_NO_FATAL_FAILURE(StartScene({kLowerLeft}));
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(1));
    const Point ptClick = ClickPointOf(kLowerLeft);

    // Between ticks the pointer rests on the click point, which is the guard's reference: a
    // 15-pixel move does not hold the next click off, a 16-pixel one does.
    const auto delayAfter = [&](uint64_t nMovedAt, size_t nClicksBefore) -> uint64_t {
        EXPECT_TRUE(WaitForClicks(nClicksBefore + 1, 30000));
        const std::vector<BoardEvent> events = ButtonEvents();
        return events.size() > 2 * nClicksBefore ? events[2 * nClicksBefore].nTickMs - nMovedAt : 0;
    };
    // 9, 12 is 15 pixels in a straight line; 16, 0 is 16.
    const size_t nClicksBefore = ButtonEvents().size() / 2;
    EXPECT_TRUE(MovePointer({ptClick.x + 9, ptClick.y + 12}));
    const uint64_t n15PixelDelay = delayAfter(GetTickCount64(), nClicksBefore);
    ASSERT_TRUE(WaitForClicks(ButtonEvents().size() / 2 + 1));
    const uint64_t nMovedAt = MoveUntilTaken([&] { return POINT{ptClick.x + 16, ptClick.y}; });
    ASSERT_NE(nMovedAt, 0u) << "the guard never took the 16-pixel move";
    // Counted once the move is taken: a move the guard missed may have let a tick click.
    const uint64_t n16PixelDelay = delayAfter(nMovedAt, ButtonEvents().size() / 2);
    std::cout << "[ figures  ] next click after a 15-pixel move: " << n15PixelDelay
              << " ms, after a 16-pixel move: " << n16PixelDelay << " ms\n";
    EXPECT_GE(n16PixelDelay, 3000u);
    EXPECT_LT(n15PixelDelay, n16PixelDelay);
    EXPECT_TRUE(AllClicksAt(ptClick));
}

TEST_F(PlayClickTest, APictureInsideTheActivePanelIsNotFound) {
    // A first start shows where the panel opens and what its title looks like; the target is a
    // piece of that title, so it is on the screen only inside the panel.
    // The board covers the lower left corner only, away from the panel.
    ASSERT_NO_FATAL_FAILURE(StartScene({kLowerLeft}, {0}, Rect{0, 780, 400, 1024}));
    const RECT rcPanel = ScreenRectOf(m_hMain);
    const PixelBuffer screen = CaptureScreen();
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    PlayTarget title{u"Title", 0, 40, 16, {rcPanel.left + 4, rcPanel.top + 5}, {0, 0}, {}};
    title.picture = PixelBuffer(title.nWidth, title.nHeight);
    for (int y = 0; y < title.nHeight; ++y) {
        for (int x = 0; x < title.nWidth; ++x) {
            title.picture->Row(y)[x] = screen.At(title.topLeft.x + x, title.topLeft.y + y);
        }
    }
    WritePlayList(std::vector<PlayTarget>{title}, DefaultListPath());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    ASSERT_EQ(RectText(ScreenRectOf(m_hMain)), RectText(rcPanel));

    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_EQ(GetForegroundWindow(), m_hMain);
    // Several ticks pass with the panel active: it is blacked out of every grab.
    EXPECT_EQ(WaitForSight(3000), nullptr) << "Tarvik found the picture in its own active panel";
    Scene("panel-active");

    // Another program's window becomes the active one: the panel is searched like the rest of
    // the screen, and Tarvik clicks its own title.
    ASSERT_TRUE(ClickAt({200, 1000}));
    const HWND hSight = WaitForSight();
    ASSERT_NE(hSight, nullptr) << "the title was not found with the board active";
    const Point ptClick = ClickPointOf(title);
    EXPECT_EQ(RectText(ScreenRectOf(hSight)),
              RectText({ptClick.x - 32, ptClick.y - 32, ptClick.x + 32, ptClick.y + 32}));
    SceneNow("title-found");
    EXPECT_TRUE(WaitUntil([&] { return FindShownSight(m_pTarvik->Id(), m_hMain) == nullptr; }));
    EXPECT_TRUE(WaitUntil([&] {
        const POINT pt = CursorPos();
        return pt.x == ptClick.x && pt.y == ptClick.y;
    })) << "the pointer did not end on the title";
    // The click went to the panel, which is the active window again; the board saw only ours.
    EXPECT_EQ(CountBoardEvents(m_pBoard->Events(), BoardEvent::Kind::Down), 1u);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == m_hMain; }));
}
