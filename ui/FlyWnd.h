// CFlyWnd: the small always-on-top square of the "Fly window" view mode.
#pragma once

#include "framework/DialogEx.h"
#include "framework/Icon.h"

class CSnipDlg;

class CFlyWnd : public CDialogImpl<CFlyWnd> {
public:
    explicit CFlyWnd(CSnipDlg& mainDlg);

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    CSnipDlg& m_mainDlg;
    CIcon m_hIcon;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CFlyWnd> s_messages[] = {
        {WM_LBUTTONDOWN, &CFlyWnd::OnLButtonDown},
        {WM_LBUTTONDBLCLK, &CFlyWnd::OnLButtonDblClk},
        {WM_PAINT, &CFlyWnd::OnPaint},
    };
};
