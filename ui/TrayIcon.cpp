// The tray icon record and its add and remove calls.
#include "ui/TrayIcon.h"

#include <cwchar>

bool CTrayIcon::Add(HWND hOwner, UINT uCallbackMessage, HICON hIcon) {
    m_nid = NOTIFYICONDATAW{};
    m_nid.cbSize = sizeof(m_nid);
    m_nid.hWnd = hOwner;
    m_nid.uID = kIconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = uCallbackMessage;
    m_nid.hIcon = hIcon;
    std::wcsncpy(m_nid.szTip, L"Tarvik", sizeof(m_nid.szTip) / sizeof(m_nid.szTip[0]) - 1);
    m_bAdded = ::Shell_NotifyIconW(NIM_ADD, &m_nid) != FALSE;
    return m_bAdded;
}

void CTrayIcon::Remove() {
    if (!m_bAdded) {
        return;
    }
    m_nid.hIcon = nullptr;
    m_nid.uFlags = NIF_ICON;
    ::Shell_NotifyIconW(NIM_DELETE, &m_nid);
    m_bAdded = false;
}
