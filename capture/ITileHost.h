// ITileHost: what the tile column needs of the panel that holds it.
#pragma once

#include <windows.h>

class ITileHost {
public:
    // The window that holds the list view: its rectangle bounds the hover, it owns the tile's
    // menu and becomes active after a click on a tile.
    virtual HWND MainWindow() const = 0;
    // After the list changed from a tile (a removal, an edit): enables Play while the list has
    // targets and shows the matching icon.
    virtual void UpdatePlayButton() = 0;

protected:
    ~ITileHost() = default;
};
