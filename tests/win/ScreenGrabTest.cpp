// The screen grab under Wine: a window of our own with known colours, read back exactly at its
// desktop place, with black-out rectangles, and with a grabber reused across grabs.
#include "engine/MonitorLayout.h"
#include "engine/ScreenGrab.h"
#include "engine/SightWnd.h"
#include "framework/HandleCounts.h"

#include "FrameworkTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// A topmost borderless window whose left and right halves are painted in two colours that can
// be changed between grabs.
class CProbeWindow {
public:
    CProbeWindow(RECT rc, COLORREF left, COLORREF right) : m_rc(rc), m_left(left), m_right(right) {
        static const ATOM s_atom = [] {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = WndProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TarvikGrabProbe";
            return ::RegisterClassW(&wc);
        }();
        m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                   MAKEINTATOM(s_atom), L"", WS_POPUP, rc.left, rc.top,
                                   rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), this);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        PumpPendingMessages();
    }
    ~CProbeWindow() {
        ::DestroyWindow(m_hWnd);
        PumpPendingMessages();
    }
    CProbeWindow(const CProbeWindow&) = delete;
    CProbeWindow& operator=(const CProbeWindow&) = delete;

    HWND Get() const { return m_hWnd; }

    void Repaint(COLORREF left, COLORREF right) {
        m_left = left;
        m_right = right;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        ::UpdateWindow(m_hWnd);
        PumpPendingMessages();
    }

    // The colour painted at screen column x (every row alike), as a pixel value B, G, R, 0.
    uint32_t ExpectedAt(int x) const {
        const COLORREF colour = x < (m_rc.left + m_rc.right) / 2 ? m_left : m_right;
        return MakeBgr0(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    }
    const RECT& Rect() const { return m_rc; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        if (uMsg == WM_NCCREATE) {
            const auto* pCreate = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
        }
        auto* pSelf = reinterpret_cast<CProbeWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_ERASEBKGND) {
            return 1;
        }
        if (uMsg == WM_PAINT && pSelf != nullptr) {
            PAINTSTRUCT ps;
            HDC hDC = ::BeginPaint(hWnd, &ps);
            const int nWidth = pSelf->m_rc.right - pSelf->m_rc.left;
            const int nHeight = pSelf->m_rc.bottom - pSelf->m_rc.top;
            // SetBkColor + ExtTextOut(ETO_OPAQUE) fills with an exact colour and needs no brush.
            const RECT rcLeft = {0, 0, nWidth / 2, nHeight};
            const RECT rcRight = {nWidth / 2, 0, nWidth, nHeight};
            ::SetBkColor(hDC, pSelf->m_left);
            ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rcLeft, L"", 0, nullptr);
            ::SetBkColor(hDC, pSelf->m_right);
            ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rcRight, L"", 0, nullptr);
            ::EndPaint(hWnd, &ps);
            return 0;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
    RECT m_rc;
    COLORREF m_left;
    COLORREF m_right;
};

class ScreenGrab : public ::testing::Test {
protected:
    void SetUp() override { m_nBaselineTotal = CHandleCounts::Total(); }
    void TearDown() override { EXPECT_EQ(CHandleCounts::Total(), m_nBaselineTotal); }

    static int ScreenW() { return ::GetSystemMetrics(SM_CXSCREEN); }
    static int ScreenH() { return ::GetSystemMetrics(SM_CYSCREEN); }

    // The desktop points of the window's rectangle, clipped to the picture, whose grabbed pixel
    // is not `expected(x, y)`, or not black where no monitor is, as "x,y" (at most 10).
    template <class TExpected>
    static std::vector<std::string> Mismatches(const DesktopImage& image, const RECT& rc,
                                               TExpected expected) {
        const DesktopLayout layout = ReadDesktopLayout();
        const auto onMonitor = [&](int x, int y) {
            return std::any_of(layout.monitors.begin(), layout.monitors.end(),
                               [&](const MonitorArea& monitor) {
                                   const Rect& rcMonitor = monitor.rcMonitor;
                                   return x >= rcMonitor.left && x < rcMonitor.right &&
                                          y >= rcMonitor.top && y < rcMonitor.bottom;
                               });
        };
        std::vector<std::string> mismatches;
        const Rect rcImage = DesktopRectOf(image);
        for (int y = std::max<int>(rc.top, rcImage.top);
             y < std::min<int>(rc.bottom, rcImage.bottom); ++y) {
            for (int x = std::max<int>(rc.left, rcImage.left);
                 x < std::min<int>(rc.right, rcImage.right); ++x) {
                const Point pt = DesktopToImage(Point{x, y}, image.origin);
                const uint32_t nExpected = onMonitor(x, y) ? expected(x, y) : 0u;
                if (image.pixels.At(pt.x, pt.y) != nExpected && mismatches.size() < 10) {
                    mismatches.push_back(std::to_string(x) + "," + std::to_string(y));
                }
            }
        }
        return mismatches;
    }

    // The grabbed pixel at desktop point (x, y).
    static uint32_t At(const DesktopImage& image, int x, int y) {
        const Point pt = DesktopToImage(Point{x, y}, image.origin);
        return image.pixels.At(pt.x, pt.y);
    }

    long m_nBaselineTotal = 0;
};

constexpr COLORREF kTeal = RGB(12, 200, 77);
constexpr COLORREF kPlum = RGB(250, 3, 129);
constexpr COLORREF kOchre = RGB(201, 140, 17);
constexpr COLORREF kSky = RGB(90, 180, 254);

TEST_F(ScreenGrab, ReadsOurWindowsColoursExactlyWithTheFourthByteZero) {
    CProbeWindow probe({200, 150, 240, 180}, kTeal, kPlum);
    CScreenGrabber grabber;
    DesktopImage image{PixelBuffer(3, 3), {}};
    PixelBuffer& screen = image.pixels;
    ASSERT_TRUE(grabber.Grab(image));
    // The whole virtual screen, its top-left at the picture's pixel (0, 0).
    EXPECT_EQ(image.origin, (Point{::GetSystemMetrics(SM_XVIRTUALSCREEN),
                                   ::GetSystemMetrics(SM_YVIRTUALSCREEN)}));
    ASSERT_EQ(screen.Width(), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    ASSERT_EQ(screen.Height(), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    // The monitors it read make up that virtual screen, the primary one at the desktop's origin.
    const DesktopLayout& layout = grabber.Layout();
    EXPECT_EQ(layout.monitors, ReadDesktopLayout().monitors);
    EXPECT_EQ(layout.VirtualRect(), DesktopRectOf(image));
    ASSERT_EQ(std::count_if(layout.monitors.begin(), layout.monitors.end(),
                            [](const MonitorArea& monitor) { return monitor.bPrimary; }),
              1);
    for (const MonitorArea& monitor : layout.monitors) {
        if (monitor.bPrimary) {
            EXPECT_EQ(monitor.rcMonitor, (Rect{0, 0, ScreenW(), ScreenH()}));
        }
    }
    EXPECT_EQ(Mismatches(image, probe.Rect(), [&](int x, int) { return probe.ExpectedAt(x); }),
              std::vector<std::string>{});
    // The halves meet where they were painted: desktop x 219 | 220.
    EXPECT_EQ(At(image, 219, 165), MakeBgr0(12, 200, 77));
    EXPECT_EQ(At(image, 220, 165), MakeBgr0(250, 3, 129));
    size_t nWithFourthByte = 0;
    for (int y = 0; y < screen.Height(); ++y) {
        for (int x = 0; x < screen.Width(); ++x) {
            nWithFourthByte += (screen.At(x, y) & 0xFF000000u) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(nWithFourthByte, 0u);
}

TEST_F(ScreenGrab, BlacksOutTheGivenRectanglesOnly) {
    CProbeWindow probe({300, 200, 340, 230}, kTeal, kPlum);
    CScreenGrabber grabber;
    DesktopImage image;
    const Rect blackout[] = {{310, 205, 330, 215}, {338, 228, 345, 240}};
    ASSERT_TRUE(grabber.Grab(image, blackout));
    const auto inBlackout = [&](int x, int y) {
        for (const Rect& rc : blackout) {
            if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom) {
                return true;
            }
        }
        return false;
    };
    EXPECT_EQ(Mismatches(image, probe.Rect(),
                         [&](int x, int y) { return inBlackout(x, y) ? 0u : probe.ExpectedAt(x); }),
              std::vector<std::string>{});
}

TEST_F(ScreenGrab, ClipsBlackOutRectanglesAtTheScreenEdges) {
    // Two windows hanging over opposite corners of the screen; the black-out rectangles reach
    // far beyond the screen.
    const int nW = ScreenW();
    const int nH = ScreenH();
    CProbeWindow topLeft({-20, -15, 20, 15}, kOchre, kSky);
    CProbeWindow bottomRight({nW - 20, nH - 15, nW + 20, nH + 15}, kSky, kOchre);
    const Rect blackout[] = {{-100, -100, 5, 4}, {nW - 10, nH - 5, nW + 100, nH + 100}};
    CScreenGrabber grabber;
    DesktopImage image;
    ASSERT_TRUE(grabber.Grab(image, blackout));
    EXPECT_EQ(Mismatches(image, topLeft.Rect(),
                         [&](int x, int y) { return x < 5 && y < 4 ? 0u : topLeft.ExpectedAt(x); }),
              std::vector<std::string>{});
    EXPECT_EQ(Mismatches(image, bottomRight.Rect(),
                         [&](int x, int y) {
                             return x >= nW - 10 && y >= nH - 5 ? 0u : bottomRight.ExpectedAt(x);
                         }),
              std::vector<std::string>{});
}

TEST_F(ScreenGrab, RepeatedGrabsReuseTheBuffersAndSeeEveryChange) {
    CProbeWindow probe({400, 300, 432, 316}, kTeal, kPlum);
    const long nBitmapsBefore = CHandleCounts::Live(HandleKind::Bitmap);
    {
        CScreenGrabber grabber;
        DesktopImage image;
        PixelBuffer& screen = image.pixels;
        ASSERT_TRUE(grabber.Grab(image));
        const uint32_t* pData = screen.Data();
        EXPECT_EQ(At(image, 405, 305), MakeBgr0(12, 200, 77));
        EXPECT_EQ(CHandleCounts::Live(HandleKind::Bitmap), nBitmapsBefore + 1);

        const std::pair<COLORREF, COLORREF> repaints[] = {{kOchre, kSky}, {kSky, kTeal}};
        for (const auto& [left, right] : repaints) {
            probe.Repaint(left, right);
            ASSERT_TRUE(grabber.Grab(image));
            EXPECT_EQ(
                Mismatches(image, probe.Rect(), [&](int x, int) { return probe.ExpectedAt(x); }),
                std::vector<std::string>{});
            // Same screen size: the caller's pixels and our one DIB section are reused.
            EXPECT_EQ(screen.Data(), pData);
            EXPECT_EQ(CHandleCounts::Live(HandleKind::Bitmap), nBitmapsBefore + 1);
        }

        // Black-out of one grab is not remembered by the next.
        const Rect blackout[] = {{400, 300, 432, 316}};
        ASSERT_TRUE(grabber.Grab(image, blackout));
        EXPECT_EQ(At(image, 420, 310), 0u);
        ASSERT_TRUE(grabber.Grab(image));
        EXPECT_EQ(At(image, 410, 310), MakeBgr0(90, 180, 254));
        EXPECT_EQ(At(image, 420, 310), MakeBgr0(12, 200, 77));
    }
    EXPECT_EQ(CHandleCounts::Live(HandleKind::Bitmap), nBitmapsBefore);
}

TEST_F(ScreenGrab, SeesTheShownSightMarker) {
    CSightWnd sight;
    ASSERT_TRUE(sight.Create(nullptr));
    sight.PlaceAndShow(500, 400);
    CScreenGrabber grabber;
    DesktopImage image;
    // Under Wine the window is mapped and its picture copied to the X server over two
    // connections, so the very next grab may still see what lay beneath: the picture must
    // show once this thread has handled its messages, as the play tick's next grab does.
    // The window's (0, 0) is at (468, 368); its picture's ring is yellow at (5, 32).
    uint32_t nRing = 0;
    for (int nTry = 0; nTry < 40 && nRing != MakeBgr0(255, 242, 0); ++nTry) {
        PumpPendingMessages();
        Sleep(nTry == 0 ? 0 : 25);
        ASSERT_TRUE(grabber.Grab(image));
        nRing = At(image, 468 + 5, 368 + 32);
    }
    EXPECT_EQ(nRing, MakeBgr0(255, 242, 0));
    sight.EndDialog(0);
    PumpPendingMessages();
}

}  // namespace
