// CTargetListView: the child window of the panel that holds the current target list and the
// column of target tiles.
#pragma once

#include "capture/TargetMiniView.h"
#include "framework/CustomWnd.h"
#include "model/TargetObjList.h"

#include <map>
#include <memory>

class CTargetListView : public CCustomWndImpl<CTargetListView> {
public:
    CTargetListView();
    ~CTargetListView() override;

    // Creates the window ("RollupCtrl", child id 2) at `rc` in `hParent`, then, whatever the
    // result, a new empty target list.
    bool CreateListView(const RECT& rc, HWND hParent);

    // Creates the tile of `target` at (x, y) of this view and links the target to it.
    CTargetMiniView* CreateTile(CTargetObj& target, int x, int y);
    // Adds a newly captured target to the current list, last in the order, with its tile at
    // its slot under the current scroll offset. The list takes the target.
    CTargetObj& AddTarget(std::unique_ptr<CTargetObj> pTarget);
    // Destroys the tile of `target`, if it has one, and unlinks it.
    void DestroyTile(CTargetObj& target);

    // The current list: always one, except between ClearAllTargets and the caller installing the
    // next.
    std::unique_ptr<CTargetObjList> m_pTargetList;
    int m_nContentHeight = 0;
    // The panel's scroll offset, written by its layout.
    int m_nScrollPos = 0;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    // The tiles, owned here and keyed by their target.
    std::map<const CTargetObj*, std::unique_ptr<CTargetMiniView>> m_tiles;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CTargetListView> s_messages[] = {
        {WM_PAINT, &CTargetListView::OnPaint},
    };
};
