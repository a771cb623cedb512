// The panel's frame and separator lines as filled bars at the display's scale. Platform-free.
#pragma once

#include "engine/DpiScale.h"
#include "engine/PixelBuffer.h"

#include <cstdint>
#include <vector>

// One bar of the skin: `rc` in client pixels filled with `colour` (0xRRGGBB).
struct PanelSkinBar {
    uint32_t colour;
    Rect rc;

    friend bool operator==(const PanelSkinBar&, const PanelSkinBar&) = default;
};

// The bars of a panel whose client area is nWidth x nHeight real pixels, in painting order (a
// later bar covers an earlier one). At 96 DPI each bar is one of the 1-pixel lines the panel has
// always drawn; at another scale every line is as thick as one 96-DPI pixel there, and lines
// measured from the right or bottom edge stay that far from it.
std::vector<PanelSkinBar> PanelSkinBars(int nWidth, int nHeight, const CDpiScale& scale);

// The painting order splits around the title: bars [0, kPanelSkinBarsBeforeTitle) go under it,
// the rest over it.
inline constexpr std::size_t kPanelSkinBarsBeforeTitle = 13;

// The title image's place at `scale`: 78 x 18 at (3, 5) at 96 DPI.
Rect PanelTitleRect(const CDpiScale& scale);
