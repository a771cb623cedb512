// The fly window: shows the application icon, moves with the pointer, and brings the panel back
// on a double-click.
#include "ui/FlyWnd.h"

#include "framework/PaintDC.h"
#include "ui/SnipDlg.h"

#include "resource.h"

namespace {

constexpr int kFlySize = 40;
constexpr int kIconSize = 32;
constexpr int kIconOffset = 3;

}  // namespace

CFlyWnd::CFlyWnd(CSnipDlg& mainDlg) : CDialogImpl<CFlyWnd>(IDD_FLY_WINDOW), m_mainDlg(mainDlg) {}

BOOL CFlyWnd::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetWindowPos(HWND_TOP, 0, 0, kFlySize, kFlySize, SWP_NOMOVE | SWP_NOACTIVATE);
    m_hIcon = CIcon::Load(IDR_MAINFRAME, kIconSize, kIconSize);
    return TRUE;
}

LRESULT CFlyWnd::OnLButtonDown(WPARAM, LPARAM) {
    // Lets the system drag the window with the pointer until the button is released.
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION);
    return 0;
}

LRESULT CFlyWnd::OnLButtonDblClk(WPARAM, LPARAM) {
    const RECT rc = GetWindowRect();
    // The mode goes first: while it is not Common the panel refuses to be shown.
    m_mainDlg.SetViewModeOnly(CSnipDlg::kViewCommon);
    m_mainDlg.SetWindowPos(HWND_TOP, rc.left, rc.top, 0, 0, SWP_NOSIZE);
    m_mainDlg.ShowWindow(SW_SHOW);
    ShowWindow(SW_HIDE);
    return Default();
}

LRESULT CFlyWnd::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(m_hWnd);
    if (m_hIcon) {
        ::DrawIconEx(dc.Get(), kIconOffset, kIconOffset, m_hIcon.Get(), kIconSize, kIconSize, 0,
                     nullptr, DI_NORMAL);
    }
    return 0;
}
