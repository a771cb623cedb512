// CDialogEx under real Win32: message-table dispatch, default handling, results, the exception
// boundary, and modal and modeless runs.
#include "framework/DialogEx.h"

#include "tests/win/FrameworkTestResource.h"
#include "tests/win/FrameworkTestUtil.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr UINT WM_FW_SUM = WM_APP + 1;
constexpr UINT WM_FW_THROW = WM_APP + 2;

// A dialog on the probe template whose handlers record what reaches them.
class CProbeDlg : public CDialogImpl<CProbeDlg> {
public:
    CProbeDlg() : CDialogImpl<CProbeDlg>(IDD_FW_PROBE) {}

    int m_nButtonClicks = 0;
    int m_nSetTextCalls = 0;
    std::vector<UINT> m_rangeIds;
    std::vector<int> m_spinDeltas;
    bool m_bRefuseSpin = false;
    bool m_bThrowInSetUp = false;
    UINT m_uPostAtSetUp = 0;
    HBRUSH m_hDialogBrush = nullptr;

    BOOL OnInitDialog() override {
        const BOOL bResult = CDialogImpl<CProbeDlg>::OnInitDialog();
        if (m_bThrowInSetUp) {
            throw std::runtime_error("set-up failed");
        }
        if (m_uPostAtSetUp != 0) {
            PostMessage(WM_COMMAND, m_uPostAtSetUp, 0);
        }
        return bResult;
    }

    LRESULT OnSum(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    LRESULT OnCtlColorDlg(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hDialogBrush); }
    LRESULT OnSetText(WPARAM, LPARAM) {
        ++m_nSetTextCalls;
        return Default();
    }
    void OnButton() { ++m_nButtonClicks; }
    void OnEndWith42() { EndDialog(42); }
    void OnRange(UINT uId) { m_rangeIds.push_back(uId); }
    LRESULT OnSpinDelta(NMHDR* pHeader) {
        m_spinDeltas.push_back(reinterpret_cast<NMUPDOWN*>(pHeader)->iDelta);
        return m_bRefuseSpin ? TRUE : FALSE;
    }

    static constexpr CMessageEntry<CProbeDlg> s_messages[] = {
        {WM_FW_SUM, &CProbeDlg::OnSum},
        {WM_FW_THROW, &CProbeDlg::OnThrow},
        {WM_CTLCOLORDLG, &CProbeDlg::OnCtlColorDlg},
        {WM_SETTEXT, &CProbeDlg::OnSetText},
    };
    static constexpr CCommandEntry<CProbeDlg> s_commands[] = {
        {IDC_FW_BUTTON, &CProbeDlg::OnButton},
        {ID_FW_END_WITH_42, &CProbeDlg::OnEndWith42},
    };
    static constexpr CCommandRangeEntry<CProbeDlg> s_commandRanges[] = {
        {ID_FW_RANGE_FIRST, ID_FW_RANGE_LAST, &CProbeDlg::OnRange},
    };
    static constexpr CNotifyEntry<CProbeDlg> s_notifies[] = {
        {IDC_FW_SPIN, UDN_DELTAPOS, &CProbeDlg::OnSpinDelta},
    };
};

// A dialog below CProbeDlg with a table of its own: its entries come first, the rest reaches
// CProbeDlg's tables.
class CDerivedProbeDlg : public CMessageTables<CDerivedProbeDlg, CProbeDlg> {
public:
    int m_nOwnClicks = 0;
    void OnButtonFirst() { ++m_nOwnClicks; }

    static constexpr CCommandEntry<CDerivedProbeDlg> s_commands[] = {
        {IDC_FW_BUTTON, &CDerivedProbeDlg::OnButtonFirst},
    };
};

class FrameworkDialog : public ::testing::Test {
protected:
    void SetUp() override { InitFrameworkTestControls(); }

    // Opens `dlg` modelessly. Only clicks need it shown: hiding a shown window costs seconds
    // under Wine without a window manager.
    static void Open(CDialogEx& dlg, bool bShow = false) {
        ASSERT_TRUE(dlg.Create(nullptr));
        if (bShow) {
            ShowWindow(dlg.GetSafeHwnd(), SW_SHOW);
        }
    }
    static HWND Item(const CDialogEx& dlg, int nId) { return GetDlgItem(dlg.GetSafeHwnd(), nId); }
};

TEST_F(FrameworkDialog, ButtonClickReachesItsCommandEntry) {
    CProbeDlg dlg;
    Open(dlg, true);
    SendMessageW(Item(dlg, IDC_FW_BUTTON), BM_CLICK, 0, 0);
    SendMessageW(Item(dlg, IDC_FW_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.m_nButtonClicks, 2);
}

TEST_F(FrameworkDialog, MenuAndAcceleratorCommandsReachTablesButOtherNotificationsDoNot) {
    CProbeDlg dlg;
    Open(dlg);
    const HWND hDlg = dlg.GetSafeHwnd();
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(ID_FW_RANGE_FIRST + 3, 0), 0);
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(ID_FW_RANGE_LAST, 1), 0);
    // A control's EN_CHANGE carries the button's id here, but it is no click.
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FW_BUTTON, EN_CHANGE),
                 reinterpret_cast<LPARAM>(Item(dlg, IDC_FW_BUTTON)));
    EXPECT_EQ(dlg.m_rangeIds, (std::vector<UINT>{ID_FW_RANGE_FIRST + 3, ID_FW_RANGE_LAST}));
    EXPECT_EQ(dlg.m_nButtonClicks, 0);
}

TEST_F(FrameworkDialog, HandlerResultReachesTheSenderThroughMsgResult) {
    CProbeDlg dlg;
    Open(dlg);
    // Neither TRUE nor FALSE: only DWLP_MSGRESULT can carry it to the sender.
    EXPECT_EQ(SendMessageW(dlg.GetSafeHwnd(), WM_FW_SUM, 40, 2), 42);
}

TEST_F(FrameworkDialog, ColourMessagesReturnTheBrushDirectly) {
    CProbeDlg dlg;
    dlg.m_hDialogBrush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    Open(dlg);
    const HDC hDC = GetDC(dlg.GetSafeHwnd());
    const LRESULT lResult =
        SendMessageW(dlg.GetSafeHwnd(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC),
                     reinterpret_cast<LPARAM>(dlg.GetSafeHwnd()));
    ReleaseDC(dlg.GetSafeHwnd(), hDC);
    EXPECT_EQ(lResult, reinterpret_cast<LRESULT>(dlg.m_hDialogBrush));
}

TEST_F(FrameworkDialog, UnmatchedMessagesGetTheDialogManagersHandling) {
    CProbeDlg dlg;
    Open(dlg);
    const LRESULT lDefId = SendMessageW(dlg.GetSafeHwnd(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(lDefId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(lDefId), IDOK);
    EXPECT_EQ(dlg.GetWindowText(), L"Framework Probe");
    // Messages nobody handles return the default answer, not "handled".
    EXPECT_EQ(SendMessageW(dlg.GetSafeHwnd(), WM_APP + 50, 7, 7), 0);
}

TEST_F(FrameworkDialog, DefaultFromAHandlerRunsTheDialogManagerOnce) {
    CProbeDlg dlg;
    Open(dlg);
    EXPECT_TRUE(dlg.SetWindowText(L"Renamed"));
    EXPECT_EQ(dlg.m_nSetTextCalls, 1);
    EXPECT_EQ(dlg.GetWindowText(), L"Renamed");
}

TEST_F(FrameworkDialog, UpDownNotificationReachesItsEntryAndItsAnswerCounts) {
    CProbeDlg dlg;
    Open(dlg);
    const HWND hSpin = Item(dlg, IDC_FW_SPIN);
    const HWND hNumber = Item(dlg, IDC_FW_NUMBER);
    SendMessageW(hSpin, UDM_SETRANGE32, 0, 100);
    SendMessageW(hSpin, UDM_SETPOS32, 0, 5);

    SendMessageW(hNumber, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(SendMessageW(hSpin, UDM_GETPOS32, 0, 0), 6);
    dlg.m_bRefuseSpin = true;
    SendMessageW(hNumber, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(SendMessageW(hSpin, UDM_GETPOS32, 0, 0), 6);
    EXPECT_EQ(dlg.m_spinDeltas, (std::vector<int>{1, 1}));
}

TEST_F(FrameworkDialog, DerivedTableComesBeforeTheBaseClassTable) {
    CDerivedProbeDlg dlg;
    Open(dlg, true);
    SendMessageW(Item(dlg, IDC_FW_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.m_nOwnClicks, 1);
    EXPECT_EQ(dlg.m_nButtonClicks, 0);
    EXPECT_EQ(SendMessageW(dlg.GetSafeHwnd(), WM_FW_SUM, 1, 2), 3);
}

TEST_F(FrameworkDialog, ExceptionInAHandlerStaysInsideAndIsReported) {
    CExceptionRecorder recorder;
    CProbeDlg dlg;
    Open(dlg);
    SendMessageW(dlg.GetSafeHwnd(), WM_FW_THROW, 0, 0);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].hWnd, dlg.GetSafeHwnd());
    EXPECT_EQ(recorder.Reports()[0].uMsg, WM_FW_THROW);
    EXPECT_EQ(recorder.Reports()[0].strWhat, "handler failed");
    // The dialog goes on working.
    EXPECT_TRUE(IsWindow(dlg.GetSafeHwnd()));
    EXPECT_EQ(SendMessageW(dlg.GetSafeHwnd(), WM_FW_SUM, 2, 3), 5);
}

TEST_F(FrameworkDialog, ModelessEndDialogDestroysTheWindowAndForgetsIt) {
    CProbeDlg dlg;
    Open(dlg, true);
    const HWND hDlg = dlg.GetSafeHwnd();
    SendMessageW(Item(dlg, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(hDlg));
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    // The object can open its window again.
    Open(dlg);
    EXPECT_TRUE(IsWindow(dlg.GetSafeHwnd()));
}

TEST_F(FrameworkDialog, DestroyingTheObjectDestroysItsModelessWindow) {
    HWND hDlg = nullptr;
    {
        CProbeDlg dlg;
        Open(dlg);
        hDlg = dlg.GetSafeHwnd();
        ASSERT_TRUE(IsWindow(hDlg));
    }
    EXPECT_FALSE(IsWindow(hDlg));
}

TEST_F(FrameworkDialog, ModelessSetUpThatThrowsLeavesNoWindow) {
    CExceptionRecorder recorder;
    CProbeDlg dlg;
    dlg.m_bThrowInSetUp = true;
    EXPECT_FALSE(dlg.Create(nullptr));
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].uMsg, static_cast<UINT>(WM_INITDIALOG));
}

TEST_F(FrameworkDialog, ModalRunReturnsTheValueOfAPostedCommandsEndDialog) {
    CProbeDlg dlg;
    dlg.m_uPostAtSetUp = ID_FW_END_WITH_42;
    EXPECT_EQ(dlg.DoModal(nullptr), 42);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST_F(FrameworkDialog, ModalOkAndCancelEndWithTheirIds) {
    CProbeDlg dlgOk;
    dlgOk.m_uPostAtSetUp = IDOK;
    EXPECT_EQ(dlgOk.DoModal(nullptr), IDOK);
    CProbeDlg dlgCancel;
    dlgCancel.m_uPostAtSetUp = IDCANCEL;
    EXPECT_EQ(dlgCancel.DoModal(nullptr), IDCANCEL);
}

TEST_F(FrameworkDialog, ModalDialogRunsAboveItsOwner) {
    CProbeDlg owner;
    Open(owner);
    CProbeDlg dlg;
    dlg.m_uPostAtSetUp = ID_FW_END_WITH_42;
    EXPECT_EQ(dlg.DoModal(owner.GetSafeHwnd()), 42);
    // The owner was disabled for the run and is enabled again.
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
}

TEST_F(FrameworkDialog, ModalSetUpThatThrowsEndsWithAbort) {
    CExceptionRecorder recorder;
    CProbeDlg dlg;
    dlg.m_bThrowInSetUp = true;
    EXPECT_EQ(dlg.DoModal(nullptr), IDABORT);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].strWhat, "set-up failed");
}

TEST_F(FrameworkDialog, MissingTemplateFailsBothRuns) {
    CDialogEx dlg(IDD_FW_MISSING);
    EXPECT_EQ(dlg.DoModal(nullptr), -1);
    EXPECT_FALSE(dlg.Create(nullptr));
}

}  // namespace
