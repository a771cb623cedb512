// The selection overlay in-process, on the Wine desktop with real SendInput from a second
// thread while the overlay's modal loop runs: the dimmed frozen screen, the bright rectangle of a
// drag, the release rules, cancelling, and Metro mode's keys.
#include "capture/DragRepaint.h"
#include "capture/FullScreenShoot.h"
#include "capture/Selection.h"
#include "engine/Dimming.h"
#include "engine/ScreenGrab.h"
#include "engine/SyntheticInput.h"

#include "FrameworkTestUtil.h"
#include "KeyRecorder.h"
#include "PictureWindow.h"
#include "tests/core/ModelTestUtil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr POINT kPictureAt{300, 200};
constexpr DWORD kWaitMs = 20000;

bool WaitFor(const std::function<bool()>& condition, DWORD nTimeoutMs = kWaitMs) {
    const ULONGLONG nDeadline = ::GetTickCount64() + nTimeoutMs;
    while (!condition()) {
        if (::GetTickCount64() > nDeadline) {
            return false;
        }
        ::Sleep(10);
    }
    return true;
}

PixelBuffer GrabScreenNow() {
    CScreenGrabber grabber;
    DesktopImage screen;
    grabber.Grab(screen);
    return std::move(screen.pixels);
}

// The shown overlay of the thread `nThreadId`: a visible window covering the virtual screen.
HWND FindOverlay(DWORD nThreadId) {
    std::pair<HWND, RECT> search{nullptr, VirtualScreenRect()};
    ::EnumThreadWindows(
        nThreadId,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<std::pair<HWND, RECT>*>(lParam);
            RECT rc{};
            ::GetWindowRect(hWnd, &rc);
            if (::IsWindowVisible(hWnd) && ::EqualRect(&rc, &pSearch->second)) {
                pSearch->first = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.first;
}

void SendMouseButton(DWORD dwFlags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    ::SendInput(1, &input, sizeof(input));
    ::Sleep(20);
}

void TapKey(WORD nKey) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nKey;
    ::SendInput(1, &input, sizeof(input));
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

class FullScreenShootTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_mouse.MoveTo({5, 5});
        m_pWindow = std::make_unique<CPictureWindow>(RandomPicture(80, 60, 7), kPictureAt);
        ::Sleep(100);
        PumpPendingMessages();
        m_before = GrabScreenNow();
        ASSERT_FALSE(m_before.IsEmpty());
        m_dimmed = m_before;
        DimPixels(m_dimmed);
    }

    // Runs `overlay` modally while `script` drives it from another thread, once the overlay is
    // on the screen; returns DoModal's result. Keys sent meanwhile are in m_keys.
    INT_PTR Run(CFullScreenShoot& overlay, std::function<void()> script) {
        // The windows below repaint what an earlier overlay covered only when this thread
        // pumps; the overlay must not freeze them half-painted.
        const ULONGLONG nDeadline = ::GetTickCount64() + kWaitMs;
        while (GrabScreenNow() != m_before && ::GetTickCount64() < nDeadline) {
            PumpPendingMessages();
            ::Sleep(10);
        }
        CKeyRecorder keys;
        std::atomic<bool> bShown = false;
        std::thread driver([&] {
            bShown = WaitFor([&] { return FindOverlay(m_nThreadId) != nullptr; });
            if (bShown) {
                script();
            } else {
                // Never leave the modal loop running.
                TapKey(VK_ESCAPE);
            }
        });
        const INT_PTR nResult = overlay.DoModal(nullptr);
        driver.join();
        keys.Stop();
        m_keys = keys.Keys();
        PumpPendingMessages();
        EXPECT_TRUE(bShown) << "the overlay never covered the screen";
        return nResult;
    }

    // Whether the screen shows `expected` within the wait (the overlay paints a moment later).
    bool ScreenShows(const PixelBuffer& expected) {
        return WaitFor([&] { return GrabScreenNow() == expected; });
    }

    void MoveTo(POINT pt) {
        m_mouse.MoveTo({pt.x, pt.y});
        WaitFor([&] {
            POINT now{};
            return ::GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        });
        ::Sleep(20);
    }

    const DWORD m_nThreadId = ::GetCurrentThreadId();
    CSyntheticMouse m_mouse;
    std::unique_ptr<CPictureWindow> m_pWindow;
    PixelBuffer m_before;
    PixelBuffer m_dimmed;
    // The keys sent while the last overlay ran.
    std::vector<KeyEvent> m_keys;
};

}  // namespace

TEST_F(FullScreenShootTest, DragFromLowerRightToUpperLeftShowsTheBrightRectAndCutsTheScreen) {
    const POINT ptPress{kPictureAt.x + 50, kPictureAt.y + 45};
    const POINT ptMiddle{kPictureAt.x + 30, kPictureAt.y + 30};
    const POINT ptRelease{kPictureAt.x + 10, kPictureAt.y + 5};
    bool bDimmedShown = false;
    bool bWideShown = false;
    bool bNarrowShown = false;
    CFullScreenShoot overlay;
    const INT_PTR nResult = Run(overlay, [&] {
        bDimmedShown = ScreenShows(m_dimmed);
        MoveTo(ptPress);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        // Out to the release point, then back: the shrinking rectangle leaves no bright trail.
        MoveTo(ptRelease);
        bWideShown = ScreenShows(
            ComposeDragFrame(m_dimmed, m_before, {ptRelease.x, ptRelease.y, ptPress.x, ptPress.y}));
        MoveTo(ptMiddle);
        bNarrowShown = ScreenShows(
            ComposeDragFrame(m_dimmed, m_before, {ptMiddle.x, ptMiddle.y, ptPress.x, ptPress.y}));
        MoveTo(ptRelease);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
    });
    EXPECT_TRUE(bDimmedShown) << "the overlay did not show the dimmed frozen screen";
    EXPECT_TRUE(bWideShown) << "the drag did not show its rectangle bright";
    EXPECT_TRUE(bNarrowShown) << "the shrunk drag left bright pixels or showed the wrong ones";
    ASSERT_EQ(nResult, IDOK);
    const Rect rcTarget{ptRelease.x, ptRelease.y, ptPress.x, ptPress.y};
    EXPECT_EQ(overlay.m_rcTarget, rcTarget);
    EXPECT_EQ(overlay.m_bmpTarget, CutPicture(m_before, rcTarget));
    const Point centre = CentreOf(rcTarget);
    const Rect rcArea{centre.x - 50, centre.y - 50, centre.x + 50, centre.y + 50};
    EXPECT_EQ(overlay.m_rcArea, rcArea);
    EXPECT_EQ(overlay.m_bmpArea, CutPicture(m_before, rcArea));
    EXPECT_TRUE(m_keys.empty()) << "keys sent outside Metro mode";
}

TEST_F(FullScreenShootTest, AClickSelectsTenByTenAndMetroModeSendsWindowsTabOnce) {
    const POINT ptClick{kPictureAt.x + 3, kPictureAt.y + 2};
    bool bStayedAfterLoneRelease = false;
    CFullScreenShoot overlay(true);
    bool bDimmedShown = false;
    const INT_PTR nResult = Run(overlay, [&] {
        bDimmedShown = ScreenShows(m_dimmed);
        // A release whose press the overlay never saw selects nothing.
        MoveTo({ptClick.x + 20, ptClick.y + 20});
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        ::Sleep(300);
        bStayedAfterLoneRelease = FindOverlay(m_nThreadId) != nullptr;
        MoveTo(ptClick);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_EQ(nResult, IDOK);
    EXPECT_TRUE(bDimmedShown);
    EXPECT_TRUE(bStayedAfterLoneRelease);
    const Rect rcTarget{ptClick.x - 5, ptClick.y - 5, ptClick.x + 5, ptClick.y + 5};
    EXPECT_EQ(overlay.m_rcTarget, rcTarget);
    EXPECT_EQ(overlay.m_bmpTarget, CutPicture(m_before, rcTarget));
    EXPECT_EQ(overlay.m_rcArea,
              (Rect{ptClick.x - 50, ptClick.y - 50, ptClick.x + 50, ptClick.y + 50}));
    const std::vector<KeyEvent> expected{
        {VK_LWIN, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_LWIN, false}};
    EXPECT_EQ(m_keys, expected);
}

TEST_F(FullScreenShootTest, RightButtonMidDragAndEscCancelWithoutPictures) {
    struct Case {
        const char* pszWhat;
        std::function<void()> cancel;
    };
    const Case cases[] = {
        {"right-button release mid-drag",
         [] {
             SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
             SendMouseButton(MOUSEEVENTF_RIGHTUP);
         }},
        {"Esc mid-drag", [] { TapKey(VK_ESCAPE); }},
    };
    for (const Case& c : cases) {
        CFullScreenShoot overlay;
        bool bDimmedShown = false;
        const INT_PTR nResult = Run(overlay, [&] {
            bDimmedShown = ScreenShows(m_dimmed);
            MoveTo({kPictureAt.x, kPictureAt.y});
            SendMouseButton(MOUSEEVENTF_LEFTDOWN);
            MoveTo({kPictureAt.x + 40, kPictureAt.y + 30});
            c.cancel();
            // Whatever the cancel left, the button goes up again; the overlay may be gone.
            SendMouseButton(MOUSEEVENTF_LEFTUP);
        });
        EXPECT_TRUE(bDimmedShown) << c.pszWhat;
        EXPECT_EQ(nResult, IDCANCEL) << c.pszWhat;
        EXPECT_TRUE(overlay.m_bmpTarget.IsEmpty()) << c.pszWhat;
        EXPECT_TRUE(overlay.m_bmpArea.IsEmpty()) << c.pszWhat;
    }
}
