// CHyperLink: colours, underline, fitting, tooltip, cursor and the click that opens the address.
#include "ui/HyperLink.h"

#include "framework/SelectObject.h"
#include "framework/UserPrompts.h"
#include "framework/WindowDC.h"
#include "ui/LinkOpenRules.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr int kWinHelpLinkCursor = 106;
// WinExec's answer for a program that started.
constexpr std::intptr_t kStartedResult = 33;

// The default value of HKEY_CLASSES_ROOT\`strSubKey`; empty when missing. RRF_RT_REG_SZ also
// takes a REG_EXPAND_SZ, expanded (asking for that type as well would need RRF_NOEXPAND).
std::wstring ClassesRootDefault(const std::wstring& strSubKey) {
    DWORD cbData = 0;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, strSubKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                       nullptr, &cbData) != ERROR_SUCCESS ||
        cbData < sizeof(wchar_t)) {
        return {};
    }
    std::vector<wchar_t> buffer(cbData / sizeof(wchar_t) + 1);
    cbData = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CLASSES_ROOT, strSubKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                       buffer.data(), &cbData) != ERROR_SUCCESS) {
        return {};
    }
    return buffer.data();
}

// Runs `strCommandLine` as WinExec would, with its results, but keeps every character of a
// path that the ANSI code page cannot hold.
std::intptr_t RunCommandLine(std::wstring strCommandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        const DWORD nError = ::GetLastError();
        const bool bNamed = nError == ERROR_FILE_NOT_FOUND || nError == ERROR_PATH_NOT_FOUND ||
                            nError == ERROR_BAD_FORMAT;
        return bNamed ? static_cast<std::intptr_t>(nError) : 0;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return kStartedResult;
}

}  // namespace

std::intptr_t OpenLinkTarget(const std::wstring& strUrl) {
    const auto nResult = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(nullptr, L"open", strUrl.c_str(), nullptr, nullptr, SW_SHOW));
    if (nResult > 32) {
        return nResult;
    }
    const std::wstring strClass = ClassesRootDefault(L".htm");
    if (strClass.empty()) {
        return nResult;
    }
    const std::wstring strCommand = ClassesRootDefault(strClass + L"\\shell\\open\\command");
    if (strCommand.empty()) {
        return nResult;
    }
    return RunCommandLine(FallbackCommandLine(strCommand, strUrl));
}

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink() {
    if (m_hWnd != nullptr) {
        KillTimer(IDT_HOVER);
    }
}

bool CHyperLink::SubclassDlgItem(UINT uId, HWND hParent) {
    if (!CStatic::SubclassDlgItem(uId, hParent)) {
        return false;
    }
    InitLink();
    return true;
}

void CHyperLink::InitLink() {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    const std::wstring strText = GetWindowText();
    if (m_strUrl.empty()) {
        m_strUrl = strText;
    }
    if (strText.empty()) {
        SetWindowText(m_strUrl);
    }
    auto hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (hFont == nullptr) {
        hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    if (hFont == nullptr) {
        hFont = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    }
    LOGFONTW logFont{};
    if (hFont != nullptr && ::GetObjectW(hFont, sizeof(logFont), &logFont) != 0) {
        m_fontStandard = CGdiObject<HFONT>(::CreateFontIndirectW(&logFont));
        logFont.lfUnderline = TRUE;
        m_fontUnderlined = CGdiObject<HFONT>(::CreateFontIndirectW(&logFont));
    }
    FitToText();
    LoadLinkCursor();
    SetLinkFont(m_nUnderline == kUnderlineAlways);

    m_toolTip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr));
    if (m_toolTip) {
        // TTF_SUBCLASS lets the tooltip see the link's mouse messages itself, since the dialog
        // manager's modal loop offers no hook to relay them from.
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = kToolId;
        tool.rect = GetClientRect();
        tool.lpszText = m_strUrl.data();
        ::SendMessageW(m_toolTip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CHyperLink::SetURL(const std::wstring& strUrl) {
    m_strUrl = strUrl;
    if (m_hWnd != nullptr) {
        FitToText();
        UpdateToolTip();
    }
}

void CHyperLink::SetUnderline(int nUnderline) {
    if (nUnderline != m_nUnderline && m_hWnd != nullptr) {
        SetLinkFont(nUnderline == kUnderlineAlways);
        Invalidate();
    }
    m_nUnderline = nUnderline;
}

void CHyperLink::SetLinkFont(bool bUnderlined) const {
    const HFONT hFont = bUnderlined ? m_fontUnderlined.Get() : m_fontStandard.Get();
    if (hFont != nullptr) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    }
}

void CHyperLink::FitToText() const {
    if (!m_bAdjustToFit || m_hWnd == nullptr || !m_fontStandard) {
        return;
    }
    const std::wstring strText = GetWindowText();
    SIZE textSize{};
    {
        CClientDC dc(m_hWnd);
        if (!dc) {
            return;
        }
        const CSelectObject font(dc.Get(), m_fontStandard.Get());
        if (!::GetTextExtentPoint32W(dc.Get(), strText.c_str(), static_cast<int>(strText.size()),
                                     &textSize)) {
            return;
        }
    }
    const RECT rcWindow = GetWindowRect();
    const RECT rcClient = GetClientRect();
    const int cx = textSize.cx + (rcWindow.right - rcWindow.left) - rcClient.right;
    const int cy = textSize.cy + (rcWindow.bottom - rcWindow.top) - rcClient.bottom;

    // The place in the parent's client coordinates, kept by the edge or centre the style names.
    POINT ptTopLeft{rcWindow.left, rcWindow.top};
    POINT ptBottomRight{rcWindow.right, rcWindow.bottom};
    const HWND hParent = GetParent();
    if (hParent != nullptr) {
        ::ScreenToClient(hParent, &ptTopLeft);
        ::ScreenToClient(hParent, &ptBottomRight);
    }
    const auto nStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    int y = ptTopLeft.y;
    if ((nStyle & SS_CENTERIMAGE) != 0) {
        y = (ptTopLeft.y + ptBottomRight.y) / 2 - cy / 2;
    }
    int x = ptTopLeft.x;
    const DWORD nAlign = nStyle & SS_TYPEMASK;
    if (nAlign == SS_CENTER) {
        x = (ptTopLeft.x + ptBottomRight.x) / 2 - cx / 2;
    } else if (nAlign == SS_RIGHT) {
        x = ptBottomRight.x - cx;
    }
    SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::LoadLinkCursor() {
    if (m_hLinkCursor != nullptr) {
        return;
    }
    wchar_t szWindows[MAX_PATH] = {};
    const UINT nLength = ::GetWindowsDirectoryW(szWindows, MAX_PATH);
    if (nLength > 0 && nLength < MAX_PATH) {
        const std::wstring strHelp = std::wstring(szWindows) + L"\\winhlp32.exe";
        if (const HMODULE hModule =
                ::LoadLibraryExW(strHelp.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            hModule != nullptr) {
            if (const HCURSOR hCursor =
                    ::LoadCursorW(hModule, MAKEINTRESOURCEW(kWinHelpLinkCursor));
                hCursor != nullptr) {
                m_curLinkCopy = CIcon(::CopyIcon(hCursor));
            }
            ::FreeLibrary(hModule);
        }
    }
    // Current Windows versions ship no such cursor; the system's own hand says the same.
    m_hLinkCursor = m_curLinkCopy ? m_curLinkCopy.Get() : ::LoadCursorW(nullptr, IDC_HAND);
}

void CHyperLink::UpdateToolTip() const {
    if (!m_toolTip) {
        return;
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.lpszText = const_cast<wchar_t*>(m_strUrl.c_str());
    ::SendMessageW(m_toolTip.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.rect = GetClientRect();
    ::SendMessageW(m_toolTip.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

HBRUSH CHyperLink::OnReflectedCtlColor(HDC hDC) const {
    ::SetTextColor(hDC, m_bOver ? m_crHover : (m_bVisited ? m_crVisited : m_crLink));
    ::SetBkMode(hDC, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnReflectedClicked() {
    m_bOver = false;
    std::intptr_t nResult = SE_ERR_FNF;
    if (!m_fnPrepare || m_fnPrepare()) {
        nResult = OpenLinkTarget(m_strUrl);
    }
    m_bVisited = nResult > 32;
    if (m_bVisited) {
        Invalidate();
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    // Not visited any more either: the colour must say so once the box is gone.
    Invalidate();
    ShowOpenError(nResult);
}

void CHyperLink::ShowOpenError(std::intptr_t nResult) const {
    Prompts().MessageBox(GetParent(), LinkOpenErrorText(nResult), L"Tarvik",
                         MB_OK | MB_ICONEXCLAMATION);
}

LRESULT CHyperLink::OnMouseMove(WPARAM, LPARAM) {
    if (!m_bOver) {
        m_bOver = true;
        if (m_nUnderline == kUnderlineHover) {
            SetLinkFont(true);
        }
        Invalidate();
        SetTimer(IDT_HOVER, kHoverPeriodMs);
    }
    return Default();
}

LRESULT CHyperLink::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != IDT_HOVER) {
        return Default();
    }
    const DWORD nPos = ::GetMessagePos();
    const POINT pt =
        ScreenToClient(POINT{static_cast<short>(LOWORD(nPos)), static_cast<short>(HIWORD(nPos))});
    RECT rc = GetClientRect();
    if (!::PtInRect(&rc, pt)) {
        m_bOver = false;
        KillTimer(IDT_HOVER);
        if (m_nUnderline != kUnderlineAlways) {
            SetLinkFont(false);
        }
        rc.bottom += 10;
        InvalidateRect(rc);
    }
    return 0;
}

LRESULT CHyperLink::OnSetCursor(WPARAM, LPARAM) {
    if (m_hLinkCursor == nullptr) {
        return Default();
    }
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

LRESULT CHyperLink::OnEraseBkgnd(WPARAM wParam, LPARAM) {
    const RECT rc = GetClientRect();
    ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

LRESULT CHyperLink::OnDestroy(WPARAM, LPARAM) {
    KillTimer(IDT_HOVER);
    m_toolTip.reset();
    return Default();
}
