// The list view: its window, the current list, the tiles it owns, its painting and the drop
// marker of a tile drag.
#include "capture/TargetListView.h"

#include "capture/TileGeometry.h"
#include "capture/TileText.h"
#include "framework/PaintDC.h"
#include "framework/WideText.h"

namespace {

constexpr wchar_t kListViewClass[] = L"TarvikTargetList";
constexpr UINT kListViewId = 2;

constexpr COLORREF kColumnColour = RGB(245, 245, 245);
constexpr COLORREF kTrackColour = RGB(236, 236, 236);
constexpr COLORREF kEdgeColour = RGB(204, 204, 204);
constexpr COLORREF kThumbEdgeColour = RGB(201, 201, 201);
constexpr COLORREF kThumbColour = RGB(149, 149, 149);

RECT ToRECT(const Rect& rc) {
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

void FillSolid(HDC hDC, const Rect& rc, COLORREF colour) {
    const RECT rcFill = ToRECT(rc);
    ::SetBkColor(hDC, colour);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rcFill, nullptr, 0, nullptr);
}

}  // namespace

CTargetListView::CTargetListView() = default;

CTargetListView::~CTargetListView() {
    // Tiles are children of this window: they go before it does.
    m_tiles.clear();
    m_retiredTiles.clear();
}

void CTargetListView::SetScale(const CDpiScale& scale) {
    if (scale == m_scale) {
        return;
    }
    // The same part of the column stays in view; the layout clamps it to the new ends.
    m_nScrollPos = scale.Scale(m_scale.Unscale(m_nScrollPos));
    m_scale = scale;
    for (const auto& [pTarget, pTile] : m_tiles) {
        pTile->FitToScale();
    }
    if (m_hWnd != nullptr) {
        RelayoutTiles();
        Invalidate(true);
    }
}

bool CTargetListView::CreateListView(const RECT& rc, HWND hParent) {
    CWindowClassInfo cls;
    cls.pszName = kListViewClass;
    cls.uStyle = CS_HREDRAW | CS_VREDRAW;
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    // WS_CLIPCHILDREN: when the tiles scroll, the background uncovered is erased around them,
    // not over them.
    const bool bCreated = Create(cls, 0, L"RollupCtrl", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc,
                                 hParent, kListViewId);
    if (bCreated) {
        m_toolTip.Create(m_hWnd);
    }
    m_pTargetList = std::make_unique<CTargetObjList>();
    m_nScrollPos = 0;
    m_nContentHeight = 0;
    m_bDropMarker = false;
    return bCreated;
}

bool CTargetListView::AddTarget(std::unique_ptr<CTargetObj> pTarget) {
    CTargetObj& target = m_pTargetList->AddCaptured(std::move(pTarget));
    CreateTile(target, TileMetricsAt(m_scale).nLeft, TileTop(target.m_nOrder, 0, m_scale));
    m_nContentHeight = TileContentHeight(m_pTargetList->Count(), m_scale);
    return true;
}

CTargetMiniView* CTargetListView::CreateTile(CTargetObj& target, int x, int y) {
    auto pTile = std::make_unique<CTargetMiniView>();
    if (!pTile->CreateTile(*this, target, x, y)) {
        return nullptr;
    }
    CTargetMiniView* pCreated = pTile.get();
    m_tiles[&target] = std::move(pTile);
    UpdateTileTip(target);
    return pCreated;
}

CTargetMiniView* CTargetListView::TileOf(const CTargetObj& target) const {
    const auto it = m_tiles.find(&target);
    return it != m_tiles.end() ? it->second.get() : nullptr;
}

CTargetMiniView* CTargetListView::TileAt(int nSlot) const {
    const CTargetObj* pTarget = m_pTargetList ? m_pTargetList->FindByOrder(nSlot) : nullptr;
    return pTarget != nullptr ? TileOf(*pTarget) : nullptr;
}

void CTargetListView::UpdateTileTip(const CTargetObj& target) {
    if (const CTargetMiniView* pTile = TileOf(target)) {
        m_toolTip.SetTileText(pTile->GetSafeHwnd(),
                              ToWide(TileToolTipText(target.m_nOrder, target.m_strName)));
    }
}

void CTargetListView::UpdateTileTips() {
    if (m_pTargetList) {
        for (const auto& pTarget : *m_pTargetList) {
            UpdateTileTip(*pTarget);
        }
    }
}

void CTargetListView::DestroyTile(CTargetObj& target) {
    std::unique_ptr<CTargetMiniView> pTile = DetachTile(target);
    if (pTile && pTile->IsBusy()) {
        // Its menu or editor is still on the stack: the window goes now, the object later.
        pTile->DestroyWindow();
        RetireTile(std::move(pTile));
    }
    // Otherwise destroying the object destroys its window.
}

std::unique_ptr<CTargetMiniView> CTargetListView::DetachTile(CTargetObj& target) {
    const auto it = m_tiles.find(&target);
    if (it == m_tiles.end()) {
        return nullptr;
    }
    m_toolTip.RemoveTile(it->second->GetSafeHwnd());
    std::unique_ptr<CTargetMiniView> pTile = std::move(it->second);
    m_tiles.erase(it);
    return pTile;
}

void CTargetListView::RetireTile(std::unique_ptr<CTargetMiniView> pTile) {
    m_retiredTiles.push_back(std::move(pTile));
    FreeRetiredTilesLater();
}

void CTargetListView::FreeRetiredTilesLater() {
    // Should the message not come, the tiles wait for the next retirement or the view's end.
    if (m_hWnd != nullptr) {
        PostMessage(WM_FREE_RETIRED_TILES);
    }
}

LRESULT CTargetListView::OnDestroy(WPARAM, LPARAM) {
    // The tooltip is owned by the panel's window: it goes with this view, not with the panel.
    m_toolTip.Destroy();
    return Default();
}

LRESULT CTargetListView::OnFreeRetiredTiles(WPARAM, LPARAM) {
    std::erase_if(m_retiredTiles, [](const auto& pTile) { return !pTile->IsBusy(); });
    return 0;
}

void CTargetListView::ClearTargets() {
    if (m_pTargetList) {
        while (!m_pTargetList->IsEmpty()) {
            const std::unique_ptr<CTargetObj> pTarget = m_pTargetList->RemoveHead();
            DestroyTile(*pTarget);
        }
        m_pTargetList.reset();
    }
    m_nScrollPos = 0;
    m_nContentHeight = 0;
    // A drag under way ends with its list: a release that comes later must not reorder the new
    // list to the old drag's slot.
    m_pDragTarget = nullptr;
    if (m_bDropMarker) {
        HideDropMarker();
    }
}

void CTargetListView::CreateTiles() {
    for (const auto& pTarget : *m_pTargetList) {
        CreateTile(*pTarget, TileMetricsAt(m_scale).nLeft, TileTop(pTarget->m_nOrder, 0, m_scale));
    }
    m_nContentHeight = TileContentHeight(m_pTargetList->Count(), m_scale);
}

void CTargetListView::ScrollBy(int nDelta) {
    m_nScrollPos = ClampToInt32(int64_t{m_nScrollPos} + nDelta);
    RelayoutTiles();
}

void CTargetListView::ScrollByWheel(int nWheelDelta) {
    ScrollBy(WheelScrollStep(nWheelDelta, m_scale));
}

void CTargetListView::RelayoutTiles() {
    m_nContentHeight = TileContentHeight(m_pTargetList ? m_pTargetList->Count() : 0, m_scale);
    m_nScrollPos = ClampScrollPos(m_nScrollPos, m_nContentHeight, m_nVisibleHeight);
    MoveTiles();
    // The thumb follows the new offset at once.
    InvalidateScrollTrack();
    UpdateWindow();
}

void CTargetListView::MoveTiles() {
    if (!m_pTargetList) {
        return;
    }
    const int nLeft = TileMetricsAt(m_scale).nLeft;
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(m_pTargetList->Count()));
    for (const auto& pTarget : *m_pTargetList) {
        if (hdwp == nullptr) {
            // A failed DeferWindowPos has already given the batch back.
            return;
        }
        const CTargetMiniView* pTile = TileOf(*pTarget);
        if (pTile == nullptr) {
            continue;
        }
        // SWP_NOCOPYBITS: each tile repaints at its new place. Copying the old bits, when tiles
        // move onto each other's places in one batch, can leave a neighbour's stale picture.
        hdwp = ::DeferWindowPos(hdwp, pTile->GetSafeHwnd(), nullptr, nLeft,
                                TileTop(pTarget->m_nOrder, m_nScrollPos, m_scale), 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    }
    if (hdwp != nullptr) {
        ::EndDeferWindowPos(hdwp);
    }
    // Every change of a name or an order ends here: the tooltips follow.
    UpdateTileTips();
}

void CTargetListView::RenumberAfterRemove(int nRemovedSlot) {
    m_pTargetList->RenumberAfterRemove(nRemovedSlot);
    RelayoutTiles();
}

void CTargetListView::ReorderTile(int nFromSlot, int nInsertBefore) {
    HideDropMarker();
    m_pTargetList->MoveOrder(nFromSlot, nInsertBefore);
}

int CTargetListView::SlotFromScreenY(int nScreenY) {
    // The column position without scrolling: the slot does not depend on the offset.
    const POINT pt = ScreenToClient(POINT{0, nScreenY - m_nScrollPos});
    const int nTargets = m_pTargetList ? static_cast<int>(m_pTargetList->Count()) : 0;
    m_nDropSlot = SlotFromColumnY(pt.y, nTargets, m_scale);
    return m_nDropSlot;
}

void CTargetListView::DragOver(CTargetObj* pTarget, int nScreenY) {
    m_pDragTarget = pTarget;
    m_bDropMarker = true;
    const int nSlot = SlotFromScreenY(nScreenY);
    m_nDropMarkerY = DropMarkerCentreY(m_nScrollPos, nSlot, m_scale);
    const RECT rcMarker = ToRECT(DropMarkerStrip(m_nDropMarkerY, GetClientRect().right, m_scale));
    // Only the two strips change: the marker's old place and its new one.
    if (rcMarker.top != m_rcLastMarker.top) {
        InvalidateRect(rcMarker, true);
        InvalidateRect(m_rcLastMarker, true);
    }
    m_rcLastMarker = rcMarker;
}

void CTargetListView::HideDropMarker() {
    m_bDropMarker = false;
    InvalidateRect(ToRECT(DropMarkerStrip(m_nDropMarkerY, GetClientRect().right, m_scale)), true);
    InvalidateRect(m_rcLastMarker, true);
}

void CTargetListView::InvalidateScrollTrack() {
    const RECT rcClient = GetClientRect();
    InvalidateRect(ToRECT(ColumnPaintOf(rcClient.right, rcClient.bottom, m_scale).rcTrack), false);
}

LRESULT CTargetListView::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    const HDC hDC = dc.Get();
    const RECT rcClient = GetClientRect();
    const int nWidth = rcClient.right;
    const int nHeight = rcClient.bottom;
    // Filled rather than outlined: a pen wider than one pixel would straddle the edges.
    const ColumnPaint column = ColumnPaintOf(nWidth, nHeight, m_scale);
    FillSolid(hDC, column.rcColumn, kColumnColour);
    FillSolid(hDC, column.rcTrack, kTrackColour);
    for (const Rect& rcEdge : column.rcEdges) {
        FillSolid(hDC, rcEdge, kEdgeColour);
    }
    if (m_bDropMarker) {
        FillSolid(hDC, DropMarkerLine(m_nDropMarkerY, nWidth, m_scale), RGB(0, 0, 0));
    }
    const ScrollThumb thumb =
        ScrollThumbOf(nWidth, nHeight, m_nContentHeight, m_nScrollPos, m_scale);
    if (thumb.bShown) {
        FillSolid(hDC, thumb.rcLight, kThumbEdgeColour);
        FillSolid(hDC, thumb.rcDark, kThumbColour);
    }
    return 0;
}
