// Conversions between picture and desktop pixels.
#include "engine/DesktopCoords.h"

#include <algorithm>

Rect DesktopLayout::VirtualRect() const {
    if (monitors.empty()) {
        return Rect{};
    }
    Rect rc = monitors.front().rcMonitor;
    for (const MonitorArea& monitor : monitors) {
        rc.left = std::min(rc.left, monitor.rcMonitor.left);
        rc.top = std::min(rc.top, monitor.rcMonitor.top);
        rc.right = std::max(rc.right, monitor.rcMonitor.right);
        rc.bottom = std::max(rc.bottom, monitor.rcMonitor.bottom);
    }
    return rc;
}

Point ImageToDesktop(Point ptImage, Point origin) {
    return Point{ClampToInt32(int64_t{ptImage.x} + origin.x),
                 ClampToInt32(int64_t{ptImage.y} + origin.y)};
}

Point DesktopToImage(Point ptDesktop, Point origin) {
    return Point{ClampToInt32(int64_t{ptDesktop.x} - origin.x),
                 ClampToInt32(int64_t{ptDesktop.y} - origin.y)};
}

Rect ImageToDesktop(const Rect& rcImage, Point origin) {
    const Point topLeft = ImageToDesktop(Point{rcImage.left, rcImage.top}, origin);
    const Point bottomRight = ImageToDesktop(Point{rcImage.right, rcImage.bottom}, origin);
    return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

Rect DesktopToImage(const Rect& rcDesktop, Point origin) {
    const Point topLeft = DesktopToImage(Point{rcDesktop.left, rcDesktop.top}, origin);
    const Point bottomRight = DesktopToImage(Point{rcDesktop.right, rcDesktop.bottom}, origin);
    return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

Rect DesktopRectOf(const DesktopImage& image) {
    return ImageToDesktop(Rect{0, 0, image.pixels.Width(), image.pixels.Height()}, image.origin);
}
