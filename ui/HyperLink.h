// CHyperLink: a static control that shows an address, colours itself when hovered or visited,
// and opens the address with the shell when clicked.
#pragma once

#include "framework/GdiObject.h"
#include "framework/Icon.h"
#include "framework/Static.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

// Opens `strUrl` with the shell ("open", SW_SHOW); when the shell cannot, with the command that
// the registry names for ".htm" files. Returns the ShellExecuteW-style result: above 32 on
// success, else the reason (see LinkOpenErrorText). The calling thread must have initialised COM
// (CComApartment), as ShellExecuteW asks.
std::intptr_t OpenLinkTarget(const std::wstring& strUrl);

class CHyperLink : public CStaticImpl<CHyperLink> {
public:
    static constexpr COLORREF kLinkColour = RGB(0, 0, 238);
    static constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
    static constexpr COLORREF kHoverColour = RGB(255, 0, 0);
    enum : UINT_PTR { IDT_HOVER = 100 };
    enum : UINT { kHoverPeriodMs = 100 };
    // Underline modes: only while hovered, always; any other value: never.
    static constexpr int kUnderlineHover = -1;
    static constexpr int kUnderlineAlways = 1;

    CHyperLink();
    ~CHyperLink() override;

    // Takes over the dialog's static `uId` and sets it up as a link.
    bool SubclassDlgItem(UINT uId, HWND hParent);

    void SetURL(const std::wstring& strUrl);
    const std::wstring& GetURL() const { return m_strUrl; }
    void SetUnderline(int nUnderline);
    bool IsVisited() const { return m_bVisited; }
    // Runs before every open; when it returns false the open fails as "file not found" (the
    // link's target could not be made ready).
    void SetOpenPreparation(std::function<bool()> fnPrepare) { m_fnPrepare = std::move(fnPrepare); }

    // The parent reflects these two to the link: its WM_CTLCOLORSTATIC for the link, and the
    // link's STN_CLICKED.
    HBRUSH OnReflectedCtlColor(HDC hDC) const;
    void OnReflectedClicked();

private:
    struct CWindowDestroyer {
        void operator()(HWND hWnd) const { ::DestroyWindow(hWnd); }
    };
    using CToolTipWnd = std::unique_ptr<std::remove_pointer_t<HWND>, CWindowDestroyer>;

    void InitLink();
    void FitToText() const;
    void LoadLinkCursor();
    void SetLinkFont(bool bUnderlined) const;
    void UpdateToolTip() const;
    void ShowOpenError(std::intptr_t nResult) const;

    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    COLORREF m_crLink = kLinkColour;
    COLORREF m_crVisited = kVisitedColour;
    COLORREF m_crHover = kHoverColour;
    bool m_bOver = false;
    bool m_bVisited = false;
    int m_nUnderline = kUnderlineHover;
    bool m_bAdjustToFit = true;
    std::wstring m_strUrl;
    std::function<bool()> m_fnPrepare;
    CGdiObject<HFONT> m_fontStandard;
    CGdiObject<HFONT> m_fontUnderlined;
    // A copy of the cursor found in winhlp32.exe; else the system's shared hand cursor.
    CIcon m_curLinkCopy;
    HCURSOR m_hLinkCursor = nullptr;
    CToolTipWnd m_toolTip;

public:
    static constexpr CMessageEntry<CHyperLink> s_messages[] = {
        {WM_MOUSEMOVE, &CHyperLink::OnMouseMove}, {WM_TIMER, &CHyperLink::OnTimer},
        {WM_SETCURSOR, &CHyperLink::OnSetCursor}, {WM_ERASEBKGND, &CHyperLink::OnEraseBkgnd},
        {WM_DESTROY, &CHyperLink::OnDestroy},
    };
};
