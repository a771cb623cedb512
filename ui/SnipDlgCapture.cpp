// The panel's capture of a new target: Play off, the panel out of the way, the selection
// overlay, and the new target last in the list.
#include "capture/FullScreenShoot.h"
#include "ui/SnipDlg.h"

namespace {

// How long the hidden panel needs to vanish from the screen before the overlay grabs it; a
// tablet's switch from the start screen takes much longer.
constexpr DWORD kHideWaitMs = 5;
constexpr DWORD kMetroHideWaitMs = 1000;
// Scrolls far past the end; the layout clamps it to the last page.
constexpr int kScrollToEnd = 100000;

}  // namespace

void CSnipDlg::OnSelectTarget() {
    CaptureTarget();
    Invalidate(true);
    m_wndTargetList.ScrollBy(-kScrollToEnd);
    SaveDefaultFile();
}

void CSnipDlg::CaptureTarget() {
    // A click under way would go on gliding and pressing over the overlay, and could make a
    // selection of its own.
    EndClick();
    SetPlaying(false);
    if (m_bMetroMode) {
        SendWinTabQuick();
    }
    auto pTarget = std::make_unique<CTargetObj>();
    ShowWindow(SW_HIDE);
    ::Sleep(m_bMetroMode ? kMetroHideWaitMs : kHideWaitMs);

    CFullScreenShoot overlay(m_bMetroMode != 0);
    const INT_PTR nResult = overlay.DoModal(m_hWnd);
    ShowWindow(SW_SHOW);
    // Only a completed selection makes a target. Enter ends the overlay with IDOK before any
    // selection, a failed grab leaves no pictures, and an overlay that could not be created
    // returns neither IDOK nor IDCANCEL: all of them count as a cancel, so that no target without
    // pictures ever enters the list.
    if (nResult != IDOK || overlay.m_bmpTarget.IsEmpty() || overlay.m_bmpArea.IsEmpty()) {
        return;
    }
    pTarget->m_bmpTarget = CPicture(std::move(overlay.m_bmpTarget));
    pTarget->m_rcTarget = overlay.m_rcTarget;
    pTarget->m_bmpArea = CPicture(std::move(overlay.m_bmpArea));
    pTarget->m_rcArea = overlay.m_rcArea;
    m_wndTargetList.AddTarget(std::move(pTarget));
    UpdatePlayButton();
}
