// The Target Editor: name and click shift of one target, and its recognition test.
#include "capture/TargetEditDlg.h"

#include "capture/RecognizeStatus.h"
#include "capture/ShiftText.h"
#include "capture/TargetPicture.h"
#include "capture/TargetPictureDraw.h"
#include "engine/TargetSearch.h"
#include "engine/WindowDpi.h"
#include "framework/PaintDC.h"
#include "framework/WaitCursor.h"
#include "framework/WideText.h"
#include "model/TargetObj.h"

#include <commctrl.h>

#include <string>

CTargetEditDlg::CTargetEditDlg(CTargetObj& target, ITargetEditorHost& host)
    : CDialogImpl<CTargetEditDlg>(IDD_TARGET_EDITOR), m_pTarget(&target), m_host(host) {}

BOOL CTargetEditDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_thumbnails = MakeThumbnailsOf(*m_pTarget);
    m_editShiftX.SubclassDlgItem(IDC_TARGET_SHIFT_X, m_hWnd);
    m_editShiftY.SubclassDlgItem(IDC_TARGET_SHIFT_Y, m_hWnd);
    for (const int nSpin : {IDC_TARGET_SPIN_X, IDC_TARGET_SPIN_Y}) {
        ::SendMessageW(GetDlgItem(nSpin), UDM_SETRANGE32, static_cast<WPARAM>(-kShiftLimit),
                       kShiftLimit);
    }
    ::SetDlgItemTextW(m_hWnd, IDC_TARGET_SHIFT_X,
                      std::to_wstring(m_pTarget->m_ptClickShift.x).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_TARGET_SHIFT_Y,
                      std::to_wstring(m_pTarget->m_ptClickShift.y).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_TARGET_NAME, ToWide(m_pTarget->m_strName).c_str());
    return TRUE;
}

int CTargetEditDlg::ReadShift(int nId) const {
    return LeadingInt(CWnd(GetDlgItem(nId)).GetWindowText());
}

void CTargetEditDlg::Abandon() {
    m_pTarget = nullptr;
    EndDialog(IDCANCEL);
}

void CTargetEditDlg::OnOK() {
    if (m_pTarget == nullptr) {
        EndDialog(IDCANCEL);
        return;
    }
    m_pTarget->m_strName = ToUtf16(CWnd(GetDlgItem(IDC_TARGET_NAME)).GetWindowText());
    m_pTarget->m_ptClickShift.x = ReadShift(IDC_TARGET_SHIFT_X);
    m_pTarget->m_ptClickShift.y = ReadShift(IDC_TARGET_SHIFT_Y);
    EndDialog(IDOK);
}

void CTargetEditDlg::OnRecognizeTest() {
    if (m_pTarget == nullptr) {
        return;
    }
    const int dx = ReadShift(IDC_TARGET_SHIFT_X);
    const int dy = ReadShift(IDC_TARGET_SHIFT_Y);
    // The editor is blacked out of the grab: its own copy of the picture must not be found.
    const std::optional<TargetHit> found = m_host.RecognizeTarget(*m_pTarget, m_hWnd);
    std::string status;
    if (found) {
        // The shift typed may not be kept yet: the click point is made again with it, by the
        // same rule Play clicks by. The marker shows it; the line says it too, beside where the
        // picture is.
        const Point click = MakeTargetHit(*m_pTarget, found->topLeft, Point{dx, dy}).click;
        m_host.ShowSightForTest(click.x, click.y);
        status = FoundStatusText(found->topLeft, click);
    } else {
        // The nearest place takes a grab and a search of its own: no feedback for a while.
        const CWaitCursor busy;
        status = NotFoundStatusText(m_host.FindNearestPlace(*m_pTarget, m_hWnd));
    }
    ::SetDlgItemTextW(m_hWnd, IDC_RECOGNIZE_STATUS,
                      std::wstring(status.begin(), status.end()).c_str());
}

LRESULT CTargetEditDlg::OnPaint(WPARAM, LPARAM) {
    // The controls paint themselves; the dialog's own client area holds only the picture.
    CPaintDC dc(m_hWnd);
    const CDpiScale scale = WindowScale(m_hWnd);
    DrawTargetPicture(dc.Get(),
                      POINT{scale.Scale(kPictureRect.left), scale.Scale(kPictureRect.top)}, scale,
                      m_pTarget, m_thumbnails);
    return 0;
}
