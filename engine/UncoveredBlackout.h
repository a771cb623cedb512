// The desktop places no monitor shows, blacked out in a picture of the virtual screen.
#pragma once

#include "engine/DesktopCoords.h"

// Sets to 0 every pixel of `image` whose desktop point lies on no monitor of `layout`: the
// corners the bounding box of an L-shaped layout, or of monitors of different sizes, holds
// beyond every screen. Whatever the system copies there is nobody's picture, and a target must
// never be found in it. A layout without monitors leaves the picture as it is: the system then
// told nothing better than what it copied. Allocates nothing.
void BlackOutUncovered(DesktopImage& image, const DesktopLayout& layout);
