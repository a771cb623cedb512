// CStatic: a static control whose messages go through the class's tables first, then on to the
// control's own procedure.
#pragma once

#include "framework/MessageMap.h"
#include "framework/MessageWnd.h"

class CStatic : public CMessageWnd {
public:
    CStatic() = default;
    // A control this object created is destroyed; a control taken over from a dialog is only
    // given back its own procedure, since the dialog owns it.
    ~CStatic() override;

    // Creates a "STATIC" child window and takes it over. The object owns it.
    bool Create(const wchar_t* pszText, DWORD dwStyle, const RECT& rc, HWND hParent, UINT uId);
    // Takes over an existing control (a dialog's, by id). Must run on the control's thread.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT uId, HWND hParent);
    // Gives the control back its own procedure; returns its handle.
    HWND UnsubclassWindow();

    // STM_SETIMAGE with IMAGE_BITMAP or IMAGE_ICON; the control does not own the image.
    HANDLE SetImage(UINT uImageType, HANDLE hImage) const;

protected:
    LRESULT DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
    bool m_bOwnsWindow = false;
};

// Base for a static-derived class with message tables: class CMyLink : public CStaticImpl<CMyLink>.
template <class T>
using CStaticImpl = CMessageTables<T, CStatic>;
