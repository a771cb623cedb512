// CIcon: the owner of an icon made for us alone (DestroyIcon).
#pragma once

#include "framework/HandleOwner.h"

#include <windows.h>

struct CIconTraits {
    using Handle = HICON;
    static constexpr HandleKind kKind = HandleKind::Icon;
    static void Close(HICON hIcon) { ::DestroyIcon(hIcon); }
};

// Only for icons from LoadImageW without LR_SHARED, CreateIconIndirect or CopyIcon. Icons from
// LoadIconW (or LR_SHARED) are shared by the system, must never be destroyed, and stay plain
// HICONs.
class CIcon : public CHandleOwner<CIconTraits> {
public:
    using CHandleOwner::CHandleOwner;

    // Icon `uId` of the executable's resources at cx x cy pixels; empty when it is missing.
    static CIcon Load(UINT uId, int cx, int cy);
};
