// CWnd: a borrowed window handle with the few window operations our windows use.
#include "framework/Wnd.h"

HWND CWnd::Detach() {
    const HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
}

bool CWnd::ShowWindow(int nCmdShow) const {
    return ::ShowWindow(m_hWnd, nCmdShow) != FALSE;
}

bool CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd) != FALSE;
}

bool CWnd::EnableWindow(bool bEnable) const {
    return ::EnableWindow(m_hWnd, bEnable ? TRUE : FALSE) != FALSE;
}

bool CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd) != FALSE;
}

bool CWnd::SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags) const {
    return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, uFlags) != FALSE;
}

bool CWnd::MoveWindow(const RECT& rc, bool bRepaint) const {
    return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                        bRepaint ? TRUE : FALSE) != FALSE;
}

RECT CWnd::GetClientRect() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT CWnd::GetWindowRect() const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

POINT CWnd::ScreenToClient(POINT pt) const {
    ::ScreenToClient(m_hWnd, &pt);
    return pt;
}

POINT CWnd::ClientToScreen(POINT pt) const {
    ::ClientToScreen(m_hWnd, &pt);
    return pt;
}

void CWnd::Invalidate(bool bErase) const {
    ::InvalidateRect(m_hWnd, nullptr, bErase ? TRUE : FALSE);
}

void CWnd::InvalidateRect(const RECT& rc, bool bErase) const {
    ::InvalidateRect(m_hWnd, &rc, bErase ? TRUE : FALSE);
}

void CWnd::UpdateWindow() const {
    ::UpdateWindow(m_hWnd);
}

bool CWnd::SetTimer(UINT_PTR uId, UINT uElapseMs) const {
    return ::SetTimer(m_hWnd, uId, uElapseMs, nullptr) != 0;
}

bool CWnd::KillTimer(UINT_PTR uId) const {
    return ::KillTimer(m_hWnd, uId) != FALSE;
}

LRESULT CWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

bool CWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam) != FALSE;
}

HWND CWnd::GetDlgItem(int nId) const {
    return ::GetDlgItem(m_hWnd, nId);
}

HWND CWnd::GetParent() const {
    return ::GetParent(m_hWnd);
}

HWND CWnd::SetFocus() const {
    return ::SetFocus(m_hWnd);
}

std::wstring CWnd::GetWindowText() const {
    const int nLength = ::GetWindowTextLengthW(m_hWnd);
    if (nLength <= 0) {
        return {};
    }
    std::wstring strText(static_cast<size_t>(nLength) + 1, L'\0');
    const int nCopied = ::GetWindowTextW(m_hWnd, strText.data(), nLength + 1);
    strText.resize(static_cast<size_t>(nCopied > 0 ? nCopied : 0));
    return strText;
}

bool CWnd::SetWindowText(const std::wstring& strText) const {
    return ::SetWindowTextW(m_hWnd, strText.c_str()) != FALSE;
}

HICON CWnd::SetIcon(HICON hIcon, bool bBigIcon) const {
    return reinterpret_cast<HICON>(::SendMessageW(
        m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}
