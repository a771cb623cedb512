// The colours every Tarvik picture draws with, so that the icons read as one set.
#pragma once

#include "tools/resgen/Canvas.h"

namespace resgen {

inline constexpr Rgb kInk{60, 64, 70};          // dark grey: outlines, glyphs, lettering
inline constexpr Rgb kAccent{0, 120, 154};      // deep teal: the product's own colour
inline constexpr Rgb kGo{40, 158, 68};          // Play
inline constexpr Rgb kStop{206, 52, 44};        // Playing (press to stop)
inline constexpr Rgb kDisabled{172, 172, 172};  // Play with an empty list
inline constexpr Rgb kWhite{255, 255, 255};

}  // namespace resgen
