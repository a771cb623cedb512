// The panel's move by its top strip and its resize by its bottom edge, as a state machine fed
// with mouse messages. Platform-free: the window code applies the actions it returns.
#pragma once

#include "engine/DpiScale.h"
#include "engine/PixelBuffer.h"

#include <optional>

enum class PanelCursor { Unchanged, SizeNS, Arrow };

// What the window must do after one mouse message, in this order: capture, resize, invalidate,
// move, release, cursor.
struct PanelMouseActions {
    bool bCapture = false;
    // Resize the panel to its width x this height, keeping its place.
    std::optional<int> nNewHeight;
    // Invalidate (with erasing) the client band from this top to this bottom, full width.
    std::optional<int> nInvalidTop;
    std::optional<int> nInvalidBottom;
    // Move the panel, size kept, so that its top-left corner is the pointer's screen point minus
    // this offset.
    std::optional<Point> ptMoveOffset;
    bool bReleaseCapture = false;
    PanelCursor cursor = PanelCursor::Unchanged;
};

// One mouse message in the panel's client coordinates.
struct PanelMouseInput {
    int x = 0;
    int y = 0;
    bool bLeftDown = false;
    // Client height H.
    int nClientHeight = 0;
    // The window rectangle in client coordinates (R); the pointer is "inside" when
    // left <= x < right and top <= y < bottom.
    Rect rcWindowInClient;
};

// Every distance it uses (the strips, the minimum height, the repainted band) is given at 96 DPI
// and taken at the panel's scale; the positions it reads and returns are real pixels.
class CPanelDragTracker {
public:
    // Move strip: 1 <= y <= 29. Resize strip: H - 9 < y < H. Each at `scale`.
    static bool InMoveStrip(int y, const CDpiScale& scale = CDpiScale());
    static bool InResizeStrip(int y, int nClientHeight, const CDpiScale& scale = CDpiScale());

    void SetScale(const CDpiScale& scale) { m_scale = scale; }

    PanelMouseActions OnLeftButtonDown(const PanelMouseInput& input);
    PanelMouseActions OnMouseMove(const PanelMouseInput& input);
    PanelMouseActions OnLeftButtonUp();

    bool IsResizing() const { return m_bResizing; }
    bool IsMoving() const { return m_bMoving; }

private:
    CDpiScale m_scale;
    bool m_bResizing = false;
    bool m_bMoving = false;
    Point m_ptGrab;
    int m_nLastResizeY = 0;
};
