// The Target Editor's click-shift fields: typed and pasted text filtered by EditShiftText.
#include "capture/ShiftEdit.h"

#include "capture/ShiftText.h"

#include <algorithm>

namespace {

// The clipboard's text, or nothing when it holds none.
std::optional<std::wstring> ClipboardText(HWND hOwner) {
    if (!::OpenClipboard(hOwner)) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (const HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* pszText = static_cast<const wchar_t*>(::GlobalLock(hData))) {
            text = std::wstring(pszText);
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace

CShiftEdit::CEdit CShiftEdit::EditWith(std::wstring_view inserted) const {
    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    const std::wstring strCurrent = GetWindowText();
    CEdit edit;
    edit.result = EditShiftText(strCurrent, dwStart, dwEnd, inserted);
    if (edit.result) {
        // What replaces the selection: the result less the text kept on either side.
        const size_t nFirst = std::min<size_t>({dwStart, dwEnd, strCurrent.size()});
        const size_t nLast = std::min<size_t>(std::max(dwStart, dwEnd), strCurrent.size());
        const size_t nKept = strCurrent.size() - (nLast - nFirst);
        edit.strReplacement = edit.result->substr(nFirst, edit.result->size() - nKept);
    }
    return edit;
}

LRESULT CShiftEdit::OnChar(WPARAM wParam, LPARAM) {
    const auto ch = static_cast<wchar_t>(wParam);
    // Control characters (Backspace, Ctrl+C, Ctrl+V, ...) keep their editing meaning; a paste
    // comes back as WM_PASTE.
    if (ch < L' ' || EditWith(std::wstring_view(&ch, 1)).result) {
        return Default();
    }
    ::MessageBeep(MB_OK);
    return 0;
}

LRESULT CShiftEdit::OnPaste(WPARAM, LPARAM) {
    const std::optional<std::wstring> pasted = ClipboardText(m_hWnd);
    if (!pasted) {
        return 0;
    }
    const CEdit edit = EditWith(*pasted);
    if (!edit.result) {
        ::MessageBeep(MB_OK);
        return 0;
    }
    // Only what the rule keeps of the clipboard (the blanks around a copied number go), as an
    // edit the user can undo.
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(edit.strReplacement.c_str()));
    return 0;
}
