// The play loop in-process: the Play button, the click at the found place with the marker during
// the glide, the order of targets, the user taking the mouse back, and the screen grab's
// black-out rules, with real SendInput on the Wine desktop.
#include "KeyRecorder.h"
#include "SnipDlgTestUtil.h"

#include "PictureWindow.h"
#include "app/StartupSettings.h"
#include "engine/MonitorLayout.h"
#include "engine/SightWnd.h"
#include "engine/TargetSearch.h"

#include <ctime>
#include <functional>
#include <optional>

namespace {

constexpr POINT kFirstPicture{200, 300};
constexpr POINT kSecondPicture{900, 760};

POINT CursorPos() {
    POINT pt{};
    ::GetCursorPos(&pt);
    return pt;
}

// Pumps the thread's messages, timers included, until `done` holds or `nTimeoutMs` passed.
bool PumpUntil(const std::function<bool()>& done, DWORD nTimeoutMs) {
    const ULONGLONG nDeadline = ::GetTickCount64() + nTimeoutMs;
    while (!done()) {
        if (::GetTickCount64() > nDeadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpPendingMessages();
    }
    return true;
}

void PumpFor(DWORD nMs) {
    PumpUntil([] { return false; }, nMs);
}

class SnipDlgPlayTest : public SnipDlgTest {
protected:
    void SetUp() override {
        SnipDlgTest::SetUp();
        m_pList = MakeList(2);
        SaveTargetListFile(*m_pList, DefaultFile());
        ::SetCursorPos(20, 900);
    }

    void TearDown() override {
        if (m_pPanel) {
            ::SendMessageW(m_pPanel->GetDlgItem(IDC_PLAY), BM_SETCHECK, BST_UNCHECKED, 0);
        }
        SnipDlgTest::TearDown();
    }

    const CTargetObj& Target(int nOrder) const {
        for (const auto& pTarget : *m_pList) {
            if (pTarget->m_nOrder == nOrder) {
                return *pTarget;
            }
        }
        throw std::logic_error("no such order");
    }

    std::unique_ptr<CPictureWindow> ShowTarget(int nOrder, POINT pt) {
        return std::make_unique<CPictureWindow>(*Target(nOrder).m_bmpTarget.Pixels(), pt);
    }

    // Where a play step clicks target `nOrder` shown at `ptPicture`.
    POINT ClickPointOf(int nOrder, POINT ptPicture) const {
        const TargetHit hit = MakeTargetHit(Target(nOrder), Point{ptPicture.x, ptPicture.y});
        return POINT{hit.click.x, hit.click.y};
    }

    // Presses Play as the button's click does: the check toggles, then the command arrives.
    void PressPlay() {
        const HWND hPlay = m_pPanel->GetDlgItem(IDC_PLAY);
        ::SendMessageW(hPlay, BM_SETCHECK, BST_CHECKED, 0);
        m_pPanel->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY, BN_CLICKED),
                              reinterpret_cast<LPARAM>(hPlay));
    }

    bool SightVisible() const { return ::IsWindowVisible(m_pPanel->SightWnd()->GetSafeHwnd()); }

    // Pumps until `window` has seen a press and a release, noting whether the sight was ever
    // shown centred on `ptSight` meanwhile.
    bool WaitForClick(const CPictureWindow& window, std::optional<POINT> ptSight = {}) {
        return PumpUntil(
            [&] {
                if (ptSight && SightVisible()) {
                    const RECT rc = m_pPanel->SightWnd()->GetWindowRect();
                    m_bSightSeenAtPoint |= rc.left == ptSight->x - 32 && rc.top == ptSight->y - 32;
                }
                return window.Events().size() >= 2;
            },
            10000);
    }

    std::unique_ptr<CTargetObjList> m_pList;
    bool m_bSightSeenAtPoint = false;
};

::testing::AssertionResult IsClickAt(const std::vector<ButtonEvent>& events, POINT pt) {
    if (events.size() != 2) {
        return ::testing::AssertionFailure() << events.size() << " button events";
    }
    for (size_t i = 0; i < 2; ++i) {
        if (events[i].bDown != (i == 0) || events[i].pt.x != pt.x || events[i].pt.y != pt.y) {
            return ::testing::AssertionFailure()
                   << (events[i].bDown ? "press" : "release") << " at (" << events[i].pt.x << ", "
                   << events[i].pt.y << "), expected (" << pt.x << ", " << pt.y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(SnipDlgPlayTest, PlayParksThePointerAndStartsWithAQuietReference) {
    CSnipDlg& panel = OpenPanel();
    const RECT rcPanel = panel.GetWindowRect();
    const int64_t nBefore = std::time(nullptr);
    PressPlay();
    const POINT pt = CursorPos();
    EXPECT_EQ(pt.x, rcPanel.left + 10);
    EXPECT_EQ(pt.y, rcPanel.top + 10);
    EXPECT_EQ(panel.ActivityGuard().Reference(), (Point{pt.x, pt.y}));
    EXPECT_LE(panel.ActivityGuard().ReferenceTime(), nBefore - 14);

    // In the tray mode there is no window to park on: the top-left corner of the screen.
    ::SendMessageW(panel.GetDlgItem(IDC_PLAY), BM_SETCHECK, BST_UNCHECKED, 0);
    panel.SetViewMode(CSnipDlg::kViewTray);
    PressPlay();
    EXPECT_EQ(CursorPos().x, 10);
    EXPECT_EQ(CursorPos().y, 10);
}

TEST_F(SnipDlgPlayTest, ClicksOnceAtCentrePlusShiftWithTheSightShownDuringTheGlide) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    const POINT ptClick = ClickPointOf(0, kFirstPicture);
    PressPlay();
    ASSERT_TRUE(WaitForClick(*pWindow, ptClick));
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ptClick));
    EXPECT_TRUE(m_bSightSeenAtPoint);
    EXPECT_FALSE(SightVisible());
    EXPECT_TRUE(panel.ClickSequence().IsIdle());
    EXPECT_EQ(CursorPos().x, ptClick.x);
    EXPECT_EQ(CursorPos().y, ptClick.y);

    // The picture stays: the next tick clicks it again, once.
    ASSERT_TRUE(PumpUntil([&] { return pWindow->Events().size() >= 4; }, 10000));
    EXPECT_TRUE(IsClickAt({pWindow->Events()[2], pWindow->Events()[3]}, ptClick));
}

TEST_F(SnipDlgPlayTest, TheLowerOrderNumberWinsAndAHiddenOneGivesWayToTheNext) {
    const auto pSecond = ShowTarget(1, kSecondPicture);
    const auto pFirst = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(WaitForClick(*pFirst));
    EXPECT_TRUE(IsClickAt(pFirst->Events(), ClickPointOf(0, kFirstPicture)));
    EXPECT_TRUE(pSecond->Events().empty());

    // Hidden between two clicks: on a slow machine the next tick may have found the first
    // again before this thread saw the click, and that click goes on. Nothing runs between the
    // check and the hide, as both are on this thread.
    ASSERT_TRUE(PumpUntil([&] { return panel.ClickSequence().IsIdle(); }, 10000));
    const size_t nFirstEvents = pFirst->Events().size();
    pFirst->ShowPicture(false);
    ASSERT_TRUE(WaitForClick(*pSecond));
    EXPECT_TRUE(IsClickAt(pSecond->Events(), ClickPointOf(1, kSecondPicture)));
    EXPECT_EQ(pFirst->Events().size(), nFirstEvents) << "the hidden first target was clicked";
}

TEST_F(SnipDlgPlayTest, AMoveOf16PixelsDuringTheGlideAbortsAndHoldsOffFourSeconds) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(
        PumpUntil([&] { return panel.ClickSequence().State() == ClickState::Gliding; }, 10000));
    const POINT pt = CursorPos();
    ::SetCursorPos(pt.x, pt.y + 16);
    const int64_t nMovedAt = std::time(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return panel.ClickSequence().IsIdle(); }, 2000));
    EXPECT_FALSE(SightVisible());
    EXPECT_TRUE(pWindow->Events().empty());
    EXPECT_EQ(panel.ActivityGuard().Reference(), (Point{pt.x, pt.y + 16}));

    // The next click comes by itself once the whole-second clock has moved on by four.
    ASSERT_TRUE(WaitForClick(*pWindow));
    EXPECT_GE(std::time(nullptr) - nMovedAt, 4);
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
}

TEST_F(SnipDlgPlayTest, AMoveOf15PixelsDuringTheGlideIsNotTheUsers) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(
        PumpUntil([&] { return panel.ClickSequence().State() == ClickState::Gliding; }, 10000));
    const int64_t nReferenceTime = panel.ActivityGuard().ReferenceTime();
    const POINT pt = CursorPos();
    ::SetCursorPos(pt.x + 9, pt.y + 12);  // 15 pixels in a straight line
    ASSERT_TRUE(WaitForClick(*pWindow));
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
    EXPECT_EQ(panel.ActivityGuard().ReferenceTime(), nReferenceTime);
}

TEST_F(SnipDlgPlayTest, UncheckedPlayTicksOnWithoutSearching) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    ::SetCursorPos(5, 5);  // near the guard's first reference, so the ticks are not held off
    PumpFor(1500);
    EXPECT_TRUE(pWindow->Events().empty());
    // The tick still ran the activity test and wrote what it saw into the hidden labels.
    wchar_t szText[64] = {};
    ::GetDlgItemTextW(panel.GetSafeHwnd(), IDC_DIAG_LABEL2, szText, 64);
    EXPECT_STREQ(szText, L"cur: x=5 y=5");
    ::GetDlgItemTextW(panel.GetSafeHwnd(), IDC_DIAG_LABEL3, szText, 64);
    EXPECT_STREQ(szText, L"distance=7");
    // Seven pixels from the first reference, (0, 0), is no move: the reference stays.
    ::GetDlgItemTextW(panel.GetSafeHwnd(), IDC_DIAG_LABEL1, szText, 64);
    EXPECT_STREQ(szText, L"old: x=0 y=0");
}

TEST_F(SnipDlgPlayTest, MetroModeClicksWithoutEverShowingTheSight) {
    ScratchKey().WriteInt(kMetroModeValue, 1);
    const auto pWindow = ShowTarget(0, kFirstPicture);
    OpenPanel();
    PressPlay();
    bool bSightSeen = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            bSightSeen |= SightVisible();
            return pWindow->Events().size() >= 2;
        },
        10000));
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
    EXPECT_FALSE(bSightSeen);
}

TEST_F(SnipDlgPlayTest, RecognizeFindsTheCentreUnlessTheEditorCoversIt) {
    const auto pWindow = ShowTarget(1, kSecondPicture);
    CSnipDlg& panel = OpenPanel();
    // Play's own point: top-left, centre and click as a play step makes them.
    const TargetHit expected = MakeTargetHit(Target(1), Point{kSecondPicture.x, kSecondPicture.y});
    EXPECT_EQ(panel.RecognizeTarget(Target(1), nullptr), expected);
    EXPECT_EQ(panel.RecognizeTarget(Target(0), nullptr), std::nullopt);
    // The window that asks for the test is blacked out, even where it lies over the picture.
    EXPECT_EQ(panel.RecognizeTarget(Target(1), pWindow->Get()), std::nullopt);
}

TEST_F(SnipDlgPlayTest, GrabBlacksOutThePanelWhileItIsActiveButNeverTheSight) {
    CSnipDlg& panel = OpenPanel();
    ::SetActiveWindow(panel.GetSafeHwnd());
    panel.ShowSightForTest(300, 300);
    PumpPendingMessages();
    DesktopImage image;
    ASSERT_TRUE(panel.GrabScreen(GrabMode::Play, nullptr, image));
    const PixelBuffer& screen = image.pixels;
    const RECT rcPanel = panel.GetWindowRect();
    for (int y = rcPanel.top; y < rcPanel.bottom; y += 7) {
        for (int x = rcPanel.left; x < rcPanel.right; x += 5) {
            ASSERT_EQ(screen.At(x, y), 0u) << x << ", " << y;
        }
    }
    // The sight's yellow ring is in the picture.
    bool bYellowSeen = false;
    for (int x = 268; x < 332; ++x) {
        bYellowSeen |= screen.At(x, 300) == 0x00FFF200u;
    }
    EXPECT_TRUE(bYellowSeen);
}

TEST_F(SnipDlgPlayTest, ATargetWhosePictureCannotBeReadIsReportedByTheTest) {
    CSnipDlg& panel = OpenPanel();
    CTargetObj unreadable;
    unreadable.m_rcTarget = {0, 0, 8, 6};
    EXPECT_EQ(panel.RecognizeTarget(unreadable, nullptr), std::nullopt);
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    const CScriptedPrompts::CCall& call = m_prompts.m_calls.front();
    EXPECT_EQ(call.strKind, L"message");
    EXPECT_EQ(call.hOwner, nullptr);
    EXPECT_EQ(call.strText, L"Кнопка не прочитана");
    EXPECT_EQ(call.strCaption, L"INFO");
    EXPECT_EQ(call.uType, static_cast<UINT>(MB_OK));
}

TEST_F(SnipDlgPlayTest, UncheckingPlayDuringAClickLetsItFinish) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(
        PumpUntil([&] { return panel.ClickSequence().State() == ClickState::Gliding; }, 10000));
    const HWND hPlay = panel.GetDlgItem(IDC_PLAY);
    ::SendMessageW(hPlay, BM_SETCHECK, BST_UNCHECKED, 0);
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY, BN_CLICKED),
                      reinterpret_cast<LPARAM>(hPlay));
    ASSERT_TRUE(WaitForClick(*pWindow));
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
    // No further click: the tick goes on but no longer searches.
    PumpFor(1500);
    EXPECT_EQ(pWindow->Events().size(), 2u);
}

TEST_F(SnipDlgPlayTest, PressingPlayAgainDuringAClickEndsItCleanly) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(
        PumpUntil([&] { return panel.ClickSequence().State() == ClickState::Gliding; }, 10000));
    ASSERT_TRUE(SightVisible());
    // Play checked again from the keyboard, say: the click under way ends before the pointer is
    // parked, so no marker or held button is left behind.
    PressPlay();
    EXPECT_TRUE(panel.ClickSequence().IsIdle());
    EXPECT_FALSE(SightVisible());
    ASSERT_TRUE(WaitForClick(*pWindow));
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
}

TEST_F(SnipDlgPlayTest, AutoPlaySearchesAtOnceOnlyWithThePointerNearTheTopLeftCorner) {
    ScratchKey().WriteInt(kAutoPlayValue, 1);
    const auto pWindow = ShowTarget(0, kFirstPicture);
    {
        // The guard's first reference is (0, 0) at time 0: a pointer resting within 15 pixels
        // of the corner lets the first tick search.
        ::SetCursorPos(9, 12);
        CSnipDlg& panel = OpenPanel();
        ASSERT_TRUE(PumpUntil([&] { return !panel.ClickSequence().IsIdle(); }, 10000));
        EXPECT_EQ(panel.ActivityGuard().ReferenceTime(), 0);
        ASSERT_TRUE(WaitForClick(*pWindow));
        ClosePanel();
    }
    {
        // Anywhere else the first tick takes the pointer as moved, and waits four seconds.
        ::SetCursorPos(20, 900);
        CSnipDlg& panel = OpenPanel();
        ASSERT_TRUE(PumpUntil([&] { return !panel.ClickSequence().IsIdle(); }, 10000));
        const int64_t nReference = panel.ActivityGuard().ReferenceTime();
        EXPECT_NE(nReference, 0);
        EXPECT_GE(std::time(nullptr) - nReference, 4);
        ASSERT_TRUE(WaitForClick(*pWindow));
    }
}

TEST_F(SnipDlgPlayTest, ASaveDuringAClickEndsItAndPlayGoesOn) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(
        PumpUntil([&] { return panel.ClickSequence().State() == ClickState::Gliding; }, 10000));
    // A file handed over by a second start saves the list while the pointer rests.
    panel.SaveDefaultFile();
    EXPECT_TRUE(panel.ClickSequence().IsIdle());
    EXPECT_FALSE(SightVisible());
    // The tick resumes after the save and clicks again.
    ASSERT_TRUE(WaitForClick(*pWindow));
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
}

TEST_F(SnipDlgPlayTest, EndingTheRunWithTheButtonDownReleasesIt) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    PressPlay();
    ASSERT_TRUE(
        PumpUntil([&] { return panel.ClickSequence().State() == ClickState::ButtonDown; }, 10000));
    // Esc ends the dialog at once, without the close sequence.
    ClosePanel();
    PumpFor(300);
    EXPECT_TRUE(IsClickAt(pWindow->Events(), ClickPointOf(0, kFirstPicture)));
    EXPECT_EQ(::GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0);
}

TEST(SyntheticMouseTest, PressesThePhysicalButtonThatActsAsThePrimaryOne) {
    // A synthetic event names a physical button; with the buttons swapped (a left-handed user)
    // the primary one is the right button. GetAsyncKeyState reads the physical buttons.
    for (const BOOL bSwapped : {FALSE, TRUE}) {
        ::SwapMouseButton(bSwapped);
        const int nPrimary = bSwapped ? VK_RBUTTON : VK_LBUTTON;
        const int nOther = bSwapped ? VK_LBUTTON : VK_RBUTTON;
        EXPECT_EQ(PrimaryButtonKey(), nPrimary);
        CSyntheticMouse mouse;
        mouse.MoveTo(Point{5, 5});
        mouse.ButtonDown();
        EXPECT_NE(::GetAsyncKeyState(nPrimary) & 0x8000, 0) << bSwapped;
        EXPECT_EQ(::GetAsyncKeyState(nOther) & 0x8000, 0) << bSwapped;
        // The release goes to the button pressed, even if the buttons are swapped meanwhile.
        ::SwapMouseButton(!bSwapped);
        mouse.ButtonUp();
        EXPECT_EQ(::GetAsyncKeyState(nPrimary) & 0x8000, 0) << bSwapped;
        PumpPendingMessages();
    }
    ::SwapMouseButton(FALSE);
}

TEST(SyntheticMouseTest, MovesExactlyOntoTheCornersAndCentreOfEveryMonitor) {
    // On one monitor or several (a second one may lie at negative x or y), every corner pixel
    // is reached exactly: the pointer is where the move said, not a pixel up and to the left.
    const DesktopLayout layout = ReadDesktopLayout();
    ASSERT_FALSE(layout.monitors.empty());
    CSyntheticMouse mouse;
    for (const MonitorArea& monitor : layout.monitors) {
        const Rect& rc = monitor.rcMonitor;
        for (const Point pt : {Point{rc.left, rc.top}, Point{rc.right - 1, rc.top},
                               Point{rc.left, rc.bottom - 1}, Point{rc.right - 1, rc.bottom - 1},
                               Point{(rc.left + rc.right) / 2 + 1, (rc.top + rc.bottom) / 2 - 1}}) {
            mouse.MoveTo(pt);
            const POINT ptCursor = CursorPos();
            EXPECT_EQ((Point{ptCursor.x, ptCursor.y}), pt) << pt.x << "," << pt.y;
        }
    }
    mouse.MoveTo(Point{5, 5});
}

TEST_F(SnipDlgPlayTest, TheTestMarkerMovesOnASecondTestAndGoesTwoSecondsAfterIt) {
    CSnipDlg& panel = OpenPanel();
    const HWND hSight = panel.SightWnd()->GetSafeHwnd();
    EXPECT_EQ(panel.ShowSightForTest(300, 400), 1);
    EXPECT_TRUE(SightVisible());
    EXPECT_EQ(panel.SightWnd()->GetWindowRect().left, 268);
    EXPECT_EQ(panel.SightWnd()->GetWindowRect().top, 368);
    PumpFor(1200);
    panel.ShowSightForTest(0, 0);
    const ULONGLONG nSecondAt = ::GetTickCount64();
    // Three quarters off the screen, and still shown: the second test re-armed the timer.
    RECT rc{};
    ::GetWindowRect(hSight, &rc);
    EXPECT_EQ(rc.left, -32);
    EXPECT_EQ(rc.top, -32);
    ASSERT_TRUE(PumpUntil([&] { return !SightVisible(); }, 10000));
    EXPECT_GE(::GetTickCount64() - nSecondAt, 1900u);
}

namespace {}  // namespace

TEST_F(SnipDlgPlayTest, MetroModePlaySendsWindowsTabBeforeParking) {
    ScratchKey().WriteInt(kMetroModeValue, 1);
    CSnipDlg& panel = OpenPanel();
    CKeyRecorder keys;
    ASSERT_TRUE(keys.IsRecording());
    PressPlay();
    PumpFor(200);
    keys.Stop();
    const std::vector<KeyEvent> expected{
        {VK_LWIN, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_LWIN, false}};
    EXPECT_EQ(keys.Keys(), expected);
    const RECT rcPanel = panel.GetWindowRect();
    EXPECT_EQ(CursorPos().x, rcPanel.left + 10);
    EXPECT_EQ(CursorPos().y, rcPanel.top + 10);
}

TEST_F(SnipDlgPlayTest, PlayHotkeyStartsPlayAsTheButtonAndStopsItEndingTheGlideUnderWay) {
    const auto pWindow = ShowTarget(0, kFirstPicture);
    CSnipDlg& panel = OpenPanel();
    const RECT rcPanel = panel.GetWindowRect();
    const HWND hPlay = panel.GetDlgItem(IDC_PLAY);
    // Another hotkey id of the panel's is not Play's.
    panel.SendMessage(WM_HOTKEY, CSnipDlg::kPlayHotkeyId + 1, 0);
    EXPECT_EQ(::SendMessageW(hPlay, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    panel.SendMessage(WM_HOTKEY, CSnipDlg::kPlayHotkeyId, 0);
    EXPECT_EQ(::SendMessageW(hPlay, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(CursorPos().x, rcPanel.left + 10) << "Play's parking did not run";
    EXPECT_EQ(CursorPos().y, rcPanel.top + 10);

    // Stopped during the glide: the click ends there, with its marker, and none follows.
    ASSERT_TRUE(PumpUntil([&] { return panel.ClickSequence().IsClicking(); }, 10000));
    panel.SendMessage(WM_HOTKEY, CSnipDlg::kPlayHotkeyId, 0);
    EXPECT_EQ(::SendMessageW(hPlay, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(panel.ClickSequence().IsClicking());
    EXPECT_FALSE(SightVisible());
    PumpFor(3 * CSnipDlg::kPlayTickMs);
    EXPECT_TRUE(pWindow->Events().empty()) << "a click came after the hotkey stopped play";
}
