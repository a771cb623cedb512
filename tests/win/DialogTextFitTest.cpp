// Every text of the program's dialogs fits its control in the dialog's own font, so no label is
// cut whatever font the system gives the dialogs (it grows with the display's scale).
#include "AboutDlgRes.h"
#include "SettingsDlgRes.h"
#include "resource.h"
#include "tests/win/FrameworkTestUtil.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::wstring ClassOf(HWND hWnd) {
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    return szClass;
}

std::wstring TextOf(HWND hWnd) {
    std::wstring strText(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    strText.resize(static_cast<size_t>(
        ::GetWindowTextW(hWnd, strText.data(), static_cast<int>(strText.size()))));
    return strText;
}

// The room a control leaves its text: a check box or radio button loses its box and the gap
// after it; a push button its frame.
int TextRoom(HWND hControl, int nDpi) {
    RECT rc{};
    ::GetClientRect(hControl, &rc);
    const LONG nStyle = ::GetWindowLongW(hControl, GWL_STYLE);
    if (ClassOf(hControl) != L"Button") {
        return rc.right;
    }
    const LONG nType = nStyle & BS_TYPEMASK;
    if (nType == BS_GROUPBOX) {
        return rc.right - ::MulDiv(16, nDpi, 96);
    }
    if (nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON) {
        return rc.right - ::MulDiv(6, nDpi, 96);
    }
    return rc.right - ::MulDiv(17, nDpi, 96);
}

struct CutText {
    std::wstring strText;
    int nNeeded;
    int nRoom;
};

std::vector<CutText> CutTextsOf(int nDialogId) {
    const HWND hDialog = ::CreateDialogParamW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nDialogId), nullptr, PlainDialogProc, 0);
    std::vector<CutText> cut;
    if (hDialog == nullptr) {
        cut.push_back({L"(the dialog could not be made)", 0, 0});
        return cut;
    }
    const HDC hDC = ::GetDC(hDialog);
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSX);
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const std::wstring strText = TextOf(hChild);
        const std::wstring strClass = ClassOf(hChild);
        const bool bIconButton = (::GetWindowLongW(hChild, GWL_STYLE) & BS_ICON) != 0;
        if (strText.empty() || (strClass != L"Static" && strClass != L"Button") || bIconButton) {
            continue;
        }
        const HGDIOBJ hOld =
            ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageW(hChild, WM_GETFONT, 0, 0)));
        RECT rcText{0, 0, 0, 0};
        ::DrawTextW(hDC, strText.c_str(), -1, &rcText, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(hDC, hOld);
        RECT rcControl{};
        ::GetClientRect(hChild, &rcControl);
        const int nRoom = TextRoom(hChild, nDpi);
        // A text of several lines (the settings' hotkey note) may wrap; one line must fit.
        const bool bMultiLine = rcControl.bottom >= 2 * rcText.bottom;
        if (rcText.right > nRoom && !bMultiLine) {
            cut.push_back({strText, static_cast<int>(rcText.right), nRoom});
        }
    }
    ::ReleaseDC(hDialog, hDC);
    ::DestroyWindow(hDialog);
    return cut;
}

TEST(DialogTextFit, EveryLabelAndButtonTextFitsItsControl) {
    InitFrameworkTestControls();
    for (const int nDialogId : {IDD_TARGET_EDITOR, IDD_SETTINGS, IDD_ABOUTBOX}) {
        for (const CutText& cut : CutTextsOf(nDialogId)) {
            ADD_FAILURE() << "dialog " << nDialogId << ": \""
                          << std::string(cut.strText.begin(), cut.strText.end()) << "\" needs "
                          << cut.nNeeded << " pixels, has " << cut.nRoom;
        }
    }
}

}  // namespace
