// Screen pixels to the 0 ... 65535 coordinates of absolute synthetic mouse moves, and back.
#pragma once

#include <cstdint>

#include "engine/PixelBuffer.h"

// The system turns an absolute coordinate v back into the pixel floor(v * extent / 65536). This
// returns, per axis, the smallest v that lands exactly on the given pixel: ceil(x * 65536 /
// extent). The plain x * 65535 / extent would land one pixel up and to the left of almost every
// point, and a click one pixel off is a click on the wrong thing for a one-pixel-wide target.
// Points off the screen keep their out-of-range results (negative, or above 65535): nothing
// corrects a click point that a large click shift puts off the screen. The arithmetic is 64-bit,
// so large coordinates do not overflow; a result beyond int32 saturates. A width or height of
// zero or less gives 0 for that coordinate.
Point NormaliseAbsolute(Point ptScreen, int32_t nScreenWidth, int32_t nScreenHeight);

// The pixel the system puts the pointer on for the absolute coordinate v: floor(v * extent /
// 65536). NormaliseAbsolute's inverse on the screen.
int32_t PixelOfAbsolute(int32_t nAbsolute, int32_t nScreenExtent);

// Desktop point to the absolute coordinates of a move flagged MOUSEEVENTF_VIRTUALDESK, which
// measures 0 ... 65535 across the virtual screen `rcVirtual` (every monitor's bounding box, in
// desktop pixels). Windows and Wine both map such a coordinate v back to the pixel
// rcVirtual.left + floor(v * width / 65536) (Wine: `rc.left + ((dx * width) >> 16)`), so this is
// NormaliseAbsolute of the point relative to the virtual screen's top-left: the smallest v that
// lands exactly on the point. Every pixel of a virtual screen up to 65536 pixels wide and high
// gets its own v within 0 ... 65535.
Point NormaliseVirtualDesk(Point ptDesktop, const Rect& rcVirtual);

// The desktop pixel the system puts the pointer on for the virtual-desk absolute coordinates
// `ptAbsolute`: NormaliseVirtualDesk's inverse.
Point DesktopPointOfAbsolute(Point ptAbsolute, const Rect& rcVirtual);
