// Black where no monitor is: each row is walked from left to right over the monitors it crosses.
#include "engine/UncoveredBlackout.h"

#include <algorithm>
#include <cstddef>

namespace {

void Clear(PixelBuffer& pixels, int32_t nRow, int32_t nFrom, int32_t nTo) {
    uint32_t* pRow =
        pixels.Data() + static_cast<size_t>(nRow) * static_cast<size_t>(pixels.Width());
    std::fill(pRow + nFrom, pRow + nTo, 0u);
}

}  // namespace

void BlackOutUncovered(DesktopImage& image, const DesktopLayout& layout) {
    PixelBuffer& pixels = image.pixels;
    if (layout.monitors.empty() || pixels.IsEmpty()) {
        return;
    }
    const int32_t nWidth = pixels.Width();
    for (int32_t nRow = 0; nRow < pixels.Height(); ++nRow) {
        const int32_t nDesktopY = ImageToDesktop(Point{0, nRow}, image.origin).y;
        // x: the first column of this row not yet known to be on a monitor.
        int32_t x = 0;
        while (x < nWidth) {
            // The monitors of this row: how far one holding x reaches, and where the next begins.
            int32_t nCoveredTo = x;
            int32_t nNextStart = nWidth;
            for (const MonitorArea& monitor : layout.monitors) {
                if (nDesktopY < monitor.rcMonitor.top || nDesktopY >= monitor.rcMonitor.bottom) {
                    continue;
                }
                const Rect rc = DesktopToImage(monitor.rcMonitor, image.origin);
                if (rc.left <= x && x < rc.right) {
                    nCoveredTo = std::max(nCoveredTo, std::min(rc.right, nWidth));
                } else if (rc.left > x) {
                    nNextStart = std::min(nNextStart, rc.left);
                }
            }
            if (nCoveredTo > x) {
                x = nCoveredTo;
            } else {
                Clear(pixels, nRow, x, nNextStart);
                x = nNextStart;
            }
        }
    }
}
