// The play loop of the panel: the play tick, the click steps, the activity guard and the Play
// button.
#include "ui/SnipDlg.h"

#include "engine/PictureSearch.h"
#include "engine/SightWnd.h"
#include "engine/TargetSearch.h"
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

LRESULT CSnipDlg::OnTimer(WPARAM wParam, LPARAM) {
    switch (wParam) {
        case IDT_OPEN_PENDING:
            OpenPendingFile();
            break;
        case IDT_DISPLAY_CHECK:
            // Not a play timer: the mouse watch below keeps to the play timers' rhythm.
            KeepWindowsOnMonitors(false);
            return 0;
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
    if (IsUserActive()) {
        if (m_clickSequence.IsClicking()) {
            EndClick();
        }
        return 0;
    }
    if (wParam == IDT_CLICK_STEP) {
        OnClickStepTimer();
    } else if (wParam == IDT_PLAY_TICK && m_clickSequence.IsIdle()) {
        // While a click is under way the tick stays armed and waits for it.
        OnPlayTick();
    }
    return 0;
}

void CSnipDlg::OnClickStepTimer() {
    KillTimer(IDT_CLICK_STEP);
    StepClick();
    if (!m_clickSequence.IsIdle()) {
        SetTimer(IDT_CLICK_STEP, kClickStepMs);
    }
}

void CSnipDlg::OnPlayTick() {
    // Killed first, so that a message box of the play step cannot lead to a nested one.
    KillTimer(IDT_PLAY_TICK);
    if (::SendMessageW(GetDlgItem(IDC_PLAY), BM_GETCHECK, 0, 0) == BST_CHECKED) {
        PlayStep();
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

bool CSnipDlg::IsUserActive() {
    const bool bActive = m_activityGuard.IsUserActive(CursorPos(), NowSeconds());
    ShowActivityDiagnostics();
    return bActive;
}

void CSnipDlg::ShowActivityDiagnostics() {
    const ActivityDiagnostics& diagnostics = m_activityGuard.LastDiagnostics();
    ::SetDlgItemTextW(m_hWnd, IDC_DIAG_LABEL1, ToWide(diagnostics.OldText()).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_DIAG_LABEL2, ToWide(diagnostics.CurrentText()).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_DIAG_LABEL3, ToWide(diagnostics.DistanceText()).c_str());
}

void CSnipDlg::StepClick() {
    CPanelClickOutput output(m_mouse, m_pSightWnd.get());
    m_clickSequence.Step(CursorPos(), output, m_activityGuard);
    if (m_clickSequence.IsIdle()) {
        // The release step ended the sequence; its timer goes with it.
        KillTimer(IDT_CLICK_STEP);
    }
}

void CSnipDlg::EndClick() {
    CPanelClickOutput output(m_mouse, m_pSightWnd.get());
    m_clickSequence.End(output);
    KillTimer(IDT_CLICK_STEP);
}

void CSnipDlg::OnPlay() {
    const bool bChecked = ::SendMessageW(GetDlgItem(IDC_PLAY), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (bChecked) {
        if (m_bMetroMode) {
            SendWinTab();
        }
        KillTimer(IDT_PLAY_TICK);
        // A click still under way (Play pressed from the keyboard) must not leave the button
        // held down or the marker shown.
        if (m_clickSequence.IsClicking()) {
            EndClick();
        }
        ParkCursor();
        m_activityGuard.StartPlay(CursorPos(), NowSeconds());
        SetTimer(IDT_PLAY_TICK, kFirstTickAfterPlayMs);
    }
    UpdatePlayButton();
}

void CSnipDlg::ParkCursor() {
    RECT rc{};
    if (m_nViewMode == kViewCommon) {
        rc = GetWindowRect();
    } else if (m_nViewMode == kViewFlyWindow && m_pFlyWnd) {
        rc = m_pFlyWnd->GetWindowRect();
    }
    m_mouse.MoveTo(Point{rc.left + kParkInset, rc.top + kParkInset});
}

bool CSnipDlg::GrabScreen(GrabMode mode, HWND hExtraWindow, DesktopImage& screen) {
    BlackoutInput input;
    input.mode = mode;
    input.nScreenW = ::GetSystemMetrics(SM_CXSCREEN);
    input.nScreenH = ::GetSystemMetrics(SM_CYSCREEN);
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
    const std::vector<Rect> blackout = BlackoutRects(input);
    return m_screenGrabber.Grab(screen, blackout);
}

void CSnipDlg::ShowReadFailure() {
    Prompts().MessageBox(nullptr, L"Кнопка не прочитана", L"INFO", MB_OK);
}

void CSnipDlg::PlayStep() {
    if (!GrabScreen(GrabMode::Play, nullptr, m_screen)) {
        // A black picture of the screen would match a black target anywhere: no search.
        ShowReadFailure();
        return;
    }
    const CTargetObjList* pList = m_wndTargetList.m_pTargetList.get();
    if (pList == nullptr) {
        return;
    }
    // Files are loaded and targets edited between ticks: the search is rebuilt from the list as
    // it is now, and only its storage carries over.
    m_targetSearch.Rebuild(*pList);
    const std::optional<TargetHit> hit = m_targetSearch.FindFirst(m_screen.pixels);
    if (!hit) {
        return;
    }
    m_clickSequence.Start(hit->click);
    StepClick();
    SetTimer(IDT_CLICK_STEP, kFirstClickStepMs);
}

Point CSnipDlg::RecognizeTarget(const CTargetObj& target, HWND hEditor) {
    constexpr Point kNotFound{NOT_FOUND_COORD, NOT_FOUND_COORD};
    // A test is rare: its screen picture is not kept.
    DesktopImage screen;
    if (!GrabScreen(GrabMode::Test, hEditor, screen)) {
        ShowReadFailure();
        return kNotFound;
    }
    const PixelBuffer* pPicture = target.m_bmpTarget.Pixels();
    if (pPicture == nullptr) {
        ShowReadFailure();
        return kNotFound;
    }
    const std::optional<Point> found = FindPicture(screen.pixels, *pPicture);
    if (!found) {
        return kNotFound;
    }
    return PictureCentre(*found, pPicture->Width(), pPicture->Height());
}
