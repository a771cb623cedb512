// Window queries across processes.
#include "tests/e2e/TarvikWindows.h"

#include <algorithm>

std::wstring ClassNameOf(HWND hWnd) {
    wchar_t szClass[256] = {};
    const int nLength = GetClassNameW(hWnd, szClass, 256);
    return std::wstring(szClass, nLength > 0 ? nLength : 0);
}

std::wstring TextOf(HWND hWnd) {
    // A window of another process answers WM_GETTEXT in its own thread: bounded, in case it hangs.
    DWORD_PTR nLength = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &nLength)) {
        return {};
    }
    std::wstring strText(nLength + 1, L'\0');
    DWORD_PTR nCopied = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXT, strText.size(),
                             reinterpret_cast<LPARAM>(strText.data()), SMTO_ABORTIFHUNG, 5000,
                             &nCopied)) {
        return {};
    }
    strText.resize(std::min<size_t>(nCopied, nLength));
    return strText;
}

namespace {

struct CTopLevelSearch {
    DWORD nProcessId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<CTopLevelSearch*>(lParam);
    DWORD nOwner = 0;
    GetWindowThreadProcessId(hWnd, &nOwner);
    if (nOwner == search.nProcessId) {
        search.windows.push_back(hWnd);
    }
    return TRUE;
}

struct CDescendantSearch {
    int nId;
    const wchar_t* pszClass;
    HWND hFound;
};

BOOL CALLBACK MatchDescendant(HWND hWnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<CDescendantSearch*>(lParam);
    if (GetDlgCtrlID(hWnd) == search.nId &&
        (search.pszClass == nullptr || ClassNameOf(hWnd) == search.pszClass)) {
        search.hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD nProcessId) {
    CTopLevelSearch search{nProcessId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::vector<HWND> ChildrenOf(HWND hParent) {
    std::vector<HWND> children;
    for (HWND hChild = GetWindow(hParent, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        children.push_back(hChild);
    }
    return children;
}

HWND FindDescendant(HWND hParent, int nId, const wchar_t* pszClass) {
    CDescendantSearch search{nId, pszClass, nullptr};
    EnumChildWindows(hParent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

RECT ScreenRectOf(HWND hWnd) {
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    return rc;
}

RECT RectInParent(HWND hChild) {
    RECT rc = ScreenRectOf(hChild);
    MapWindowPoints(nullptr, GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

SIZE ClientSizeOf(HWND hWnd) {
    RECT rc{};
    GetClientRect(hWnd, &rc);
    return {rc.right, rc.bottom};
}

POINT ClientToScreenPoint(HWND hWnd, POINT pt) {
    ClientToScreen(hWnd, &pt);
    return pt;
}

std::string RectText(const RECT& rc) {
    return "(" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ") " +
           std::to_string(WidthOf(rc)) + " x " + std::to_string(HeightOf(rc));
}

POINT CentreOf(const RECT& rc) {
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

std::vector<RECT> TileRects(HWND hListView) {
    std::vector<RECT> tiles;
    for (const HWND hTile : ChildrenOf(hListView)) {
        tiles.push_back(RectInParent(hTile));
    }
    std::sort(tiles.begin(), tiles.end(),
              [](const RECT& a, const RECT& b) { return a.top < b.top; });
    return tiles;
}

HWND FindDialog(DWORD nProcessId, HWND hMain, const wchar_t* pszCaption) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (hWnd != hMain && IsWindowVisible(hWnd) && ClassNameOf(hWnd) == L"#32770" &&
            (pszCaption == nullptr || TextOf(hWnd) == pszCaption)) {
            return hWnd;
        }
    }
    return nullptr;
}

HWND FileNameFieldOf(HWND hDialog) {
    const HWND hField = FindDescendant(hDialog, kIdFileNameField);
    if (hField == nullptr || ClassNameOf(hField) == L"Edit") {
        return hField;
    }
    // A combo box holds the edit field, whose own id differs between systems.
    HWND hEdit = nullptr;
    EnumChildWindows(
        hField,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (ClassNameOf(hWnd) != L"Edit") {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&hEdit));
    return hEdit;
}

HWND FindFileDialog(DWORD nProcessId) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (IsWindowVisible(hWnd) && ClassNameOf(hWnd) == L"#32770" &&
            FileNameFieldOf(hWnd) != nullptr) {
            return hWnd;
        }
    }
    return nullptr;
}

HWND FindPopupMenu(DWORD nProcessId) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (IsWindowVisible(hWnd) && ClassNameOf(hWnd) == L"#32768") {
            return hWnd;
        }
    }
    return nullptr;
}

std::wstring MessageBoxTextOf(HWND hBox) {
    if (const HWND hText = GetDlgItem(hBox, kIdMessageBoxText); hText != nullptr) {
        return TextOf(hText);
    }
    std::wstring strText;
    for (const HWND hChild : ChildrenOf(hBox)) {
        if (ClassNameOf(hChild) == L"Static") {
            strText += TextOf(hChild);
        }
    }
    return strText;
}

std::optional<long> LiveHandleCount(HWND hMain) {
    static const UINT uMessage = RegisterWindowMessageW(L"Tarvik.LiveHandleCount");
    DWORD_PTR nResult = 0;
    if (uMessage == 0 ||
        !SendMessageTimeoutW(hMain, uMessage, 0, 0, SMTO_ABORTIFHUNG, 10000, &nResult)) {
        return std::nullopt;
    }
    return static_cast<long>(nResult);
}
