// Live counts of the handles our RAII owners hold, per kind: the leak check of tests and harness.
// Platform-free: does not include <windows.h>.
#pragma once

#include <cstddef>

enum class HandleKind {
    Bitmap,
    Brush,
    Pen,
    Font,
    Region,
    Icon,
    Cursor,
    Menu,
    MemoryDC,
    WindowDC,
    PaintDC,
    Selection,
    SavedDC,
};

inline constexpr std::size_t kHandleKindCount = static_cast<std::size_t>(HandleKind::SavedDC) + 1;

// Always compiled in: Wine's GetGuiResources answers 0, so these counts are how tests and the
// end-to-end harness see that every owner gave its handle back. Updated only by the owners.
class CHandleCounts {
public:
    // Handles of `kind` held by owners right now.
    static long Live(HandleKind kind);
    // Sum of Live over all kinds.
    static long Total();

    static void Acquired(HandleKind kind);
    static void Released(HandleKind kind);
};
