// CSubclassWnd: a control of a system class (static, edit, ...) whose messages go through the
// class's tables first, then on to the control's own procedure.
#pragma once

#include "framework/MessageMap.h"
#include "framework/MessageWnd.h"

class CSubclassWnd : public CMessageWnd {
public:
    CSubclassWnd() = default;
    // A control this object created is destroyed; a control taken over from a dialog is only
    // given back its own procedure, since the dialog owns it.
    ~CSubclassWnd() override;

    // Takes over an existing control (a dialog's, by id). Must run on the control's thread.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT uId, HWND hParent);
    // Gives the control back its own procedure; returns its handle.
    HWND UnsubclassWindow();

protected:
    LRESULT DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // For a class that created the control itself: the object then destroys it.
    void SetOwnsWindow() { m_bOwnsWindow = true; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
    bool m_bOwnsWindow = false;
};
