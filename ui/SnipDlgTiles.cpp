// The panel's side of the tile column: the Play button that follows the list, and the wheel.
#include "ui/SnipDlg.h"

void CSnipDlg::UpdatePlayButton() {
    const HWND hPlay = GetDlgItem(IDC_PLAY);
    const CTargetObjList* pList = m_wndTargetList.m_pTargetList.get();
    HICON hIcon = m_iconPlayDisabled.Get();
    const bool bEnable = pList != nullptr && !pList->IsEmpty();
    if (bEnable) {
        hIcon = m_play.IsPlaying() ? m_iconPlaying.Get() : m_iconPlay.Get();
    }
    // The mark shows the controller's flag.
    ::SendMessageW(hPlay, BM_SETCHECK, m_play.IsPlaying() ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(hPlay, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon));
    ::EnableWindow(hPlay, bEnable ? TRUE : FALSE);
}

LRESULT CSnipDlg::OnMouseWheel(WPARAM wParam, LPARAM) {
    // The wheel turns over the panel, not over the list view that has no focus: it scrolls the
    // column.
    m_wndTargetList.ScrollByWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    return 0;
}
