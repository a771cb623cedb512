// The black-out rule of a screen grab, and the filling of the blacked-out rectangles.
#include "engine/GrabBlackout.h"

#include <algorithm>

namespace {

// The main window that stands for the program in `nViewMode`, if any.
std::optional<Rect> MainWindowRect(const BlackoutInput& input) {
    switch (input.nViewMode) {
        case kGrabViewCommon:
            return input.rcPanel;
        case kGrabViewFlyWindow:
            return input.rcFly;
        default:
            return std::nullopt;
    }
}

bool CoversAMonitor(const Rect& rc, const DesktopLayout& layout) {
    return std::any_of(layout.monitors.begin(), layout.monitors.end(), [&](const MonitorArea& m) {
        const Rect& rcMon = m.rcMonitor;
        return rcMon.left < rcMon.right && rcMon.top < rcMon.bottom && rc.left <= rcMon.left &&
               rc.top <= rcMon.top && rc.right >= rcMon.right && rc.bottom >= rcMon.bottom;
    });
}

}  // namespace

std::vector<Rect> BlackoutRects(const BlackoutInput& input) {
    std::vector<Rect> rects;
    if (input.mode == GrabMode::Play) {
        if (input.rcTiles && input.nViewMode == kGrabViewCommon) {
            rects.push_back(*input.rcTiles);
        }
        // A window of ours covering a whole monitor (such as the selection overlay) covers the
        // panel; and while another program is active our windows are searched like the rest of
        // the desktop.
        if (!input.bOwnWindowActive || CoversAMonitor(input.rcActive, input.layout)) {
            return rects;
        }
        if (const auto rcMain = MainWindowRect(input)) {
            rects.push_back(*rcMain);
        }
        return rects;
    }
    if (const auto rcMain = MainWindowRect(input)) {
        rects.push_back(*rcMain);
    }
    if (input.rcEditor) {
        rects.push_back(*input.rcEditor);
    }
    return rects;
}

void BlackOut(PixelBuffer& screen, std::span<const Rect> rects) {
    for (const Rect& rc : rects) {
        const int32_t left = std::max(rc.left, 0);
        const int32_t top = std::max(rc.top, 0);
        const int32_t right = std::min(rc.right, screen.Width());
        const int32_t bottom = std::min(rc.bottom, screen.Height());
        if (right <= left || bottom <= top) {
            continue;
        }
        for (int32_t y = top; y < bottom; ++y) {
            std::fill(screen.Row(y) + left, screen.Row(y) + right, 0u);
        }
    }
}

void BlackOut(DesktopImage& screen, std::span<const Rect> desktopRects) {
    for (const Rect& rc : desktopRects) {
        const Rect rcImage = DesktopToImage(rc, screen.origin);
        BlackOut(screen.pixels, std::span<const Rect>(&rcImage, 1));
    }
}
