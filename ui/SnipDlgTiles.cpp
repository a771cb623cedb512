// The panel's side of the tile column: the Play button that follows the list, and the wheel.
#include "ui/SnipDlg.h"

#include "framework/ButtonCtrl.h"

void CSnipDlg::UpdatePlayButton() {
    const CButtonCtrl play(GetDlgItem(IDC_PLAY));
    const CTargetObjList* pList = m_wndTargetList.m_pTargetList.get();
    HICON hIcon = m_iconPlayDisabled.Get();
    const bool bEnable = pList != nullptr && !pList->IsEmpty();
    if (bEnable) {
        hIcon = m_play.IsPlaying() ? m_iconPlaying.Get() : m_iconPlay.Get();
    }
    // The mark shows the controller's flag.
    play.SetCheck(m_play.IsPlaying());
    play.SetIcon(hIcon);
    play.Enable(bEnable);
}

LRESULT CSnipDlg::OnMouseWheel(WPARAM wParam, LPARAM) {
    // The wheel turns over the panel, not over the list view that has no focus: it scrolls the
    // column.
    m_wndTargetList.ScrollByWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    return 0;
}
