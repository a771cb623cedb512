// The fly window: shows the application icon, moves with the pointer, and brings the panel back
// on a double-click.
#include "ui/FlyWnd.h"

#include "engine/WindowDpi.h"
#include "framework/PaintDC.h"
#include "ui/SnipDlg.h"

#include "resource.h"

namespace {

// Sizes at 96 DPI.
constexpr int kFlySize = 40;
constexpr int kIconSize = 32;
constexpr int kIconOffset = 3;

}  // namespace

CFlyWnd::CFlyWnd(CSnipDlg& mainDlg) : CDialogImpl<CFlyWnd>(IDD_FLY_WINDOW), m_mainDlg(mainDlg) {}

BOOL CFlyWnd::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_scale = WindowScale(m_hWnd);
    const int nSize = m_scale.Scale(kFlySize);
    SetWindowPos(HWND_TOP, 0, 0, nSize, nSize, SWP_NOMOVE | SWP_NOACTIVATE);
    LoadAppIcon();
    return TRUE;
}

void CFlyWnd::LoadAppIcon() {
    const int nSize = m_scale.Scale(kIconSize);
    m_hIcon = CIcon::Load(IDR_MAINFRAME, nSize, nSize);
}

void CFlyWnd::OnDpiChanged(UINT nDpi, const RECT& rcSuggested) {
    m_scale = CDpiScale(static_cast<int>(nDpi));
    SetWindowPos(nullptr, rcSuggested.left, rcSuggested.top, rcSuggested.right - rcSuggested.left,
                 rcSuggested.bottom - rcSuggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LoadAppIcon();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
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
        const int nOffset = m_scale.Scale(kIconOffset);
        const int nSize = m_scale.Scale(kIconSize);
        ::DrawIconEx(dc.Get(), nOffset, nOffset, m_hIcon.Get(), nSize, nSize, 0, nullptr,
                     DI_NORMAL);
    }
    return 0;
}
