// CCursorHandle: the owner of a cursor made for us alone (DestroyCursor).
#pragma once

#include "framework/HandleOwner.h"

#include <windows.h>

struct CCursorTraits {
    using Handle = HCURSOR;
    static constexpr HandleKind kKind = HandleKind::Cursor;
    static void Close(HCURSOR hCursor) { ::DestroyCursor(hCursor); }
};

// Only for cursors from LoadImageW without LR_SHARED or CreateCursor. System cursors and those
// from LoadCursorW are shared and stay plain HCURSORs.
class CCursorHandle : public CHandleOwner<CCursorTraits> {
public:
    using CHandleOwner::CHandleOwner;
};
