// CFlyWnd: the small always-on-top square of the "Fly window" view mode.
#pragma once

#include "engine/DpiScale.h"
#include "framework/DialogEx.h"
#include "framework/Icon.h"

class CSnipDlg;

class CFlyWnd : public CDialogImpl<CFlyWnd> {
public:
    explicit CFlyWnd(CSnipDlg& mainDlg);

    // The scale the window is sized and drawn at.
    const CDpiScale& Scale() const { return m_scale; }

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    // Moved to a monitor of another DPI: the suggested rectangle and an icon for the new size.
    void OnDpiChanged(UINT nDpi, const RECT& rcSuggested);
    void LoadAppIcon();

    CSnipDlg& m_mainDlg;
    CDpiScale m_scale;
    CIcon m_hIcon;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CFlyWnd> s_messages[] = {
        {WM_LBUTTONDOWN, &CFlyWnd::OnLButtonDown},
        {WM_LBUTTONDBLCLK, &CFlyWnd::OnLButtonDblClk},
        {WM_PAINT, &CFlyWnd::OnPaint},
        DpiChangedEntry<&CFlyWnd::OnDpiChanged>(),
    };
};
