// The program's icons, drawn at any of the sizes the icon files carry.
#pragma once

#include "tools/resgen/Canvas.h"

namespace resgen {

enum class IconPicture {
    App,           // reticle over a pointer arrow
    SelectTarget,  // dashed selection frame with a crosshair
    Hide,          // x
    FlyWindow,     // up chevron
    File,          // document with a folded corner
    Help,          // question mark in a disc
    Play,          // green triangle
    Playing,       // red stop square
    Settings,      // gear
    PlayDisabled,  // grey triangle
    Document,      // .trvk file: page with a folded corner and the reticle on it
};

// The icon at size x size pixels (12 to 255), transparent around the drawing.
Canvas DrawIcon(IconPicture picture, int size);

}  // namespace resgen
