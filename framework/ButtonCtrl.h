// CButtonCtrl: a borrowed button (push, check box or push-like check) seen through its check
// mark, its icon and whether it takes input, instead of raw BM_* messages at every use.
#pragma once

#include <windows.h>

class CButtonCtrl {
public:
    // Borrows `hWnd`: the button's window stays its parent's; null makes every call a no-op
    // (and IsChecked false), as the messages would be.
    explicit CButtonCtrl(HWND hWnd) : m_hWnd(hWnd) {}

    HWND GetSafeHwnd() const { return m_hWnd; }

    void SetCheck(bool bChecked) const {
        ::SendMessageW(m_hWnd, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // Only a full check counts: a third state reads as unchecked.
    bool IsChecked() const { return ::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    // Shows `hIcon` (BS_ICON buttons). The button only borrows it: the caller keeps the icon
    // alive while it shows. Returns the icon shown before.
    HICON SetIcon(HICON hIcon) const {
        return reinterpret_cast<HICON>(
            ::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
    }
    HICON GetIcon() const {
        return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0));
    }

    void Enable(bool bEnable) const { ::EnableWindow(m_hWnd, bEnable ? TRUE : FALSE); }

private:
    HWND m_hWnd;
};
