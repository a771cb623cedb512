// Capture and Play across two monitors: the overlay freezes and dims both, a target is captured
// on the second monitor (left of and above the primary, at negative x and y) and another across
// both, Play clicks each, and a listed target there is clicked at its centre plus shift with the
// sight on the monitor of the click.
#include "tests/e2e/MultiMonitorTest.h"

#include "capture/Selection.h"
#include "engine/Dimming.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

// The board covers the second monitor and the primary's upper left, clear of the panel in the
// middle of the primary (Wine without a window manager raises a clicked window above all others).
constexpr Rect kBoardWindow{-1024, -300, 400, 467};
// On the second monitor, and across the edge between the two (x = 0).
const PlayTarget kOnSecond{u"Second", 606, 90, 60, {-800, -150}, {-7, 5}, {}};
const PlayTarget kAcross{u"Across", 707, 90, 60, {-45, 200}, {3, -4}, {}};

RECT ToRECT(const Rect& rc) {
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

// Whether `now` equals `expected` (a picture of the same desktop rectangle) on every monitor,
// outside the desktop rectangles `except`. Where no monitor is, nothing is shown to compare.
bool SameOnMonitors(const DesktopImage& now, const DesktopImage& expected,
                    const std::vector<RECT>& except) {
    if (DesktopRectOf(now) != DesktopRectOf(expected)) {
        return false;
    }
    for (const MonitorArea& monitor : CurrentLayout().monitors) {
        for (int32_t y = monitor.rcMonitor.top; y < monitor.rcMonitor.bottom; ++y) {
            for (int32_t x = monitor.rcMonitor.left; x < monitor.rcMonitor.right; ++x) {
                const POINT pt{x, y};
                if (std::any_of(except.begin(), except.end(),
                                [&](const RECT& rc) { return PtInRect(&rc, pt); })) {
                    continue;
                }
                const Point ptImage = DesktopToImage(Point{x, y}, now.origin);
                if (now.pixels.At(ptImage.x, ptImage.y) !=
                    expected.pixels.At(ptImage.x, ptImage.y)) {
                    return false;
                }
            }
        }
    }
    return true;
}

// The picture of desktop rectangle `rc` in `desktop`.
PixelBuffer CutDesktop(const DesktopImage& desktop, const Rect& rc) {
    return CutPicture(desktop.pixels, DesktopToImage(rc, desktop.origin));
}

}  // namespace

class MultiMonitorPlayTest : public CMultiMonitorTest {
protected:
    // The overlay: a visible window of Tarvik over the whole virtual screen; null if none.
    HWND FindOverlay() const {
        return CEndToEndTest::FindOverlay(ToRECT(CurrentLayout().VirtualRect()));
    }

    // Clicks Select target and waits until the overlay shows `frozen` dimmed on both monitors;
    // returns the milliseconds from the release to then, or a failure.
    ::testing::AssertionResult SelectTarget(const DesktopImage& frozen, double& dMs) {
        const std::vector<RECT> except = Excepted();
        DesktopImage dimmed = frozen;
        DimPixels(dimmed.pixels);
        if (!GlidePointer(CentreOf(ScreenRectOf(Control(kIdSelectTarget)))) || !TarvikResponds()) {
            return ::testing::AssertionFailure() << "could not reach Select target";
        }
        PressLeftButton();
        ReleaseLeftButton();
        const ULONGLONG nClickedAt = GetTickCount64();
        if (!WaitUntil([&] { return FindOverlay() != nullptr; })) {
            SceneNow("no-overlay");
            return ::testing::AssertionFailure() << "no overlay over both monitors";
        }
        if (!WaitUntil([&] { return SameOnMonitors(CaptureDesktop(), dimmed, except); },
                       kReactionTimeoutMs, 5)) {
            SceneNow("not-dimmed");
            return ::testing::AssertionFailure()
                   << "the overlay does not show both monitors dimmed";
        }
        dMs = static_cast<double>(GetTickCount64() - nClickedAt);
        return ::testing::AssertionSuccess();
    }

    // Drags from `ptPress` to `ptRelease` on the overlay and waits for the new tile and the
    // default file holding it; returns the new target, or null.
    std::unique_ptr<CTargetObjList> DragNewTarget(POINT ptPress, POINT ptRelease, size_t nCount) {
        EXPECT_TRUE(GlidePointer(ptPress, 8));
        {
            CLeftButtonHeld held;
            EXPECT_TRUE(GlidePointer(ptRelease, 8, [&](POINT) { TarvikResponds(); }));
        }
        EXPECT_TRUE(WaitUntil([&] { return FindOverlay() == nullptr && IsWindowVisible(m_hMain); }))
            << "the overlay stayed after the drag";
        EXPECT_TRUE(WaitForTileCount(nCount));
        std::unique_ptr<CTargetObjList> pList;
        WaitUntil([&] {
            pList = ReadTargetListFile(DefaultListPath());
            return pList != nullptr && pList->Count() == nCount;
        });
        return pList != nullptr && pList->Count() == nCount ? std::move(pList) : nullptr;
    }

    // What the comparisons with the frozen screen leave out: the panel, and Wine's own system
    // tray, which Wine keeps above every window and repaints as the activation changes.
    std::vector<RECT> Excepted() const {
        std::vector<RECT> except{ScreenRectOf(m_hMain)};
        if (const HWND hTray = FindWindowW(nullptr, L"Wine System Tray"); hTray != nullptr) {
            except.push_back(ScreenRectOf(hTray));
        }
        return except;
    }
};

TEST_F(MultiMonitorPlayTest, TargetsOnTheSecondMonitorAndAcrossBothAreCapturedAndClicked) {
    m_targets = {kOnSecond, kAcross};
    m_pBoard = std::make_unique<CBoardProcess>(BoardArgumentsFor(
        m_targets, ScratchFolder() / "board", ScratchFolder() / "board.log", {}, kBoardWindow));
    ASSERT_TRUE(m_pBoard->IsReady()) << "the board did not start";
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const DesktopImage before = CaptureDesktop();
    ASSERT_EQ(RectText(ToRECT(DesktopRectOf(before))), RectText({-1024, -300, 1280, 1024}));

    // One upward drag on the second monitor, one across the edge between the monitors.
    struct CCapture {
        const char* pszWhere;
        POINT ptPress;
        POINT ptRelease;
        Rect rcTarget;
    };
    const CCapture captures[] = {
        {"second", {-730, -103}, {-787, -141}, {-787, -141, -730, -103}},
        {"across", {-35, 205}, {30, 251}, {-35, 205, 30, 251}},
    };
    for (size_t i = 0; i < std::size(captures); ++i) {
        const CCapture& capture = captures[i];
        double dOverlayMs = 0;
        ASSERT_TRUE(SelectTarget(before, dOverlayMs)) << capture.pszWhere;
        Scene(std::string("overlay-") + capture.pszWhere);
        std::cout << "[ figures  ] Select target clicked to the dimmed overlay on two monitors: "
                  << dOverlayMs << " ms\n";
        const std::unique_ptr<CTargetObjList> pList =
            DragNewTarget(capture.ptPress, capture.ptRelease, i + 1);
        ASSERT_NE(pList, nullptr) << "the default file does not hold the " << capture.pszWhere
                                  << " target";
        const CTargetObj* pNew = pList->FindByOrder(static_cast<int32_t>(i));
        ASSERT_NE(pNew, nullptr);
        EXPECT_EQ(RectText(ToRECT(pNew->m_rcTarget)), RectText(ToRECT(capture.rcTarget)))
            << capture.pszWhere;
        ASSERT_NE(pNew->m_bmpTarget.Pixels(), nullptr);
        EXPECT_EQ(*pNew->m_bmpTarget.Pixels(), CutDesktop(before, capture.rcTarget))
            << capture.pszWhere;
    }
    Scene("captured");

    // Play clicks the first capture's centre; once its picture is gone, the second's.
    const auto centreOf = [](const Rect& rc) {
        return ClickPointOf(PlayTarget{
            u"", 0, rc.right - rc.left, rc.bottom - rc.top, {rc.left, rc.top}, {0, 0}, {}});
    };
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(2));
    EXPECT_TRUE(AllClicksAt(centreOf(captures[0].rcTarget)));
    ASSERT_TRUE(m_pBoard->Show(0, false));
    const size_t nBefore = ButtonEvents().size() / 2;
    // A click that was under way when the picture went may still land on its place.
    ASSERT_TRUE(WaitForClicks(nBefore + 3));
    EXPECT_TRUE(AllClicksAt(centreOf(captures[1].rcTarget), nBefore + 1));
    Scene("across-clicked");
}

TEST_F(MultiMonitorPlayTest, ListedTargetsAreClickedAtCentrePlusShiftWithTheSightOnTheirMonitor) {
    ASSERT_NO_FATAL_FAILURE(StartScene({kOnSecond, kAcross}, {}, kBoardWindow));
    ASSERT_NO_FATAL_FAILURE(PressPlay());
    // The first target while it shows; the second once the first is gone.
    for (size_t nTarget = 0; nTarget < m_targets.size(); ++nTarget) {
        if (nTarget > 0) {
            ASSERT_TRUE(m_pBoard->Show(nTarget - 1, false));
        }
        const Point ptClick = ClickPointOf(m_targets[nTarget]);
        const std::string strSight =
            RectText({ptClick.x - 32, ptClick.y - 32, ptClick.x + 32, ptClick.y + 32});
        EXPECT_TRUE(WaitUntil([&] {
            const HWND hSight = FindShownSight(m_pTarvik->Id(), m_hMain);
            return hSight != nullptr && RectText(ScreenRectOf(hSight)) == strSight;
        })) << "no sight at "
            << strSight;
        SceneNow("glide");
        // A click under way when the picture before went may still land on its place.
        const size_t nFirst = nTarget == 0 ? 0 : ButtonEvents().size() / 2 + 1;
        ASSERT_TRUE(WaitForClicks(nFirst + 2));
        EXPECT_TRUE(AllClicksAt(ptClick, nFirst)) << "target " << nTarget;
    }
}
