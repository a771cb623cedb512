// The play loop of the panel: the play tick, the click steps, the activity guard and the Play
// button.
#include "ui/SnipDlg.h"

#include "engine/Locate.h"
#include "engine/MonitorLayout.h"
#include "engine/SightWnd.h"
#include "framework/ButtonCtrl.h"
#include "framework/UserPrompts.h"
#include "framework/WideText.h"
#include "ui/FlyWnd.h"

#include <ctime>

namespace {

constexpr UINT kFirstTickAfterPlayMs = 5;
constexpr UINT kFirstClickStepMs = 15;
constexpr UINT kClickStepMs = 50;
// Play parks the pointer this far inside the panel's top-left corner, off the targets.
constexpr int kParkInset = 10;
// Set before reading the screen-saver time-out, to tell a failed read from a real value.
constexpr UINT kNoScreenSaverTimeout = 999;

int64_t NowSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

Point CursorPos() {
    POINT pt{};
    ::GetCursorPos(&pt);
    return Point{pt.x, pt.y};
}

Rect ToRect(const RECT& rc) {
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

// The click sequence's effects: SendInput for the pointer, the sight window for the marker.
class CPanelClickOutput : public IClickOutput {
public:
    CPanelClickOutput(CSyntheticMouse& mouse, CSightWnd* pSight)
        : m_mouse(mouse), m_pSight(pSight) {}

    void MoveTo(Point pt) override { m_mouse.MoveTo(pt); }
    void ButtonDown() override { m_mouse.ButtonDown(); }
    void ButtonUp() override { m_mouse.ButtonUp(); }
    void ShowSight(Point pt) override {
        if (m_pSight != nullptr) {
            m_pSight->PlaceAndShow(pt.x, pt.y);
        }
    }
    void HideSight() override {
        if (m_pSight != nullptr) {
            m_pSight->ShowWindow(SW_HIDE);
        }
    }

private:
    CSyntheticMouse& m_mouse;
    CSightWnd* m_pSight;
};

}  // namespace

void CSnipDlg::OnTimer(UINT_PTR nIdEvent) {
    switch (nIdEvent) {
        case IDT_OPEN_PENDING:
            OpenPendingFile();
            break;
        case IDT_DISPLAY_CHECK:
            // Not a play timer: the mouse watch below keeps to the play timers' rhythm.
            KeepWindowsOnMonitors(false);
            return;
        case IDT_HIDE_SIGHT:
            KillTimer(IDT_HIDE_SIGHT);
            if (!m_bMetroMode && m_pSightWnd) {
                m_pSightWnd->ShowWindow(SW_HIDE);
            }
            break;
        default:
            break;
    }
    // Every timer message watches the mouse, so a click under way stops within one click step.
    // The pointer is read once: a move that lands after the watch must not become the glide's
    // starting point, or the user's move would be taken for the program's own.
    const Point ptCursor = CursorPos();
    if (IsUserActive(ptCursor)) {
        return;
    }
    if (nIdEvent == IDT_CLICK_STEP) {
        OnClickStepTimer(ptCursor);
    } else if (nIdEvent == IDT_PLAY_TICK && m_play.ClickSequence().IsIdle()) {
        // While a click is under way the tick stays armed and waits for it.
        OnPlayTick(ptCursor);
    }
}

void CSnipDlg::OnClickStepTimer(Point ptCursor) {
    KillTimer(IDT_CLICK_STEP);
    StepClick(ptCursor);
    if (!m_play.ClickSequence().IsIdle()) {
        SetTimer(IDT_CLICK_STEP, kClickStepMs);
    }
}

void CSnipDlg::OnPlayTick(Point ptCursor) {
    // Killed first, so that a message box of the play step cannot lead to a nested one.
    KillTimer(IDT_PLAY_TICK);
    if (m_play.WantsGrab()) {
        PlayStep(ptCursor);
    }
    SetTimer(IDT_PLAY_TICK, kPlayTickMs);
    RefreshScreenSaverTimeout();
}

void CSnipDlg::RefreshScreenSaverTimeout() {
    // Writing the time-out back restarts the system's idle count, so no screen saver starts
    // while the program plays.
    UINT nTimeout = kNoScreenSaverTimeout;
    ::SystemParametersInfoW(SPI_GETSCREENSAVETIMEOUT, 0, &nTimeout, 0);
    if (nTimeout != kNoScreenSaverTimeout) {
        ::SystemParametersInfoW(SPI_SETSCREENSAVETIMEOUT, nTimeout, nullptr, SPIF_SENDWININICHANGE);
    }
}

bool CSnipDlg::IsUserActive(Point ptCursor) {
    CPanelClickOutput output(m_mouse, m_pSightWnd.get());
    const bool bActive = m_play.HoldsOffForUser(ptCursor, NowSeconds(), output);
    if (bActive) {
        // The guard ended any click under way; its timer goes with it.
        KillTimer(IDT_CLICK_STEP);
    }
    ShowActivityDiagnostics();
    return bActive;
}

void CSnipDlg::ShowActivityDiagnostics() {
    const ActivityDiagnostics& diagnostics = m_play.ActivityGuard().LastDiagnostics();
    ::SetDlgItemTextW(m_hWnd, IDC_DIAG_LABEL1, ToWide(diagnostics.OldText()).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_DIAG_LABEL2, ToWide(diagnostics.CurrentText()).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_DIAG_LABEL3, ToWide(diagnostics.DistanceText()).c_str());
}

void CSnipDlg::StepClick(Point ptCursor) {
    CPanelClickOutput output(m_mouse, m_pSightWnd.get());
    m_play.StepClick(ptCursor, output);
    if (m_play.ClickSequence().IsIdle()) {
        // The release step ended the sequence; its timer goes with it.
        KillTimer(IDT_CLICK_STEP);
    }
}

void CSnipDlg::EndClick() {
    CPanelClickOutput output(m_mouse, m_pSightWnd.get());
    m_play.EndClick(output);
    KillTimer(IDT_CLICK_STEP);
}

void CSnipDlg::OnPlay() {
    // The button checks itself before the command arrives: its new mark is the user's request,
    // read here once. From then on the controller's flag is Play's state and the mark follows it.
    SetPlaying(CButtonCtrl(GetDlgItem(IDC_PLAY)).IsChecked());
}

void CSnipDlg::SetPlaying(bool bPlay) {
    if (bPlay) {
        if (m_bMetroMode) {
            SendWinTab();
        }
        KillTimer(IDT_PLAY_TICK);
        // A click still under way (Play pressed from the keyboard) must not leave the button
        // held down or the marker shown.
        KillTimer(IDT_CLICK_STEP);
        CPanelClickOutput output(m_mouse, m_pSightWnd.get());
        m_play.Start(ParkPoint(), NowSeconds(), output);
        SetTimer(IDT_PLAY_TICK, kFirstTickAfterPlayMs);
    } else {
        m_play.Stop();
    }
    UpdatePlayButton();
}

Point CSnipDlg::ParkPoint() const {
    RECT rc{};
    if (m_nViewMode == kViewCommon) {
        rc = GetWindowRect();
    } else if (m_nViewMode == kViewFlyWindow && m_pFlyWnd) {
        rc = m_pFlyWnd->GetWindowRect();
    }
    return Point{rc.left + kParkInset, rc.top + kParkInset};
}

BlackoutInput CSnipDlg::BlackoutWindows(HWND hExtraWindow) const {
    BlackoutInput input;
    input.layout = ReadDesktopLayout();
    input.nViewMode = m_nViewMode;
    input.rcPanel = ToRect(GetWindowRect());
    if (m_pFlyWnd) {
        input.rcFly = ToRect(m_pFlyWnd->GetWindowRect());
    }
    if (const HWND hActive = ::GetActiveWindow(); hActive != nullptr) {
        RECT rcActive{};
        ::GetWindowRect(hActive, &rcActive);
        input.bOwnWindowActive = true;
        input.rcActive = ToRect(rcActive);
    }
    if (m_wndTargetList.GetSafeHwnd() != nullptr &&
        ::IsWindowVisible(m_wndTargetList.GetSafeHwnd())) {
        input.rcTiles = ToRect(m_wndTargetList.GetWindowRect());
    }
    if (hExtraWindow != nullptr) {
        RECT rcExtra{};
        ::GetWindowRect(hExtraWindow, &rcExtra);
        input.rcEditor = ToRect(rcExtra);
    }
    return input;
}

bool CSnipDlg::GrabScreen(GrabMode mode, HWND hExtraWindow, DesktopImage& screen) {
    BlackoutInput input = BlackoutWindows(hExtraWindow);
    input.mode = mode;
    const std::vector<Rect> blackout =
        mode == GrabMode::Play ? m_play.PlayBlackout(input) : BlackoutRects(input);
    return m_screenGrabber.Grab(screen, blackout);
}

void CSnipDlg::ShowReadFailure() {
    Prompts().MessageBox(nullptr, L"Кнопка не прочитана", L"INFO", MB_OK);
}

void CSnipDlg::PlayStep(Point ptCursor) {
    if (!GrabScreen(GrabMode::Play, nullptr, m_screen)) {
        // A black picture of the screen would match a black target anywhere: no search.
        ShowReadFailure();
        return;
    }
    const CTargetObjList* pList = m_wndTargetList.m_pTargetList.get();
    if (pList == nullptr) {
        return;
    }
    CPanelClickOutput output(m_mouse, m_pSightWnd.get());
    if (!m_play.ClickFirstFound(*pList, m_screen, ptCursor, output)) {
        return;
    }
    if (m_play.ClickSequence().IsClicking()) {
        SetTimer(IDT_CLICK_STEP, kFirstClickStepMs);
    }
}

std::optional<TargetHit> CSnipDlg::RecognizeTarget(const CTargetObj& target, HWND hEditor) {
    // A test is rare: its screen picture is not kept.
    DesktopImage screen;
    if (!GrabScreen(GrabMode::Test, hEditor, screen) || target.m_bmpTarget.Pixels() == nullptr) {
        ShowReadFailure();
        return std::nullopt;
    }
    return Locate(target, screen);
}
