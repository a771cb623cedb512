// The panel's tile column: layout, scrolling, renumbering and the Play button's state.
#include "capture/TileGeometry.h"
#include "ui/PanelGeometry.h"
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

void CSnipDlg::RelayoutTiles() {
    const CTargetObjList* pList = m_wndTargetList.m_pTargetList.get();
    m_nContentHeight = TileContentHeight(pList != nullptr ? pList->Count() : 0);
    const RECT rcClient = GetClientRect();
    m_nScrollPos = ClampScrollPos(m_nScrollPos, m_nContentHeight, TileAreaHeight(rcClient.bottom));
    m_wndTargetList.m_nScrollPos = m_nScrollPos;
    MoveTiles();
    // The list view's thumb follows the new offset at once.
    m_wndTargetList.InvalidateScrollTrack();
    // Only the strip at the right edge, where the scroll indicator is, needs repainting.
    InvalidateRect(RECT{rcClient.right - 13, rcClient.top, rcClient.right, rcClient.bottom}, false);
    UpdateWindow();
}

void CSnipDlg::MoveTiles() {
    const CTargetObjList* pList = m_wndTargetList.m_pTargetList.get();
    if (pList == nullptr) {
        return;
    }
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(pList->Count()));
    for (const auto& pTarget : *pList) {
        if (hdwp == nullptr) {
            // A failed DeferWindowPos has already given the batch back.
            return;
        }
        const CTargetMiniView* pTile = m_wndTargetList.TileOf(*pTarget);
        if (pTile == nullptr) {
            continue;
        }
        // SWP_NOCOPYBITS: each tile repaints at its new place. Copying the old bits, when tiles
        // move onto each other's places in one batch, can leave a neighbour's stale picture.
        hdwp = ::DeferWindowPos(hdwp, pTile->GetSafeHwnd(), nullptr, kTileLeft,
                                TileTop(pTarget->m_nOrder, m_nScrollPos), 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    }
    if (hdwp != nullptr) {
        ::EndDeferWindowPos(hdwp);
    }
    // Every change of a name or an order ends here: the tooltips follow.
    m_wndTargetList.UpdateTileTips();
}

void CSnipDlg::RenumberAfterRemove(int nRemovedSlot) {
    CTargetObjList& list = TargetList();
    list.RenumberAfterRemove(nRemovedSlot);
    m_wndTargetList.m_nContentHeight = TileContentHeight(list.Count());
    RelayoutTiles();
}

void CSnipDlg::ReorderTile(int nFromSlot, int nInsertBefore) {
    m_wndTargetList.HideDropMarker();
    TargetList().MoveOrder(nFromSlot, nInsertBefore);
}

LRESULT CSnipDlg::OnMouseWheel(WPARAM wParam, LPARAM) {
    m_nScrollPos += WheelScrollStep(GET_WHEEL_DELTA_WPARAM(wParam));
    RelayoutTiles();
    return 0;
}
