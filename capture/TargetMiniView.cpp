// The tile of one target: its picture, the hover badge and its menu, and the drag to reorder.
#include "capture/TargetMiniView.h"

#include "capture/TargetEditDlg.h"
#include "capture/TargetListView.h"
#include "capture/TargetPicture.h"
#include "capture/TargetPictureDraw.h"
#include "capture/TileGeometry.h"
#include "engine/BitmapHandle.h"
#include "framework/GdiObject.h"
#include "framework/MenuHandle.h"
#include "framework/PaintDC.h"
#include "model/TargetObj.h"
#include "resource.h"

#include <windowsx.h>

namespace {

constexpr wchar_t kTileClass[] = L"TarvikTargetTile";

// The badge picture, bitmap IDB_TILE_MENU; empty when it cannot be read.
PixelBuffer LoadBadge() {
    PixelBuffer badge;
    const CGdiObject<HBITMAP> hBitmap(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TILE_MENU), IMAGE_BITMAP, 0,
                     0, LR_CREATEDIBSECTION)));
    if (hBitmap) {
        ReadBitmapPixels(hBitmap.Get(), badge);
    }
    return badge;
}

Rect ToRect(const RECT& rc) {
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

}  // namespace

// Counts the tile busy for a scope; a tile whose window went meanwhile asks its list view to
// delete it once the scope has ended.
class CTileModalScope {
public:
    explicit CTileModalScope(CTargetMiniView& tile) : m_tile(tile) { ++m_tile.m_nModalDepth; }
    ~CTileModalScope() {
        --m_tile.m_nModalDepth;
        if (m_tile.m_hWnd == nullptr && m_tile.m_nModalDepth == 0) {
            m_tile.m_pListView->FreeRetiredTilesLater();
        }
    }
    CTileModalScope(const CTileModalScope&) = delete;
    CTileModalScope& operator=(const CTileModalScope&) = delete;

private:
    CTargetMiniView& m_tile;
};

bool CTargetMiniView::CreateTile(CTargetListView& listView, CTargetObj& target, int x, int y) {
    m_pListView = &listView;
    CWindowClassInfo cls;
    cls.pszName = kTileClass;
    cls.uStyle = CS_CLASSDC | CS_SAVEBITS;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    const TileMetrics metrics = TileMetricsAt(listView.Scale());
    const RECT rc{x, y, x + metrics.nWidth, y + metrics.nHeight};
    if (!Create(cls, 0, L"", WS_CHILD | WS_VISIBLE, rc, listView.GetSafeHwnd())) {
        return false;
    }
    m_rcTile = RECT{0, 0, metrics.nWidth, metrics.nHeight};
    m_bHover = false;
    m_pTarget = &target;
    m_thumbnails = MakeThumbnailsOf(target);
    return true;
}

void CTargetMiniView::FitToScale() {
    const TileMetrics metrics = TileMetricsAt(Scale());
    m_rcTile = RECT{0, 0, metrics.nWidth, metrics.nHeight};
    if (m_hWnd != nullptr) {
        SetWindowPos(nullptr, 0, 0, metrics.nWidth, metrics.nHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate(false);
    }
}

const CDpiScale& CTargetMiniView::Scale() const {
    return m_pListView->Scale();
}

RECT CTargetMiniView::BadgeRECT() const {
    const Rect rc = TileMetricsAt(Scale()).rcBadge;
    return RECT{rc.left, rc.top, rc.right, rc.bottom};
}

LRESULT CTargetMiniView::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    const PixelBuffer badge = m_bHover ? LoadBadge() : PixelBuffer();
    DrawTargetPicture(dc.Get(), POINT{0, 0}, Scale(), m_pTarget, m_thumbnails,
                      m_bHover ? &badge : nullptr);
    return 0;
}

LRESULT CTargetMiniView::OnEraseBkgnd(WPARAM, LPARAM) {
    // The paint covers every pixel; erasing first would only flash the background.
    return m_pTarget != nullptr ? 1 : Default();
}

int CTargetMiniView::MainBottomInClient() const {
    const HWND hMain = m_pListView->TileHost() != nullptr ? m_pListView->TileHost()->MainWindow()
                                                          : m_pListView->GetParent();
    RECT rcMain{};
    ::GetWindowRect(hMain, &rcMain);
    return ScreenToClient(POINT{rcMain.left, rcMain.bottom}).y;
}

Rect CTargetMiniView::VisibleRect() const {
    RECT rcView = m_pListView->GetClientRect();
    ::MapWindowPoints(m_pListView->GetSafeHwnd(), m_hWnd, reinterpret_cast<POINT*>(&rcView), 2);
    return VisibleTileRect(ToRect(m_rcTile), ToRect(rcView));
}

void CTargetMiniView::SetHover(bool bHover) {
    if (m_bHover != bHover) {
        m_bHover = bHover;
        InvalidateRect(BadgeRECT(), false);
    }
}

LRESULT CTargetMiniView::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const Point pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The capture brings the move that leaves the tile, which ends the hover or goes on as a drag.
    ::SetCapture(m_hWnd);
    if (IsPointerOverTile(pt, VisibleRect(), MainBottomInClient(), Scale())) {
        SetHover(true);
    } else if ((wParam & MK_LBUTTON) != 0) {
        const POINT ptScreen = ClientToScreen(POINT{pt.x, pt.y});
        m_pListView->DragOver(m_pTarget, ptScreen.y);
    } else {
        m_pListView->m_pDragTarget = nullptr;
        if (m_pListView->m_bDropMarker) {
            // A drag whose release never reached us: its marker must not stay on screen.
            m_pListView->HideDropMarker();
        }
        ::ReleaseCapture();
        SetHover(false);
    }
    return Default();
}

LRESULT CTargetMiniView::OnLButtonUp(WPARAM, LPARAM lParam) {
    const Point pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ReleaseCapture();
    ITileHost* pHost = m_pListView->TileHost();
    if (pHost != nullptr) {
        ::SetActiveWindow(pHost->MainWindow());
    }
    if (IsOnTileBadge(pt, VisibleRect(), Scale())) {
        const UINT uCommand = TrackBadgeMenu();
        RunBadgeCommand(uCommand);
        if (m_hWnd == nullptr || uCommand == ID_TILE_REMOVE) {
            // The tile is gone (removed, or its list replaced meanwhile): nothing more happens
            // for this release.
            return 0;
        }
    }
    if (m_pListView->m_bDropMarker && m_pTarget != nullptr) {
        m_pListView->ReorderTile(m_pTarget->m_nOrder, m_pListView->m_nDropSlot);
        m_pListView->MoveTiles();
    }
    UpdateHoverFromCursor();
    return Default();
}

void CTargetMiniView::UpdateHoverFromCursor() {
    POINT ptCursor{};
    if (!::GetCursorPos(&ptCursor)) {
        return;
    }
    const POINT pt = ScreenToClient(ptCursor);
    if (!IsPointerOverTile(Point{pt.x, pt.y}, VisibleRect(), MainBottomInClient(), Scale())) {
        SetHover(false);
    }
}

UINT CTargetMiniView::TrackBadgeMenu() {
    const CMenuHandle menu = CMenuHandle::CreatePopup();
    if (!menu) {
        return 0;
    }
    ::AppendMenuW(menu.Get(), MF_STRING, ID_TILE_EDIT, L"&Edit");
    ::AppendMenuW(menu.Get(), MF_STRING, ID_TILE_REMOVE, L"&Remove");
    const RECT rcBadge = BadgeRECT();
    const POINT pt = ClientToScreen(POINT{rcBadge.left, rcBadge.bottom});
    ITileHost* pHost = m_pListView->TileHost();
    const HWND hOwner = pHost != nullptr ? pHost->MainWindow() : m_hWnd;
    const CTileModalScope busy(*this);
    const UINT uCommand = static_cast<UINT>(
        ::TrackPopupMenu(menu.Get(), TPM_RETURNCMD, pt.x, pt.y, 0, hOwner, nullptr));
    return m_pTarget != nullptr ? uCommand : 0;
}

void CTargetMiniView::RunBadgeCommand(UINT uCommand) {
    if (m_pTarget == nullptr) {
        return;
    }
    if (uCommand == ID_TILE_EDIT) {
        EditTarget();
    } else if (uCommand == ID_TILE_REMOVE) {
        RemoveTarget();
    }
}

void CTargetMiniView::EditTarget() {
    ITileHost* pHost = m_pListView->TileHost();
    ITargetEditorHost* pEditorHost = m_pListView->EditorHost();
    if (pHost == nullptr || pEditorHost == nullptr) {
        return;
    }
    CTargetEditDlg dlg(*m_pTarget, *pEditorHost);
    {
        const CTileModalScope busy(*this);
        m_pOpenEditor = &dlg;
        dlg.DoModal(pHost->MainWindow());
        m_pOpenEditor = nullptr;
    }
    if (m_pTarget == nullptr) {
        return;  // the tile went while the editor was open
    }
    m_pListView->MoveTiles();
    pHost->UpdatePlayButton();
}

void CTargetMiniView::RemoveTarget() {
    CTargetListView& listView = *m_pListView;
    ITileHost* pHost = listView.TileHost();
    std::unique_ptr<CTargetObj> pRemoved = listView.m_pTargetList->Remove(m_pTarget);
    if (!pRemoved) {
        return;
    }
    const int nOrder = pRemoved->m_nOrder;
    // The tile leaves the list view's keeping before its target goes, so no stale key remains.
    std::unique_ptr<CTargetMiniView> pSelf = listView.DetachTile(*pRemoved);
    m_pTarget = nullptr;
    pRemoved.reset();
    listView.RenumberAfterRemove(nOrder);
    listView.MoveTiles();
    if (pHost != nullptr) {
        pHost->UpdatePlayButton();
    }
    DestroyWindow();
    if (pSelf) {
        // This object is still running its handler: the list view deletes it afterwards.
        listView.RetireTile(std::move(pSelf));
    }
}

LRESULT CTargetMiniView::OnDestroy(WPARAM, LPARAM) {
    // The target may go right after its tile: an open editor or menu lets go of it now.
    m_pTarget = nullptr;
    if (m_pOpenEditor != nullptr) {
        m_pOpenEditor->Abandon();
    } else if (m_nModalDepth > 0) {
        ::EndMenu();
    }
    return Default();
}
