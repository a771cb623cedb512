// Desktop coordinates: where a screen picture lies on the desktop, and the monitors that make up
// the desktop. The one place that converts between picture and desktop pixels. Platform-free.
#pragma once

#include <vector>

#include "engine/PixelBuffer.h"

// Desktop pixels are the virtual screen's: the primary monitor's top-left is (0, 0), so a place
// on it means what it always meant; other monitors may lie at negative x or y.

// A picture of the desktop (or of a part of it) and the desktop point of its pixel (0, 0).
// Rows are top-down.
struct DesktopImage {
    PixelBuffer pixels;
    Point origin;
};

// One monitor: its whole rectangle and its work area (without the taskbar), desktop pixels.
struct MonitorArea {
    Rect rcMonitor;
    Rect rcWork;
    bool bPrimary = false;
    friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// The monitors of the desktop, in the order the system lists them.
struct DesktopLayout {
    std::vector<MonitorArea> monitors;

    // The smallest rectangle holding every monitor (the virtual screen); empty (all zero) when
    // there is no monitor.
    Rect VirtualRect() const;
};

// The desktop point of picture pixel `ptImage` of a picture whose pixel (0, 0) lies at `origin`,
// and back. The arithmetic is 64-bit; a result beyond int32 keeps its nearest int32 limit.
Point ImageToDesktop(Point ptImage, Point origin);
Point DesktopToImage(Point ptDesktop, Point origin);
Rect ImageToDesktop(const Rect& rcImage, Point origin);
Rect DesktopToImage(const Rect& rcDesktop, Point origin);

// The desktop rectangle a picture covers.
Rect DesktopRectOf(const DesktopImage& image);
