// The two-monitor display as the scenes need it (Wine sees both monitors where the layout puts
// them, the board shows its pictures on the second one, the test's pointer reaches every corner of
// it, a screenshot holds the whole virtual screen) and the panel on it: left on the second
// monitor, it is there after a restart, and comes back onto the primary when that monitor goes
// while Play goes on clicking.
#include "tests/e2e/MultiMonitorTest.h"

#include "capture/Selection.h"
#include "tests/e2e/KernelHandle.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/Waiting.h"

#include <algorithm>
#include <vector>

namespace {

Rect ToRect(const RECT& rc) {
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(hMonitor, &info)) {
        reinterpret_cast<DesktopLayout*>(lParam)->monitors.push_back(
            {ToRect(info.rcMonitor), ToRect(info.rcWork),
             (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

std::string RectText(const Rect& rc) {
    return RectText(RECT{rc.left, rc.top, rc.right, rc.bottom});
}

}  // namespace

DesktopLayout CurrentLayout() {
    DesktopLayout layout;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
    return layout;
}

void CMultiMonitorTest::SetUp() {
    if (CurrentLayout().monitors.size() != 2) {
        ASSERT_NO_FATAL_FAILURE(SetLayout(L"two", 2));
    }
    CPlayTest::SetUp();
}

void CMultiMonitorTest::TearDown() {
    m_pBoard.reset();
    CPlayTest::TearDown();
    if (CurrentLayout().monitors.size() != 2) {
        SetLayout(L"two", 2);
    }
}

void CMultiMonitorTest::SetLayout(const std::wstring& strLayout, size_t nMonitors) {
    wchar_t szScript[MAX_PATH]{};
    const DWORD nLength = GetEnvironmentVariableW(L"TARVIK_DISPLAY_LAYOUT", szScript, MAX_PATH);
    ASSERT_TRUE(nLength > 0 && nLength < MAX_PATH)
        << "TARVIK_DISPLAY_LAYOUT is not set: run the scene in the two-monitor session "
           "(ctest -R tarvik_e2e_multimonitor, or TARVIK_WINE_SESSION=two-monitors)";
    // Wine starts a Unix program as it is; its process handle does not tell when it has ended,
    // so the wait is for the system to report the new layout.
    std::wstring strCommand = L"\"" + std::wstring(szScript) + L"\" " + strLayout;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << "cannot run the layout script, error " << GetLastError();
    const CKernelHandle hProcess(process.hProcess);
    const CKernelHandle hThread(process.hThread);
    ASSERT_TRUE(WaitUntil([&] { return CurrentLayout().monitors.size() == nMonitors; }))
        << "the system still reports " << CurrentLayout().monitors.size() << " monitors";
    // Windows tells every top-level window of a new layout; Wine 8 reports the new monitors
    // here but sends nothing, so the test stands in for the system.
    const Rect rcPrimary = kPrimaryMonitor;
    DWORD_PTR nIgnored = 0;
    SendMessageTimeoutW(
        HWND_BROADCAST, WM_DISPLAYCHANGE, 32,
        MAKELPARAM(rcPrimary.right - rcPrimary.left, rcPrimary.bottom - rcPrimary.top),
        SMTO_ABORTIFHUNG, kReactionTimeoutMs, &nIgnored);
}

using MultiMonitorTest = CMultiMonitorTest;

TEST_F(MultiMonitorTest, TheSecondMonitorIsLeftOfAndAboveThePrimaryAndEveryCornerIsReached) {
    const DesktopLayout layout = CurrentLayout();
    ASSERT_EQ(layout.monitors.size(), 2u);
    for (const auto& [rcMonitor, bPrimary] :
         {std::pair{kPrimaryMonitor, true}, std::pair{kSecondMonitor, false}}) {
        const bool bListed =
            std::any_of(layout.monitors.begin(), layout.monitors.end(), [&](const MonitorArea& m) {
                return m.rcMonitor == rcMonitor && m.rcWork == rcMonitor && m.bPrimary == bPrimary;
            });
        EXPECT_TRUE(bListed) << "no monitor " << RectText(rcMonitor);
    }
    EXPECT_EQ(RectText(layout.VirtualRect()), RectText(Rect{-1024, -300, 1280, 1024}));

    // The board covers the second monitor (but its last row, which would make it a full-screen
    // window to Wine) and shows a picture there.
    const PlayTarget picture{u"", 505, 40, 30, {-700, -120}, {0, 0}, {}};
    const Rect rcBoard{kSecondMonitor.left, kSecondMonitor.top, kSecondMonitor.right,
                       kSecondMonitor.bottom - 1};
    m_pBoard = std::make_unique<CBoardProcess>(
        BoardArgumentsFor(std::vector<PlayTarget>{picture}, ScratchFolder() / "board",
                          ScratchFolder() / "board.log", {}, rcBoard));
    ASSERT_TRUE(m_pBoard->IsReady()) << "the board did not start";
    EXPECT_EQ(RectText(ScreenRectOf(m_pBoard->Window())), RectText(rcBoard));

    // A grab of the virtual screen holds the picture at its desktop place.
    const DesktopImage desktop = CaptureDesktop();
    EXPECT_EQ(RectText(DesktopRectOf(desktop)), RectText(layout.VirtualRect()));
    const Rect rcPicture{picture.topLeft.x, picture.topLeft.y, picture.topLeft.x + picture.nWidth,
                         picture.topLeft.y + picture.nHeight};
    EXPECT_EQ(CutPicture(desktop.pixels, DesktopToImage(rcPicture, desktop.origin)),
              PictureOf(picture));

    // The pointer reaches the corners of the second monitor, and the board sees a click at each.
    const std::vector<POINT> points{
        {-1024, -300}, {-1, -300}, {-1024, 466}, {-1, 466}, {-681, -106}};
    for (const POINT& pt : points) {
        ASSERT_TRUE(MovePointer(pt)) << "the pointer did not reach " << pt.x << ", " << pt.y;
        PressLeftButton();
        ReleaseLeftButton();
    }
    ASSERT_TRUE(WaitForClicks(points.size()));
    const std::vector<BoardEvent> events = ButtonEvents();
    for (size_t i = 0; i < points.size(); ++i) {
        for (const size_t nEvent : {2 * i, 2 * i + 1}) {
            EXPECT_EQ(events[nEvent].x, points[i].x) << "event " << nEvent;
            EXPECT_EQ(events[nEvent].y, points[i].y) << "event " << nEvent;
        }
    }
    Scene("two-monitors");
}

TEST_F(MultiMonitorTest, ThePanelStaysOnTheSecondMonitorAndComesBackWhenTheMonitorIsSwitchedOff) {
    // The board covers the primary's lower left only, clear of the panel.
    const PlayTarget target{u"Primary", 808, 30, 20, {200, 900}, {4, -3}, {}};
    ASSERT_NO_FATAL_FAILURE(StartScene({target}, {}, Rect{0, 760, 560, 1023}));
    const RECT rcStart = ScreenRectOf(m_hMain);
    // Up and to the left, until the panel lies inside the second monitor near its upper left.
    const POINT ptWanted{-700, -250};
    ASSERT_NO_FATAL_FAILURE(DragPanelBy(ptWanted.x - rcStart.left, ptWanted.y - rcStart.top));
    const RECT rcMoved = ScreenRectOf(m_hMain);
    Scene("moved");
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    EXPECT_EQ(ReadSetting(kMainLeft), ptWanted.x);
    EXPECT_EQ(ReadSetting(kMainTop), ptWanted.y);

    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)), RectText(rcMoved))
        << "the panel left on the second monitor moved at start-up";
    Scene("restarted");

    ASSERT_NO_FATAL_FAILURE(PressPlay());
    ASSERT_TRUE(WaitForClicks(1));
    EXPECT_TRUE(AllClicksAt(ClickPointOf(target)));
    // How the panel's Select target button looks, to find it on the screen again.
    const auto selectButton = [&] {
        const RECT rc = ScreenRectOf(Control(kIdSelectTarget));
        const DesktopImage desktop = CaptureDesktop();
        return CutPicture(desktop.pixels, DesktopToImage(Rect{rc.left, rc.top, rc.right, rc.bottom},
                                                         desktop.origin));
    };
    const PixelBuffer button = selectButton();
    ASSERT_NO_FATAL_FAILURE(SetLayout(L"primary", 1));
    // Wine leaves every window where it was on the X screen, which moved under them with the
    // layout: only a window placed anew is where the system says it is. A new board stands in
    // for the old one, which is now off the screen.
    m_pBoard = std::make_unique<CBoardProcess>(
        BoardArgumentsFor(m_targets, ScratchFolder() / "board-2", ScratchFolder() / "board-2.log",
                          {}, Rect{0, 760, 560, 1023}));
    ASSERT_TRUE(m_pBoard->IsReady()) << "the board did not start again";
    RECT rcBack{};
    EXPECT_TRUE(WaitUntil([&] {
        rcBack = ScreenRectOf(m_hMain);
        RECT rcInside{};
        const RECT rcPrimary{0, 0, 1280, 1024};
        return IntersectRect(&rcInside, &rcBack, &rcPrimary) && EqualRect(&rcInside, &rcBack);
    })) << "the panel stayed at "
        << RectText(rcBack) << " with its monitor off";
    EXPECT_TRUE(IsWindowVisible(m_hMain));
    // The panel is on the screen where the system says it is, not only listed there.
    EXPECT_TRUE(WaitUntil([&] { return selectButton() == button; }))
        << "the panel does not show at " << RectText(rcBack);
    // Play goes on: more clicks on the target, none elsewhere.
    ASSERT_TRUE(WaitForClicks(2));
    EXPECT_TRUE(AllClicksAt(ClickPointOf(target)));
    Scene("second-monitor-off");
}
