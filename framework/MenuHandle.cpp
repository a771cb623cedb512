// CMenuHandle: the owner of a menu (DestroyMenu).
#include "framework/MenuHandle.h"

CMenuHandle CMenuHandle::Load(UINT uId) {
    return CMenuHandle(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(uId)));
}

CMenuHandle CMenuHandle::CreatePopup() {
    return CMenuHandle(::CreatePopupMenu());
}
