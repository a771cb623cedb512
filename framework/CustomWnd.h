// CCustomWnd: a window of our own window class, its messages routed to the class's tables.
#pragma once

#include "framework/MessageMap.h"
#include "framework/MessageWnd.h"

// The window class a CCustomWnd registers on first use (by name; the first registration wins).
struct CWindowClassInfo {
    const wchar_t* pszName = nullptr;
    UINT uStyle = 0;  // CS_DBLCLKS, CS_HREDRAW, ...
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;  // nullptr: the window paints its whole background itself
    HICON hIcon = nullptr;
    HICON hIconSmall = nullptr;
};

class CCustomWnd : public CMessageWnd {
public:
    CCustomWnd() = default;
    // Destroys the window if it still exists (without the derived class's handlers).
    ~CCustomWnd() override;

    // Registers the class if needed and creates the window; `idOrMenu` is the child id of a child
    // window or the menu of a top-level one. Messages from WM_NCCREATE on reach the tables.
    // False when the window exists already, the class name belongs to a foreign window
    // procedure, or creation failed (a WM_CREATE handler that throws fails it).
    bool Create(const CWindowClassInfo& cls, DWORD dwExStyle, const wchar_t* pszTitle,
                DWORD dwStyle, const RECT& rc, HWND hParent, UINT_PTR idOrMenu = 0);
    bool DestroyWindow();

protected:
    LRESULT DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    static bool RegisterWindowClass(const CWindowClassInfo& cls);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

// Base for a window class with message tables: class CMyWnd : public CCustomWndImpl<CMyWnd>.
template <class T>
using CCustomWndImpl = CMessageTables<T, CCustomWnd>;
