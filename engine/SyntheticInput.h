// Synthetic pointer and key input sent with SendInput: the play loop's moves and clicks.
#pragma once

#include "engine/PixelBuffer.h"

#include <windows.h>

// Absolute pointer moves and left-button events through one reused input record.
class CSyntheticMouse {
public:
    // Moves the pointer to the desktop pixel `pt`, on whichever monitor it lies (see
    // NormaliseVirtualDesk). A point off every monitor is sent as it is; the system keeps the
    // pointer on the desktop.
    void MoveTo(Point pt);
    // Primary button events where the last move put the pointer: the record keeps the last
    // move's coordinates but has no move flag, so the pointer stays where it is. The primary
    // button is the right one while the buttons are swapped (a left-handed user): a synthetic
    // event names the physical button, and a left one would then be taken as a right click.
    void ButtonDown();
    void ButtonUp();

private:
    void Send(DWORD dwFlags);

    INPUT m_input{};
    // The release that matches the last press, until it is sent.
    DWORD m_dwUpFlags = 0;
};

// The virtual key of the physical button that acts as the primary one now: VK_RBUTTON while the
// buttons are swapped, else VK_LBUTTON. GetAsyncKeyState reads physical buttons.
int PrimaryButtonKey();

// The key sequence that leaves a tablet's start screen for the desktop: left Windows key down,
// Tab down and up, Windows key up, with pauses of 100, 100, 100 and 200 ms. Blocks for 500 ms.
void SendWinTab();
// The same four keys with pauses of 50 ms between them and none after: the capture's quicker
// switch, which must not hold the overlay up. Blocks for 150 ms.
void SendWinTabQuick();
