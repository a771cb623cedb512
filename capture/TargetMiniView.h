// CTargetMiniView: the tile (102 x 64 at 96 DPI) of one target in the list view's column, with its
// hover badge, the badge's Edit / Remove menu and the drag that reorders the targets.
#pragma once

#include "engine/BitmapEx.h"
#include "engine/DpiScale.h"
#include "framework/CustomWnd.h"

class CTargetEditDlg;
class CTargetListView;
class CTargetObj;

class CTargetMiniView : public CCustomWndImpl<CTargetMiniView> {
public:
    // Creates the tile window at (x, y) of `listView` for `target` and makes its thumbnails
    // (once: they serve every paint). False when the window could not be made.
    bool CreateTile(CTargetListView& listView, CTargetObj& target, int x, int y);

    // Takes the list view's scale: the tile's size and its badge follow it.
    void FitToScale();

    CTargetObj* Target() const { return m_pTarget; }
    bool IsHover() const { return m_bHover; }

    // The badge menu's commands: ID_TILE_EDIT runs the Target Editor; ID_TILE_REMOVE removes the
    // target from the list, deletes it and retires this tile (whose window is then gone).
    void RunBadgeCommand(UINT uCommand);

    // Whether the tile is inside its badge menu or its editor: its object must then outlive
    // its window, which a file command can destroy meanwhile (a hand-over's Load runs on the
    // menu's and the editor's message loops).
    bool IsBusy() const { return m_nModalDepth > 0; }

private:
    friend class CTileModalScope;

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    // Shows the Edit / Remove menu under the badge; the chosen command, or 0.
    UINT TrackBadgeMenu();
    void EditTarget();
    void RemoveTarget();
    // Clears the hover unless the pointer is over the tile now.
    void UpdateHoverFromCursor();
    void SetHover(bool bHover);
    // The bottom edge of the panel in this tile's client coordinates.
    int MainBottomInClient() const;
    // The part of the tile the list view shows, in client coordinates: only there does the
    // pointer hover, and only there does the badge take a click.
    Rect VisibleRect() const;
    const CDpiScale& Scale() const;
    // The badge's rectangle at the tile's scale.
    RECT BadgeRECT() const;

    CTargetListView* m_pListView = nullptr;
    RECT m_rcTile{};
    bool m_bHover = false;
    TargetThumbnails m_thumbnails;
    CTargetObj* m_pTarget = nullptr;
    // The menu or editor under way, and the editor itself while it is open.
    int m_nModalDepth = 0;
    CTargetEditDlg* m_pOpenEditor = nullptr;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CTargetMiniView> s_messages[] = {
        {WM_PAINT, &CTargetMiniView::OnPaint},
        {WM_ERASEBKGND, &CTargetMiniView::OnEraseBkgnd},
        {WM_MOUSEMOVE, &CTargetMiniView::OnMouseMove},
        {WM_LBUTTONUP, &CTargetMiniView::OnLButtonUp},
        {WM_DESTROY, &CTargetMiniView::OnDestroy},
    };
};
