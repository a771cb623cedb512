// CTrayIcon: the panel's one notification-area icon, from set-up until "Exit".
#pragma once

#include <windows.h>

#include <shellapi.h>

class CTrayIcon {
public:
    static constexpr UINT kIconId = 130;

    CTrayIcon() = default;
    // An icon still shown when its owner goes is removed, so that no dead icon stays behind.
    ~CTrayIcon() { Remove(); }
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon with the tip "Tarvik"; its mouse messages arrive at `hOwner` as
    // `uCallbackMessage`. The icon is borrowed and must outlive the tray icon.
    bool Add(HWND hOwner, UINT uCallbackMessage, HICON hIcon);
    void Remove();
    bool IsShown() const { return m_bAdded; }

private:
    NOTIFYICONDATAW m_nid{};
    bool m_bAdded = false;
};
