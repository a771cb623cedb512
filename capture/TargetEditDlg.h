// CTargetEditDlg: the modal Target Editor: a target's picture, its name and click shift, and
// a recognition test with the shift as typed.
#pragma once

#include "capture/ITargetEditorHost.h"
#include "capture/ShiftEdit.h"
#include "engine/BitmapEx.h"
#include "framework/DialogEx.h"

#include "resource.h"

class CTargetObj;

class CTargetEditDlg : public CDialogImpl<CTargetEditDlg> {
public:
    // `target` must outlive the dialog; OK writes its name and shift, Cancel leaves it alone.
    // `host` runs the recognition test.
    CTargetEditDlg(CTargetObj& target, ITargetEditorHost& host);

    // Where the target picture is drawn, in client pixels at 96 DPI (scaled with the window).
    static constexpr RECT kPictureRect{50, 16, 152, 80};
    // The range of the up-down controls.
    static constexpr int kShiftLimit = 3000;

    // Ends the dialog without touching the target again: for a target that is about to go.
    void Abandon();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    void OnRecognizeTest();

    // The field's text read as the shift's conversion reads it.
    int ReadShift(int nId) const;

    CTargetObj* m_pTarget;  // null once abandoned
    ITargetEditorHost& m_host;
    TargetThumbnails m_thumbnails;
    // The two shift fields, which take a leading minus sign besides digits.
    CShiftEdit m_editShiftX;
    CShiftEdit m_editShiftY;

    // The message tables come last: they name handlers declared above.
public:
    static constexpr CMessageEntry<CTargetEditDlg> s_messages[] = {
        {WM_PAINT, &CTargetEditDlg::OnPaint},
    };
    static constexpr CCommandEntry<CTargetEditDlg> s_commands[] = {
        {IDC_RECOGNIZE_TEST, &CTargetEditDlg::OnRecognizeTest},
    };
};
