// CTargetMiniView: the 102 x 64 tile of one target in the list view's column.
#pragma once

#include "framework/CustomWnd.h"

class CTargetObj;

class CTargetMiniView : public CCustomWndImpl<CTargetMiniView> {
public:
    explicit CTargetMiniView(CTargetObj& target) : m_target(target) {}

    bool CreateTile(HWND hListView, int x, int y);

    CTargetObj& Target() const { return m_target; }

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    CTargetObj& m_target;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CTargetMiniView> s_messages[] = {
        {WM_PAINT, &CTargetMiniView::OnPaint},
    };
};
