// CIcon: the owner of an icon made for us alone (DestroyIcon).
#include "framework/Icon.h"

CIcon CIcon::Load(UINT uId, int cx, int cy) {
    return CIcon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(uId), IMAGE_ICON, cx, cy, 0)));
}
