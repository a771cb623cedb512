// The title image: the product's name as a small anti-aliased wordmark.
#pragma once

#include "tools/resgen/Canvas.h"

namespace resgen {

// 78 x 18 opaque picture of the word "Tarvik" in dark grey on white. The panel copies it with
// a bitwise AND, so white must stay pure white and the letters only darken.
Canvas DrawTitle();

}  // namespace resgen
