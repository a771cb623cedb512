// CDialogEx: a dialog bound to a template of the .rc, run modally or modelessly.
#include "framework/DialogEx.h"

#include "framework/DataExchange.h"
#include "framework/UserPrompts.h"

namespace {

// These messages return their result from the dialog procedure itself; for every other one the
// procedure returns "handled" and leaves the result in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT uMsg) {
    switch (uMsg) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

}  // namespace

CDialogEx::CDialogEx(UINT uTemplateId) : m_uTemplateId(uTemplateId) {}

CDialogEx::~CDialogEx() {
    if (m_hWnd != nullptr && !m_bModal) {
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialogEx::DoModal(HWND hParent) {
    if (m_hWnd != nullptr) {
        return -1;
    }
    m_bModal = true;
    const INT_PTR nResult =
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_uTemplateId), hParent,
                          DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    m_hWnd = nullptr;
    return nResult;
}

bool CDialogEx::Create(HWND hParent) {
    if (m_hWnd != nullptr) {
        return false;
    }
    m_bModal = false;
    const HWND hDlg =
        ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_uTemplateId), hParent,
                             DialogProc, reinterpret_cast<LPARAM>(this));
    // A set-up that failed destroys the window, yet some systems still return its handle.
    return hDlg != nullptr && m_hWnd == hDlg;
}

void CDialogEx::EndDialog(INT_PTR nResult) {
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_bModal) {
        ::EndDialog(m_hWnd, nResult);
    } else {
        ::DestroyWindow(m_hWnd);
    }
}

bool CDialogEx::UpdateData(bool bSaveAndValidate) {
    CDataExchange dx(m_hWnd, bSaveAndValidate ? CDataExchange::Direction::FromControls
                                              : CDataExchange::Direction::ToControls);
    DoDataExchange(dx);
    if (!dx.Failed()) {
        return true;
    }
    Prompts().MessageBox(m_hWnd, dx.FailureText(), AppTitle(), MB_OK | MB_ICONEXCLAMATION);
    const HWND hField = GetDlgItem(dx.FailedControlId());
    if (hField != nullptr) {
        // WM_NEXTDLGCTL moves the focus the way the dialog manager does (default button too).
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hField), TRUE);
        ::SendMessageW(hField, EM_SETSEL, 0, -1);
    }
    return false;
}

BOOL CDialogEx::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialogEx::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialogEx::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialogEx::DoDataExchange(CDataExchange&) {}

bool CDialogEx::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (uMsg == WM_INITDIALOG) {
        lResult = OnInitDialog();
        return true;
    }
    if (uMsg == WM_COMMAND && IsCommandMessage(wParam, lParam)) {
        switch (LOWORD(wParam)) {
            case IDOK:
                OnOK();
                lResult = 0;
                return true;
            case IDCANCEL:
                OnCancel();
                lResult = 0;
                return true;
            default:
                break;
        }
    }
    return false;
}

LRESULT CDialogEx::DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    m_bSkipNextDispatch = true;
    const LRESULT lResult = ::DefDlgProcW(m_hWnd, uMsg, wParam, lParam);
    m_bSkipNextDispatch = false;
    return lResult;
}

INT_PTR CALLBACK CDialogEx::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CDialogEx* pDlg = nullptr;
    if (uMsg == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialogEx*>(lParam);
        ::SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        pDlg->m_hWnd = hDlg;
    } else {
        // Messages before WM_INITDIALOG (WM_SETFONT) find no object and get default handling.
        pDlg = reinterpret_cast<CDialogEx*>(::GetWindowLongPtrW(hDlg, DWLP_USER));
    }
    if (pDlg == nullptr) {
        return FALSE;
    }
    if (pDlg->m_bSkipNextDispatch) {
        pDlg->m_bSkipNextDispatch = false;
        return FALSE;
    }
    LRESULT lResult = 0;
    const DispatchResult result = pDlg->Dispatch(uMsg, wParam, lParam, lResult);
    return pDlg->FinishMessage(hDlg, uMsg, result, lResult);
}

INT_PTR CDialogEx::FinishMessage(HWND hDlg, UINT uMsg, DispatchResult result, LRESULT lResult) {
    if (uMsg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hDlg, DWLP_USER, 0);
        m_hWnd = nullptr;
    }
    switch (result) {
        case DispatchResult::Handled:
            if (ReturnsResultDirectly(uMsg)) {
                return static_cast<INT_PTR>(lResult);
            }
            ::SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, lResult);
            return TRUE;
        case DispatchResult::Threw:
            // A dialog whose set-up failed half-way is not shown; any other failed message gets
            // the dialog manager's handling, so that, say, a failed WM_PAINT still validates.
            if (uMsg == WM_INITDIALOG) {
                EndDialog(IDABORT);
            }
            return FALSE;
        case DispatchResult::NotHandled:
            break;
    }
    return FALSE;
}
