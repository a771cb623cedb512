// CDataExchange: moves values between a dialog's controls and its members, in one direction.
#pragma once

#include <windows.h>

#include <string>

class CWnd;
class CSubclassWnd;

// Built by CDialogEx::UpdateData and handed to DoDataExchange, whose calls name each control
// once and work both ways. After a refused field the remaining calls do nothing.
class CDataExchange {
public:
    enum class Direction { ToControls, FromControls };

    CDataExchange(HWND hDlg, Direction direction) : m_hDlg(hDlg), m_direction(direction) {}

    bool IsSaving() const { return m_direction == Direction::FromControls; }

    // Check box: BST_UNCHECKED 0, BST_CHECKED 1 (BST_INDETERMINATE 2 for three-state boxes).
    void Check(int nId, int& nValue);
    // Radio buttons nFirstId..nLastId (consecutive ids): the index of the checked one, -1 when
    // none is checked. An index outside the group unchecks them all.
    void Radio(int nFirstId, int nLastId, int& nIndex);
    // Edit field text.
    void Text(int nId, std::wstring& strValue);
    // Edit field as a decimal int (optional sign, blanks around). Text that is not a number in
    // int range refuses the field (see Failed).
    void Int(int nId, int& nValue);
    // Up-down control range (UDM_SETRANGE32 / UDM_GETRANGE32).
    void UpDownRange(int nId, int& nMin, int& nMax);
    // Binds a member to the control: to the controls only, and only while it is unbound.
    void Control(int nId, CWnd& wnd);
    // Takes over a control from the template (CSubclassWnd::SubclassDlgItem) the same way.
    void Control(int nId, CSubclassWnd& wnd);

    // Refuses the field nId with a message for the user; for checks of the dialog's own.
    void Fail(int nId, std::wstring strMessage);
    bool Failed() const { return m_bFailed; }
    int FailedControlId() const { return m_nFailedId; }
    const std::wstring& FailureText() const { return m_strFailure; }

private:
    HWND Item(int nId) const { return ::GetDlgItem(m_hDlg, nId); }

    HWND m_hDlg;
    Direction m_direction;
    bool m_bFailed = false;
    int m_nFailedId = 0;
    std::wstring m_strFailure;
};
