// The capture overlay's work per pointer move during a drag: recomposing the whole frame (all of
// the dimmed screen, then the bright selection) against copying only what the move changed.
#include "bench/BenchSections.h"
#include "bench/BenchUtil.h"
#include "capture/DragRepaint.h"
#include "capture/Selection.h"

#include <cstdint>
#include <vector>

namespace {

struct DragScreen {
    const char* name;
    int32_t width;
    int32_t height;
};

// A drag as a hand makes it: from a press point out to a 480 x 320 selection in 4-pixel steps,
// then back in by half, as when the user overshoots.
std::vector<Rect> DragPath(Point press) {
    std::vector<Rect> path;
    for (int32_t step = 1; step <= 120; ++step) {
        path.push_back(
            NormaliseRect({press.x, press.y, press.x + step * 4, press.y + step * 8 / 3}));
    }
    for (int32_t step = 120; step >= 60; --step) {
        path.push_back(
            NormaliseRect({press.x, press.y, press.x + step * 4, press.y + step * 8 / 3}));
    }
    return path;
}

int64_t AreaOf(const Rect& rc) {
    return IsEmptyRect(rc) ? 0 : int64_t{rc.right - rc.left} * (rc.bottom - rc.top);
}

}  // namespace

void RunDragBench(const BenchOptions& options, std::ostream& out) {
    out << "== drag: the overlay's frame per pointer move (bytes copied, time per move) ==\n";
    const DragScreen screens[] = {{"1920 x 1080", 1920, 1080}, {"3840 x 2160", 3840, 2160}};
    Table table({"screen", "moves", "whole frame: bytes", "time", "changed only: bytes", "time",
                 "invalidated"});
    for (const DragScreen& screen : screens) {
        PixelBuffer dimmed(screen.width, screen.height);
        PixelBuffer bright(screen.width, screen.height);
        for (int32_t y = 0; y < screen.height; ++y) {
            for (int32_t x = 0; x < screen.width; ++x) {
                bright.Set(x, y, static_cast<uint32_t>(x * 7 + y * 13) & 0x00FFFFFF);
                dimmed.Set(x, y, static_cast<uint32_t>(x * 3 + y * 5) & 0x00FFFFFF);
            }
        }
        const std::vector<Rect> path = DragPath({screen.width / 3, screen.height / 3});
        const double moves = static_cast<double>(path.size());

        double wholeBytes = 0;
        PixelBuffer frame = dimmed;
        const double wholeSeconds = MedianSeconds(options.runs, [&] {
            wholeBytes = 0;
            for (const Rect& rc : path) {
                CopyBlock(frame, dimmed, {0, 0, screen.width, screen.height});
                CopyBlock(frame, bright, rc);
                wholeBytes += static_cast<double>(dimmed.SizeInBytes() + AreaOf(rc) * 4);
            }
        });

        double changedBytes = 0;
        double invalidatedPixels = 0;
        frame = dimmed;
        Rect rcOld{};
        const double changedSeconds = MedianSeconds(options.runs, [&] {
            // Back to no selection the same way, so that no run pays for a whole-screen copy.
            ApplyDragRepaint(frame, dimmed, bright,
                             PlanDragRepaint(rcOld, {}, screen.width, screen.height));
            rcOld = Rect{};
            changedBytes = 0;
            invalidatedPixels = 0;
            for (const Rect& rc : path) {
                const DragRepaint plan = PlanDragRepaint(rcOld, rc, screen.width, screen.height);
                ApplyDragRepaint(frame, dimmed, bright, plan);
                for (const Rect& piece : plan.restoreDimmed.Span()) {
                    changedBytes += static_cast<double>(AreaOf(piece) * 4);
                }
                for (const Rect& piece : plan.copyBright.Span()) {
                    changedBytes += static_cast<double>(AreaOf(piece) * 4);
                }
                invalidatedPixels += static_cast<double>(AreaOf(plan.rcInvalidate));
                rcOld = rc;
            }
        });
        if (frame != ComposeDragFrame(dimmed, bright, path.back())) {
            out << "drag: the incremental frame differs from the composed one\n";
        }
        table.AddRow({screen.name, Fixed(moves, 0), Megabytes(wholeBytes / moves),
                      Fixed(wholeSeconds / moves * 1e6, 0) + " us",
                      Fixed(changedBytes / moves / 1e3, 1) + " kB",
                      Fixed(changedSeconds / moves * 1e6, 1) + " us",
                      Fixed(invalidatedPixels / moves / 1e3, 1) + " kpx"});
    }
    table.Print(out);
    out << "(per move; the whole-frame time also pays the paint of the whole screen, the\n"
           " changed-only paint covers only the invalidated bounds of the old and new selection)\n";
}
