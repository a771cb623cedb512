// CDialogEx: a dialog bound to a template of the .rc, run modally or modelessly, with one
// dialog procedure that forwards to the class's message tables.
#pragma once

#include "framework/MessageMap.h"
#include "framework/MessageWnd.h"

class CDataExchange;

class CDialogEx : public CMessageWnd {
public:
    // The template is looked up in the executable's own resources.
    explicit CDialogEx(UINT uTemplateId);
    // A modeless dialog still open is destroyed (its handlers no longer run: the derived part
    // is gone). Destroy it earlier when its WM_DESTROY handling matters.
    ~CDialogEx() override;

    // Runs the dialog modally; returns the EndDialog value, IDABORT when set-up threw, or -1 when
    // the dialog could not be created (or is already open).
    INT_PTR DoModal(HWND hParent = nullptr);
    // Creates the dialog modelessly; false when it could not be created or set-up threw.
    bool Create(HWND hParent);
    // Ends a modal run with `nResult` (EndDialog), or destroys a modeless dialog.
    void EndDialog(INT_PTR nResult);
    bool IsModal() const { return m_bModal; }

    // Exchanges data between the controls and the members (DoDataExchange). From the controls,
    // a field that does not convert stops the exchange: the user is told through Prompts(), the
    // field gets the focus, and the result is false.
    bool UpdateData(bool bSaveAndValidate = true);

protected:
    // Default set-up: members to controls. Returns TRUE to let the system set the focus.
    // Override it (calling it first) rather than mapping WM_INITDIALOG, which would skip it.
    virtual BOOL OnInitDialog();
    // Default OK: controls to members, then EndDialog(IDOK) unless a field was refused.
    virtual void OnOK();
    // Default Cancel: EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);

    // The built-in handling behind the tables: WM_INITDIALOG, IDOK and IDCANCEL.
    bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    LRESULT DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    INT_PTR FinishMessage(HWND hDlg, UINT uMsg, DispatchResult result, LRESULT lResult);

    UINT m_uTemplateId;
    bool m_bModal = false;
    // Set by DefaultProc: DefDlgProcW first calls back into DialogProc, which must then step
    // aside so that the dialog manager's own processing runs.
    bool m_bSkipNextDispatch = false;
};

// Base for a dialog class with message tables: class CMyDlg : public CDialogImpl<CMyDlg>.
template <class T>
using CDialogImpl = CMessageTables<T, CDialogEx>;
