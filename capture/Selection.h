// The selection arithmetic of the capture overlay: from a drag (or a click) to the target and
// area rectangles, and the pictures cut out of the frozen screen.
#pragma once

#include "engine/DesktopCoords.h"
#include "engine/PixelBuffer.h"

#include <vector>

// A click without a drag selects a square of this side around the release point.
inline constexpr int32_t kClickSelectionSize = 10;
// The area picture's side; it is centred on the selection's centre.
inline constexpr int32_t kAreaSize = 100;

// The rectangle between two corners given in any order: left <= right, top <= bottom.
Rect NormaliseRect(const Rect& rc);

struct Selection {
    Rect rcTarget;  // screen pixels, right and bottom exclusive; never empty
    Rect rcArea;    // kAreaSize x kAreaSize around the target's centre; may reach off the screen
};

// The selection a release ends. `rcDragged` holds the press point in (left, top) and the release
// point in (right, bottom). A click (both points equal) selects the 10 x 10 square
// (x - 5, y - 5, x + 5, y + 5) around the release point; a drag that is flat in one direction
// only is widened to one pixel there (right = left + 1 or bottom = top + 1), so every target has
// pixels to search for.
Selection FinishSelection(const Rect& rcDragged);

// ((left + right) / 2, (top + bottom) / 2), truncated toward zero.
Point CentreOf(const Rect& rc);

// The pixels of `screen` (top-down rows) inside `rc` (top-down, right and bottom exclusive), as a
// new picture of rc's size; black (0) where rc reaches beyond the screen. An empty or inverted
// rc gives an empty picture.
PixelBuffer CutPicture(const PixelBuffer& screen, const Rect& rc);

// The parts of a frozen picture of the desktop rectangle `rcPicture` that monitors show, in
// picture pixels: each monitor of `layout` clipped to the picture, in the layout's order, those
// that miss it left out. The rest of the picture lies where no monitor is.
std::vector<Rect> MonitorPiecesOf(const Rect& rcPicture, const DesktopLayout& layout);
