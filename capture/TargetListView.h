// CTargetListView: the child window of the panel that holds the current target list and the
// column of target tiles, paints the column, its passive scroll thumb and the drop marker of a
// tile drag.
#pragma once

#include "capture/ITargetEditorHost.h"
#include "capture/ITileHost.h"
#include "capture/TargetMiniView.h"
#include "capture/TileToolTip.h"
#include "engine/DpiScale.h"
#include "framework/CustomWnd.h"
#include "model/TargetObjList.h"

#include <map>
#include <memory>
#include <vector>

class CTargetListView : public CCustomWndImpl<CTargetListView> {
public:
    CTargetListView();
    ~CTargetListView() override;

    // The panel's services the tiles and the Target Editor use. Borrowed: they must outlive the
    // tiles. Set before the first tile is made.
    void SetHosts(ITileHost& tileHost, ITargetEditorHost& editorHost) {
        m_pTileHost = &tileHost;
        m_pEditorHost = &editorHost;
    }
    ITileHost* TileHost() const { return m_pTileHost; }

    // The display scale the column and its tiles are drawn at; the panel sets it when it is laid
    // out and when its DPI changes. A new scale resizes the tiles, keeps the scrolled part of the
    // column in proportion and lays the tiles out again.
    void SetScale(const CDpiScale& scale);
    const CDpiScale& Scale() const { return m_scale; }
    ITargetEditorHost* EditorHost() const { return m_pEditorHost; }

    // Creates the window ("RollupCtrl", child id 2) at `rc` in `hParent`, then, whatever the
    // result, a new empty target list.
    bool CreateListView(const RECT& rc, HWND hParent);

    // Adds a captured target at the end of the order (m_nOrder = the old count) with a new tile
    // at its unscrolled place; the caller lays the tiles out afterwards. Always true.
    bool AddTarget(std::unique_ptr<CTargetObj> pTarget);

    // Creates the tile of `target` at (x, y) of this view; null when the window could not be made
    // (the target then has no tile).
    CTargetMiniView* CreateTile(CTargetObj& target, int x, int y);
    // The tile showing `target`, or null when it has none.
    CTargetMiniView* TileOf(const CTargetObj& target) const;
    // The tile of the target of order `nSlot`, or null when no target has that order or it has no
    // tile.
    CTargetMiniView* TileAt(int nSlot) const;
    // Destroys the tile of `target`, if it has one, and forgets it.
    void DestroyTile(CTargetObj& target);
    // For a tile that removes itself from inside its own handler: forgets the tile of `target`
    // and hands it over; the tile destroys its window and gives itself back with RetireTile.
    std::unique_ptr<CTargetMiniView> DetachTile(CTargetObj& target);
    // Deletes the tile once its handler has returned (a posted message).
    void RetireTile(std::unique_ptr<CTargetMiniView> pTile);
    // Posts the deletion of the retired tiles that are no longer busy.
    void FreeRetiredTilesLater();

    // Destroys every tile and the list itself (m_pTargetList is null afterwards), scrolls back to
    // the top and ends a drag under way with its list.
    void ClearTargets();
    // Creates a tile for every target of the current list at its unscrolled place; the caller
    // lays the tiles out afterwards.
    void CreateTiles();

    // The height in which the tiles show; the next layout keeps the column within it.
    void SetVisibleHeight(int nHeight) { m_nVisibleHeight = nHeight; }
    // Scrolls by `nDelta` pixels (positive: the tiles move down) and lays the tiles out again
    // within the ends.
    void ScrollBy(int nDelta);
    // Scrolls for one WM_MOUSEWHEEL delta.
    void ScrollByWheel(int nWheelDelta);
    // Takes the content height from the list, clamps the scroll offset, moves the tiles and
    // repaints the scroll track at once.
    void RelayoutTiles();
    // Moves every tile to the place of its order with the current scroll offset and gives the
    // tooltips the current numbers and names.
    void MoveTiles();
    // After the target of order `nRemovedSlot` has left the list: closes the gap in the orders
    // and lays the tiles out again.
    void RenumberAfterRemove(int nRemovedSlot);
    // Ends the drop feedback and moves the target of order `nFromSlot` in front of insertion
    // point `nInsertBefore` (0 ... count, counted before the move); the caller moves the tiles.
    void ReorderTile(int nFromSlot, int nInsertBefore);
    int ScrollPos() const { return m_nScrollPos; }

    // Shows the drop marker at the insertion point nearest to screen y for the dragged target.
    void DragOver(CTargetObj* pTarget, int nScreenY);
    // Ends the drop feedback.
    void HideDropMarker();
    // The insertion point (0 ... count) for a pointer at screen y; also kept in m_nDropSlot.
    int SlotFromScreenY(int nScreenY);
    // Repaints the scroll track, after the scroll offset or the content height changed.
    void InvalidateScrollTrack();
    // Gives every tile's tooltip its target's number and name as they are now: after a rename,
    // a reorder or a removal.
    void UpdateTileTips();
    // The tiles' tooltip window (null when it could not be made).
    HWND ToolTipWindow() const { return m_toolTip.Get(); }

    // The current list: always one, except between ClearTargets and the caller installing the
    // next.
    std::unique_ptr<CTargetObjList> m_pTargetList;
    CTargetObj* m_pDragTarget = nullptr;  // not owned; informational
    RECT m_rcLastMarker{};
    int m_nDropMarkerY = 0;
    int m_nContentHeight = 0;
    // The column's scroll offset: 0 at the top, negative when scrolled down.
    int m_nScrollPos = 0;
    bool m_bDropMarker = false;
    int m_nDropSlot = 0;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnFreeRetiredTiles(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    void UpdateTileTip(const CTargetObj& target);

    int m_nVisibleHeight = 0;
    CDpiScale m_scale;
    ITileHost* m_pTileHost = nullptr;
    ITargetEditorHost* m_pEditorHost = nullptr;
    // The tiles, owned here and keyed by their target.
    std::map<const CTargetObj*, std::unique_ptr<CTargetMiniView>> m_tiles;
    // Tiles whose windows are gone, kept until their last handler has returned.
    std::vector<std::unique_ptr<CTargetMiniView>> m_retiredTiles;
    // Names each tile's target; goes with this view's window.
    CTileToolTip m_toolTip;

    // Posted by RetireTile.
    static constexpr UINT WM_FREE_RETIRED_TILES = WM_APP + 1;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CTargetListView> s_messages[] = {
        {WM_PAINT, &CTargetListView::OnPaint},
        {WM_FREE_RETIRED_TILES, &CTargetListView::OnFreeRetiredTiles},
        {WM_DESTROY, &CTargetListView::OnDestroy},
    };
};
