// CDataExchange: moves values between a dialog's controls and its members, in one direction.
#include "framework/DataExchange.h"

#include "framework/DecimalText.h"
#include "framework/SubclassWnd.h"
#include "framework/Wnd.h"

#include <commctrl.h>

#include <utility>

void CDataExchange::Check(int nId, int& nValue) {
    if (Failed()) {
        return;
    }
    if (IsSaving()) {
        nValue = static_cast<int>(::IsDlgButtonChecked(m_hDlg, nId));
    } else {
        ::CheckDlgButton(m_hDlg, nId, static_cast<UINT>(nValue));
    }
}

void CDataExchange::Radio(int nFirstId, int nLastId, int& nIndex) {
    if (Failed()) {
        return;
    }
    if (IsSaving()) {
        nIndex = -1;
        for (int nId = nFirstId; nId <= nLastId; ++nId) {
            if (::IsDlgButtonChecked(m_hDlg, nId) == BST_CHECKED) {
                nIndex = nId - nFirstId;
                break;
            }
        }
        return;
    }
    for (int nId = nFirstId; nId <= nLastId; ++nId) {
        ::CheckDlgButton(m_hDlg, nId, nId - nFirstId == nIndex ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CDataExchange::Text(int nId, std::wstring& strValue) {
    if (Failed()) {
        return;
    }
    CWnd field(Item(nId));
    if (IsSaving()) {
        strValue = field.GetWindowText();
    } else {
        field.SetWindowText(strValue);
    }
}

void CDataExchange::Int(int nId, int& nValue) {
    if (Failed()) {
        return;
    }
    CWnd field(Item(nId));
    if (!IsSaving()) {
        field.SetWindowText(std::to_wstring(nValue));
        return;
    }
    if (const auto parsed = ParseDecimalInt(field.GetWindowText())) {
        nValue = *parsed;
    } else {
        Fail(nId, L"Please enter an integer.");
    }
}

void CDataExchange::UpDownRange(int nId, int& nMin, int& nMax) {
    if (Failed()) {
        return;
    }
    if (IsSaving()) {
        ::SendMessageW(Item(nId), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nMin),
                       reinterpret_cast<LPARAM>(&nMax));
    } else {
        ::SendMessageW(Item(nId), UDM_SETRANGE32, static_cast<WPARAM>(nMin),
                       static_cast<LPARAM>(nMax));
    }
}

void CDataExchange::Control(int nId, CWnd& wnd) {
    if (!Failed() && !IsSaving() && !wnd) {
        wnd.Attach(Item(nId));
    }
}

void CDataExchange::Control(int nId, CSubclassWnd& wnd) {
    if (!Failed() && !IsSaving() && !wnd) {
        wnd.SubclassDlgItem(static_cast<UINT>(nId), m_hDlg);
    }
}

void CDataExchange::Fail(int nId, std::wstring strMessage) {
    if (Failed()) {
        return;
    }
    m_bFailed = true;
    m_nFailedId = nId;
    m_strFailure = std::move(strMessage);
}
