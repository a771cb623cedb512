// CMenuHandle: the owner of a menu (DestroyMenu, which also destroys its submenus).
#pragma once

#include "framework/HandleOwner.h"

#include <windows.h>

struct CMenuTraits {
    using Handle = HMENU;
    static constexpr HandleKind kKind = HandleKind::Menu;
    static void Close(HMENU hMenu) { ::DestroyMenu(hMenu); }
};

// Submenus (GetSubMenu) belong to their menu and stay plain HMENUs. A menu given to a window
// with SetMenu is destroyed by the window: Release() it then.
class CMenuHandle : public CHandleOwner<CMenuTraits> {
public:
    using CHandleOwner::CHandleOwner;

    // Menu `uId` of the executable's resources; empty when it is missing.
    static CMenuHandle Load(UINT uId);
    static CMenuHandle CreatePopup();
};
