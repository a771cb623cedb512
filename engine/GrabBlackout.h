// Which parts of a screen grab are blacked out, so that the program never finds its own windows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/DesktopCoords.h"
#include "engine/PixelBuffer.h"

// Why the screen is grabbed: a play step, or the Target Editor's recognition test.
enum class GrabMode { Play, Test };

// The main dialog's view modes, as it stores them.
inline constexpr int kGrabViewCommon = 0;     // the panel is the program's window on screen
inline constexpr int kGrabViewFlyWindow = 1;  // the small fly window stands in for it
inline constexpr int kGrabViewTray = 2;       // only the tray icon is left

// What the black-out rule needs to know about the program's windows, in desktop pixels.
struct BlackoutInput {
    GrabMode mode = GrabMode::Play;
    // Play only: whether the user-interface thread has an active window, and that window's
    // rectangle (an active window covering a whole monitor does not count).
    bool bOwnWindowActive = false;
    Rect rcActive;
    // The monitors, to tell an active window that covers one of them.
    DesktopLayout layout;
    int nViewMode = kGrabViewCommon;
    Rect rcPanel;  // the main dialog
    Rect rcFly;    // the fly window
    // Test only: the Target Editor that asked for the test.
    std::optional<Rect> rcEditor;
    // The column of target tiles, while it is on the screen.
    std::optional<Rect> rcTiles;
};

// The desktop rectangles to black out, unclipped, in this order:
// - play: rcTiles, if given, in the common view, whichever program is active: each tile shows
//   its target's picture as it is, and a search would find and click that copy instead of the
//   one it stands for. Then nothing more unless bOwnWindowActive and rcActive does not cover the
//   whole of some monitor of `layout` (left, top, right and bottom all at or beyond its edges;
//   the whole virtual screen covers them all); then rcPanel in the common view, rcFly in the
//   fly-window view, nothing in the tray view;
// - test: rcPanel or rcFly by the view mode in the same way (nothing in the tray view), then
//   rcEditor if given.
// An unknown view mode blacks out no main window. The sight window is never among them: a test
// taken while it marks a place must see it there.
std::vector<Rect> BlackoutRects(const BlackoutInput& input);

// Sets every pixel of `screen` (top-down, screen coordinates) that lies in one of `rects` to 0.
// Each rectangle covers left <= x < right, top <= y < bottom and is clipped to the picture; a
// rectangle with right <= left or bottom <= top covers nothing.
void BlackOut(PixelBuffer& screen, std::span<const Rect> rects);
// The same for desktop rectangles on a picture of the desktop: each is moved by the picture's
// origin first, so a window at negative desktop coordinates blacks out where it shows.
void BlackOut(DesktopImage& screen, std::span<const Rect> desktopRects);
