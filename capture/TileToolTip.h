// CTileToolTip: the one tooltip window of the list view's tiles, which names each tile's target.
#pragma once

#include <windows.h>

#include <string>

class CTileToolTip {
public:
    CTileToolTip() = default;
    // Destroys the tooltip window if it is still there.
    ~CTileToolTip();
    CTileToolTip(const CTileToolTip&) = delete;
    CTileToolTip& operator=(const CTileToolTip&) = delete;

    // Makes the tooltip for the tiles of `hListView` (owned by the list view's top-level window).
    // False when it could not be made; the tiles then have no tooltip.
    bool Create(HWND hListView);
    // Destroys the tooltip window; before the list view's window goes.
    void Destroy();

    // Shows `strText` over the tile `hTile` (a child of the list view), adding it on first use.
    void SetTileText(HWND hTile, const std::wstring& strText);
    // Forgets a tile whose window goes.
    void RemoveTile(HWND hTile);

    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
    HWND m_hListView = nullptr;
};
