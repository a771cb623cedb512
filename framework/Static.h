// CStatic: a static control whose messages go through the class's tables first, then on to the
// control's own procedure.
#pragma once

#include "framework/SubclassWnd.h"

class CStatic : public CSubclassWnd {
public:
    // Creates a "STATIC" child window and takes it over. The object owns it.
    bool Create(const wchar_t* pszText, DWORD dwStyle, const RECT& rc, HWND hParent, UINT uId);

    // STM_SETIMAGE with IMAGE_BITMAP or IMAGE_ICON; the control does not own the image.
    HANDLE SetImage(UINT uImageType, HANDLE hImage) const;
};

// Base for a static-derived class with message tables: class CMyLink : public CStaticImpl<CMyLink>.
template <class T>
using CStaticImpl = CMessageTables<T, CStatic>;
