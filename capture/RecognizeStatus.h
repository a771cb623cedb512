// What the Target Editor's status line says after a recognition test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/NearestMatch.h"
#include "engine/PixelBuffer.h"

// "Found at (x, y), clicks at (cx, cy)": where the picture was found (its top-left) and the point
// a click would go to (its centre plus the shift), both in desktop pixels.
std::string FoundStatusText(Point topLeft, Point click);

// "Not on the screen", and on a second line where the picture comes nearest (its top-left) and
// "N of M pixels differ" there; the first line only when there is no place to compare.
std::string NotFoundStatusText(const std::optional<NearestMatch>& nearest);
