// ITileHost: what a target tile needs of the panel that lays the tiles out.
#pragma once

#include <windows.h>

class ITileHost {
public:
    // The window that holds the list view: its rectangle bounds the hover, it owns the tile's
    // menu and becomes active after a click on a tile.
    virtual HWND MainWindow() const = 0;
    // Moves every tile to the place of its order with the current scroll offset.
    virtual void MoveTiles() = 0;
    // Enables Play while the list has targets and shows the matching icon.
    virtual void UpdatePlayButton() = 0;
    // After the target of order `nRemovedSlot` has left the list: closes the gap in the orders
    // and lays the tiles out again.
    virtual void RenumberAfterRemove(int nRemovedSlot) = 0;
    // Ends the drop feedback and moves the target of order `nFromSlot` in front of insertion
    // point `nInsertBefore` (0 ... count, counted before the move).
    virtual void ReorderTile(int nFromSlot, int nInsertBefore) = 0;

protected:
    ~ITileHost() = default;
};
