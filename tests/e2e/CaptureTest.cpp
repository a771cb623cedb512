// Capturing targets end to end: "Select target" with the pointer, the frozen and dimmed screen
// with the bright rectangle of a drag read back from the display, the new tile and the default
// file, Play clicking the new target, the click rule, cancelling with Esc and the right button,
// a capture while Play runs, a one-pixel-high target and a capture at the screen's corner.
#include "tests/e2e/PlayTest.h"

#include "capture/DragRepaint.h"
#include "capture/Selection.h"
#include "engine/Dimming.h"
#include "engine/TargetSearch.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

// In the list and on the board from the start.
const PlayTarget kListed{u"Listed", 303, 30, 20, {420, 900}, {0, 0}, {}};
// Shown by the board only: the picture the captures cut from.
const PlayTarget kBoardOnly{u"", 404, 90, 60, {150, 800}, {0, 0}, {}};
// The board's window: clear of the panel in the middle of the screen, since Wine without a window
// manager raises a clicked window above every other, the topmost panel too.
constexpr Rect kBoardWindow{100, 760, 560, 1000};

// Whether `screen` equals `expected` everywhere outside the rectangles `except`.
bool SameOutside(const PixelBuffer& screen, const PixelBuffer& expected,
                 const std::vector<RECT>& except) {
    if (screen.Width() != expected.Width() || screen.Height() != expected.Height()) {
        return false;
    }
    for (int32_t y = 0; y < screen.Height(); ++y) {
        for (int32_t x = 0; x < screen.Width(); ++x) {
            const POINT pt{x, y};
            const bool bExcepted = std::any_of(except.begin(), except.end(),
                                               [&](const RECT& rc) { return PtInRect(&rc, pt); });
            if (!bExcepted && screen.At(x, y) != expected.At(x, y)) {
                return false;
            }
        }
    }
    return true;
}

// What the comparisons with the frozen screen leave out besides the panel: Wine's own system
// tray window, which Wine keeps above every window when there is no window manager and repaints
// as the activation changes; and, while Play runs, the marker's place at the listed target.
std::vector<RECT> ExceptedRects(const RECT& rcPanel, bool bPlaying) {
    std::vector<RECT> except{rcPanel};
    if (const HWND hTray = FindWindowW(nullptr, L"Wine System Tray"); hTray != nullptr) {
        except.push_back(ScreenRectOf(hTray));
    }
    if (bPlaying) {
        const Point ptClick = ClickPointOf(kListed);
        except.push_back(RECT{ptClick.x - 40, ptClick.y - 40, ptClick.x + 40, ptClick.y + 40});
    }
    return except;
}

// The screen as the overlay shows it frozen.
PixelBuffer Dimmed(PixelBuffer screen) {
    DimPixels(screen);
    return screen;
}

PixelBuffer PixelsIn(const PixelBuffer& screen, const RECT& rc) {
    return CutPicture(screen, Rect{rc.left, rc.top, rc.right, rc.bottom});
}

}  // namespace

class CaptureTest : public CPlayTest {
protected:
    // Shows `targets` on the board, of which only those in `listed` are in the default list,
    // and starts Tarvik. Use with ASSERT_NO_FATAL_FAILURE.
    void StartCaptureScene(std::vector<PlayTarget> listed, std::vector<PlayTarget> boardOnly) {
        WritePlayList(listed, DefaultListPath());
        m_targets = listed;
        m_targets.insert(m_targets.end(), boardOnly.begin(), boardOnly.end());
        m_pBoard = std::make_unique<CBoardProcess>(BoardArgumentsFor(
            m_targets, ScratchFolder() / "board", ScratchFolder() / "board.log", {}, kBoardWindow));
        ASSERT_TRUE(m_pBoard->IsReady()) << "the board did not start";
        ASSERT_NO_FATAL_FAILURE(StartTarvik());
        ASSERT_TRUE(TarvikResponds());
    }

    // Hides the listed picture and returns the screen once it shows that. The board has
    // repainted when Show returns, but Wine puts a window's new pixels on the screen a moment
    // later; the picture's place is then plain background.
    PixelBuffer HideListedAndCaptureScreen() const {
        EXPECT_TRUE(m_pBoard->Show(0, false));
        const RECT rcListed{kListed.topLeft.x, kListed.topLeft.y,
                            kListed.topLeft.x + kListed.nWidth,
                            kListed.topLeft.y + kListed.nHeight};
        PixelBuffer screen;
        EXPECT_TRUE(WaitUntil([&] {
            screen = CaptureScreen();
            const PixelBuffer listed = PixelsIn(screen, rcListed);
            for (int32_t y = 0; y < listed.Height(); ++y) {
                for (int32_t x = 0; x < listed.Width(); ++x) {
                    if (listed.At(x, y) != listed.At(0, 0)) {
                        return false;
                    }
                }
            }
            return true;
        })) << "the hidden picture stayed on the screen";
        return screen;
    }

    // Clicks "Select target" and waits for the overlay; returns it, with the milliseconds from
    // the release of the button to the overlay showing `expectedOutside` in `pdMs`.
    HWND SelectTarget(const PixelBuffer& expectedOutside, const std::vector<RECT>& except,
                      double* pdMs = nullptr) {
        // The press follows once Tarvik has seen the pointer arrive: while Play runs, that move
        // holds the play loop off, so nothing else moves the pointer until the release.
        const POINT ptButton = CentreOf(ScreenRectOf(Control(kIdSelectTarget)));
        EXPECT_TRUE(GlidePointer(ptButton));
        EXPECT_TRUE(TarvikResponds());
        PressLeftButtonAt(ptButton);
        ReleaseLeftButtonAt(ptButton);
        const ULONGLONG nClickedAt = GetTickCount64();
        HWND hOverlay = nullptr;
        if (!WaitUntil([&] { return (hOverlay = FindOverlay()) != nullptr; })) {
            SceneNow("no-overlay");
            ADD_FAILURE() << "no overlay after Select target";
            return nullptr;
        }
        const bool bShown =
            WaitUntil([&] { return SameOutside(CaptureScreen(), expectedOutside, except); },
                      kReactionTimeoutMs, 5);
        EXPECT_TRUE(bShown) << "the overlay does not show the dimmed frozen screen";
        if (!bShown) {
            SceneNow("not-dimmed");
        }
        if (pdMs != nullptr) {
            *pdMs = static_cast<double>(GetTickCount64() - nClickedAt);
        }
        return hOverlay;
    }

    bool OverlayGoneAndPanelBack() const {
        return WaitUntil([&] { return FindOverlay() == nullptr && IsWindowVisible(m_hMain); }) &&
               TarvikResponds();
    }

    // The default list once it holds `nCount` targets; null when it did not within the wait.
    std::unique_ptr<CTargetObjList> WaitForDefaultList(size_t nCount) const {
        std::unique_ptr<CTargetObjList> pList;
        WaitUntil([&] {
            pList = ReadTargetListFile(DefaultListPath());
            return pList != nullptr && pList->Count() == nCount;
        });
        return pList != nullptr && pList->Count() == nCount ? std::move(pList) : nullptr;
    }

    bool PlayChecked() const {
        return SendMessageW(Control(kIdPlay), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
};

TEST_F(CaptureTest, ADragUpwardCutsTheBoardsPixelsAndPlayClicksTheNewTarget) {
    ASSERT_NO_FATAL_FAILURE(StartCaptureScene({kListed}, {kBoardOnly}));
    const PixelBuffer before = HideListedAndCaptureScreen();
    const RECT rcPanel = ScreenRectOf(m_hMain);
    const PixelBuffer dimmed = Dimmed(before);

    // Where the panel was, the overlay shows what lay below it: only the rest is known here.
    double dOverlayMs = 0;
    const std::vector<RECT> except = ExceptedRects(rcPanel, false);
    const HWND hOverlay = SelectTarget(dimmed, except, &dOverlayMs);
    ASSERT_NE(hOverlay, nullptr);
    EXPECT_NE(GetWindowLongW(hOverlay, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(IsWindowVisible(m_hMain)) << "the panel stayed on the screen";
    Scene("overlay");
    std::cout << "[ figures  ] Select target clicked to the dimmed overlay on the screen: "
              << dOverlayMs << " ms\n";

    // From the lower right to the upper left of a part of the board's picture.
    const POINT ptPress{kBoardOnly.topLeft.x + 70, kBoardOnly.topLeft.y + 47};
    const POINT ptRelease{kBoardOnly.topLeft.x + 13, kBoardOnly.topLeft.y + 9};
    const Rect rcTarget{ptRelease.x, ptRelease.y, ptPress.x, ptPress.y};
    ASSERT_TRUE(GlidePointer(ptPress));
    {
        CLeftButtonHeld held;
        ASSERT_TRUE(GlidePointer(ptRelease, 8, [&](POINT) { TarvikResponds(); }));
        EXPECT_TRUE(WaitUntil([&] {
            return SameOutside(CaptureScreen(), ComposeDragFrame(dimmed, before, rcTarget), except);
        })) << "during the drag the rectangle is not bright or the rest not dimmed";
        SceneNow("dragging");
    }
    ASSERT_TRUE(OverlayGoneAndPanelBack());
    ASSERT_TRUE(WaitForTileCount(2));
    Scene("captured");

    const std::unique_ptr<CTargetObjList> pList = WaitForDefaultList(2);
    ASSERT_NE(pList, nullptr) << "the default file does not hold the new target";
    const CTargetObj* pNew = pList->FindByOrder(1);
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(pNew->m_rcTarget, rcTarget);
    ASSERT_NE(pNew->m_bmpTarget.Pixels(), nullptr);
    EXPECT_EQ(*pNew->m_bmpTarget.Pixels(), CutPicture(before, rcTarget));
    const Point centre = CentreOf(rcTarget);
    ASSERT_NE(pNew->m_bmpArea.Pixels(), nullptr);
    EXPECT_EQ(*pNew->m_bmpArea.Pixels(),
              CutPicture(before, {centre.x - 50, centre.y - 50, centre.x + 50, centre.y + 50}));
    EXPECT_TRUE(pNew->m_strName.empty());
    EXPECT_EQ(pNew->m_ptClickShift, (Point{0, 0}));

    // The listed target is hidden, so Play finds the new one and clicks its centre.
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(1));
    const TargetHit hit = MakeTargetHit(*pNew, Point{rcTarget.left, rcTarget.top});
    EXPECT_TRUE(AllClicksAt(hit.click));
}

TEST_F(CaptureTest, EscCancelsAClickTakesTenByTenWhilePlayingAndTheRightButtonCancelsMidDrag) {
    ASSERT_NO_FATAL_FAILURE(StartCaptureScene({kListed}, {kBoardOnly}));
    const RECT rcPlay = ScreenRectOf(Control(kIdPlay));
    const PixelBuffer playUnchecked = PixelsIn(CaptureScreen(), rcPlay);
    // Tarvik has read its default file; the cancelled capture must write it again.
    std::filesystem::remove(DefaultListPath());

    const RECT rcPanel = ScreenRectOf(m_hMain);
    PixelBuffer before = CaptureScreen();
    PixelBuffer dimmed = Dimmed(before);
    ASSERT_NE(SelectTarget(dimmed, ExceptedRects(rcPanel, false)), nullptr);
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(OverlayGoneAndPanelBack()) << "Esc did not end the overlay";
    EXPECT_EQ(Tiles().size(), 1u);
    std::unique_ptr<CTargetObjList> pList = WaitForDefaultList(1);
    EXPECT_NE(pList, nullptr) << "the default file was not written after a cancel";
    Scene("esc-cancelled");

    // Play runs and clicks the listed target; a capture stops it.
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(1));
    ASSERT_TRUE(WaitUntil([&] { return FindShownSight(m_pTarvik->Id(), m_hMain) == nullptr; }));
    before = CaptureScreen();
    dimmed = Dimmed(before);
    ASSERT_TRUE(PlayChecked());
    ASSERT_NE(SelectTarget(dimmed, ExceptedRects(rcPanel, true)), nullptr);
    EXPECT_FALSE(PlayChecked()) << "Play still runs under the overlay";
    const POINT ptClick{kBoardOnly.topLeft.x + 30, kBoardOnly.topLeft.y + 20};
    ASSERT_TRUE(ClickAt(ptClick));
    ASSERT_TRUE(OverlayGoneAndPanelBack());
    ASSERT_TRUE(WaitForTileCount(2));
    pList = WaitForDefaultList(2);
    ASSERT_NE(pList, nullptr);
    const CTargetObj* pNew = pList->FindByOrder(1);
    ASSERT_NE(pNew, nullptr);
    const Rect rcClick{ptClick.x - 5, ptClick.y - 5, ptClick.x + 5, ptClick.y + 5};
    EXPECT_EQ(pNew->m_rcTarget, rcClick);
    ASSERT_NE(pNew->m_bmpTarget.Pixels(), nullptr);
    EXPECT_EQ(*pNew->m_bmpTarget.Pixels(), CutPicture(before, rcClick));
    const Point ptNewClick = MakeTargetHit(*pNew, Point{rcClick.left, rcClick.top}).click;
    EXPECT_FALSE(PlayChecked());
    EXPECT_TRUE(WaitUntil([&] { return PixelsIn(CaptureScreen(), rcPlay) == playUnchecked; }))
        << "Play does not show its unchecked icon after the capture";
    Scene("click-captured");

    // The right button ends a drag under way: nothing is added, Play stays off.
    ASSERT_NE(SelectTarget(dimmed, ExceptedRects(rcPanel, true)), nullptr);
    ASSERT_TRUE(GlidePointer({kBoardOnly.topLeft.x + 5, kBoardOnly.topLeft.y + 5}));
    {
        CLeftButtonHeld held;
        ASSERT_TRUE(GlidePointer({kBoardOnly.topLeft.x + 60, kBoardOnly.topLeft.y + 40}, 8,
                                 [&](POINT) { TarvikResponds(); }));
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        SendInput(1, &input, sizeof(input));
        input.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(1, &input, sizeof(input));
        EXPECT_TRUE(WaitUntil([&] { return FindOverlay() == nullptr; }))
            << "the right button did not cancel the drag";
    }
    ASSERT_TRUE(OverlayGoneAndPanelBack());
    EXPECT_EQ(Tiles().size(), 2u);
    EXPECT_FALSE(PlayChecked());
    EXPECT_TRUE(WaitUntil([&] { return PixelsIn(CaptureScreen(), rcPlay) == playUnchecked; }));
    pList = WaitForDefaultList(2);
    EXPECT_NE(pList, nullptr);
    Scene("right-button-cancelled");

    // Play pressed again, the listed target hidden: the target captured while playing is clicked.
    // (The board saw the release of the cancelled drag, without its press.)
    ASSERT_TRUE(m_pBoard->Show(0, false));
    const size_t nEventsBefore = ButtonEvents().size();
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    std::vector<BoardEvent> events;
    ASSERT_TRUE(WaitUntil([&] { return (events = ButtonEvents()).size() >= nEventsBefore + 2; }));
    for (const size_t i : {nEventsBefore, nEventsBefore + 1}) {
        EXPECT_EQ(events[i].kind,
                  i == nEventsBefore ? BoardEvent::Kind::Down : BoardEvent::Kind::Up);
        EXPECT_EQ((Point{events[i].x, events[i].y}), ptNewClick) << FormatBoardEvent(events[i]);
    }
}

// A drag along one row gives a target one pixel high, which Play finds and clicks; a click in
// the screen's lower right corner gives a target whose pictures are black beyond the screen.
TEST_F(CaptureTest, AFlatDragMakesAOnePixelTargetAndACornerClickIsCutAtTheScreenEdge) {
    ASSERT_NO_FATAL_FAILURE(StartCaptureScene({kListed}, {kBoardOnly}));
    const PixelBuffer before = HideListedAndCaptureScreen();
    const RECT rcPanel = ScreenRectOf(m_hMain);
    const PixelBuffer dimmed = Dimmed(before);
    const std::vector<RECT> except = ExceptedRects(rcPanel, false);

    ASSERT_NE(SelectTarget(dimmed, except), nullptr);
    const POINT ptPress{kBoardOnly.topLeft.x + 20, kBoardOnly.topLeft.y + 31};
    const POINT ptRelease{kBoardOnly.topLeft.x + 61, ptPress.y};
    ASSERT_TRUE(GlidePointer(ptPress));
    {
        CLeftButtonHeld held;
        ASSERT_TRUE(GlidePointer(ptRelease));
    }
    ASSERT_TRUE(OverlayGoneAndPanelBack());
    ASSERT_TRUE(WaitForTileCount(2));

    const int nRight = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int nBottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    ASSERT_NE(SelectTarget(dimmed, except), nullptr);
    ASSERT_TRUE(ClickAt({nRight, nBottom}));
    ASSERT_TRUE(OverlayGoneAndPanelBack());
    ASSERT_TRUE(WaitForTileCount(3));
    Scene("captured");

    const std::unique_ptr<CTargetObjList> pList = WaitForDefaultList(3);
    ASSERT_NE(pList, nullptr);
    const CTargetObj* pFlat = pList->FindByOrder(1);
    const CTargetObj* pCorner = pList->FindByOrder(2);
    ASSERT_TRUE(pFlat != nullptr && pCorner != nullptr);
    const Rect rcFlat{ptPress.x, ptPress.y, ptRelease.x, ptPress.y + 1};
    EXPECT_EQ(pFlat->m_rcTarget, rcFlat);
    ASSERT_NE(pFlat->m_bmpTarget.Pixels(), nullptr);
    EXPECT_EQ(*pFlat->m_bmpTarget.Pixels(), CutPicture(before, rcFlat));
    const Rect rcCorner{nRight - 5, nBottom - 5, nRight + 5, nBottom + 5};
    EXPECT_EQ(pCorner->m_rcTarget, rcCorner);
    ASSERT_TRUE(pCorner->m_bmpTarget.Pixels() != nullptr && pCorner->m_bmpArea.Pixels() != nullptr);
    const PixelBuffer& corner = *pCorner->m_bmpTarget.Pixels();
    EXPECT_EQ(corner, CutPicture(before, rcCorner));
    EXPECT_EQ(corner.At(9, 9), 0u) << "beyond the screen the picture is not black";
    EXPECT_EQ(pCorner->m_bmpArea.Pixels()->At(99, 99), 0u);

    // The listed target is hidden: Play finds the one-pixel row and clicks its centre.
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(1));
    EXPECT_TRUE(AllClicksAt(MakeTargetHit(*pFlat, Point{rcFlat.left, rcFlat.top}).click));
}
