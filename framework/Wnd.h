// CWnd: a borrowed window handle with the few window operations our windows use.
#pragma once

#include <windows.h>

#include <string>

// Does not own the window: copying a CWnd copies the handle, and destroying it leaves the window
// alone. Windows that own their handle derive from CMessageWnd instead.
class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = default;
    CWnd& operator=(const CWnd&) = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    explicit operator bool() const { return m_hWnd != nullptr; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();

    bool ShowWindow(int nCmdShow) const;
    bool IsWindowVisible() const;
    bool EnableWindow(bool bEnable) const;
    bool IsWindowEnabled() const;
    bool SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags) const;
    bool MoveWindow(const RECT& rc, bool bRepaint = true) const;
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    POINT ScreenToClient(POINT pt) const;
    POINT ClientToScreen(POINT pt) const;
    void Invalidate(bool bErase = true) const;
    void InvalidateRect(const RECT& rc, bool bErase = true) const;
    void UpdateWindow() const;

    // Window timers of this window; the id is the class's IDT_ constant.
    bool SetTimer(UINT_PTR uId, UINT uElapseMs) const;
    bool KillTimer(UINT_PTR uId) const;

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND GetDlgItem(int nId) const;
    HWND GetParent() const;
    HWND SetFocus() const;
    std::wstring GetWindowText() const;
    bool SetWindowText(const std::wstring& strText) const;
    // WM_SETICON; the window does not take ownership of the icon. Returns the previous icon.
    HICON SetIcon(HICON hIcon, bool bBigIcon) const;

protected:
    HWND m_hWnd = nullptr;
};
