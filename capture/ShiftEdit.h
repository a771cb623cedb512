// CShiftEdit: a click-shift field of the Target Editor, which takes digits after an optional
// leading minus sign, typed or pasted, and nothing else.
#pragma once

#include "framework/SubclassWnd.h"

#include <optional>
#include <string>
#include <string_view>

class CShiftEdit : public CMessageTables<CShiftEdit, CSubclassWnd> {
private:
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaste(WPARAM wParam, LPARAM lParam);

    // The field's text if `inserted` replaced its selection (nothing when refused), and what
    // would then stand where the selection was.
    struct CEdit {
        std::optional<std::wstring> result;
        std::wstring strReplacement;
    };
    CEdit EditWith(std::wstring_view inserted) const;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CShiftEdit> s_messages[] = {
        {WM_CHAR, &CShiftEdit::OnChar},
        {WM_PASTE, &CShiftEdit::OnPaste},
    };
};
