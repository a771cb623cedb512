// Data exchange between a dialog's controls and its members, both ways, and a refused field.
#include "framework/DataExchange.h"
#include "framework/DecimalText.h"
#include "framework/DialogEx.h"

#include "tests/win/FrameworkTestResource.h"
#include "tests/win/FrameworkTestUtil.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>

namespace {

// The probe template with each kind of exchange; OnInitDialog runs a test's script last.
// It needs no message table: OK and Cancel are the base class defaults.
class CExchangeDlg : public CDialogEx {
public:
    CExchangeDlg() : CDialogEx(IDD_FW_PROBE) {}

    int m_nChecked = 0;
    int m_nChoice = 0;
    std::wstring m_strName;
    int m_nShift = 0;
    int m_nShiftMin = 0;
    int m_nShiftMax = 100;
    std::function<void(CExchangeDlg&)> m_onSetUp;

    BOOL OnInitDialog() override {
        const BOOL bResult = CDialogEx::OnInitDialog();
        if (m_onSetUp) {
            m_onSetUp(*this);
        }
        return bResult;
    }
    void DoDataExchange(CDataExchange& dx) override {
        dx.Check(IDC_FW_CHECK, m_nChecked);
        dx.Radio(IDC_FW_RADIO0, IDC_FW_RADIO2, m_nChoice);
        dx.Text(IDC_FW_TEXT, m_strName);
        dx.UpDownRange(IDC_FW_SPIN, m_nShiftMin, m_nShiftMax);
        dx.Int(IDC_FW_NUMBER, m_nShift);
    }
    bool Exchange(bool bFromControls) { return UpdateData(bFromControls); }
};

std::wstring ItemText(HWND hDlg, int nId) {
    wchar_t szText[64] = {};
    GetDlgItemTextW(hDlg, nId, szText, 64);
    return szText;
}

class FrameworkDataExchange : public ::testing::Test {
protected:
    void SetUp() override { InitFrameworkTestControls(); }
    CScriptedPrompts m_prompts;
    CPromptsOverride m_override{m_prompts};
};

TEST_F(FrameworkDataExchange, SetUpWritesTheMembersToTheControls) {
    CExchangeDlg dlg;
    dlg.m_nChecked = 1;
    dlg.m_nChoice = 2;
    dlg.m_strName = L"Target 7";
    dlg.m_nShiftMin = -3000;
    dlg.m_nShiftMax = 3000;
    dlg.m_nShift = -25;
    ASSERT_TRUE(dlg.Create(nullptr));
    const HWND hDlg = dlg.GetSafeHwnd();

    EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_FW_CHECK), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_FW_RADIO0), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_FW_RADIO1), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_FW_RADIO2), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(ItemText(hDlg, IDC_FW_TEXT), L"Target 7");
    EXPECT_EQ(ItemText(hDlg, IDC_FW_NUMBER), L"-25");
    int nMin = 0;
    int nMax = 0;
    SendDlgItemMessageW(hDlg, IDC_FW_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nMin),
                        reinterpret_cast<LPARAM>(&nMax));
    EXPECT_EQ(nMin, -3000);
    EXPECT_EQ(nMax, 3000);
    EXPECT_TRUE(m_prompts.m_calls.empty());
}

TEST_F(FrameworkDataExchange, ControlsChangedByTheUserComeBackToTheMembers) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    ShowWindow(dlg.GetSafeHwnd(), SW_SHOW);
    const HWND hDlg = dlg.GetSafeHwnd();
    SendDlgItemMessageW(hDlg, IDC_FW_CHECK, BM_CLICK, 0, 0);
    SendDlgItemMessageW(hDlg, IDC_FW_RADIO1, BM_CLICK, 0, 0);
    SetDlgItemTextW(hDlg, IDC_FW_TEXT, L"Renamed");
    SetDlgItemTextW(hDlg, IDC_FW_NUMBER, L"  +1234 ");
    SendDlgItemMessageW(hDlg, IDC_FW_SPIN, UDM_SETRANGE32, static_cast<WPARAM>(-5), 5);

    ASSERT_TRUE(dlg.Exchange(true));
    EXPECT_EQ(dlg.m_nChecked, 1);
    EXPECT_EQ(dlg.m_nChoice, 1);
    EXPECT_EQ(dlg.m_strName, L"Renamed");
    EXPECT_EQ(dlg.m_nShift, 1234);
    EXPECT_EQ(dlg.m_nShiftMin, -5);
    EXPECT_EQ(dlg.m_nShiftMax, 5);

    SendDlgItemMessageW(hDlg, IDC_FW_CHECK, BM_CLICK, 0, 0);
    ASSERT_TRUE(dlg.Exchange(true));
    EXPECT_EQ(dlg.m_nChecked, 0);
}

TEST_F(FrameworkDataExchange, RadioGroupWithoutACheckedButtonReadsMinusOne) {
    CExchangeDlg dlg;
    dlg.m_nChoice = 7;  // outside the group: every button unchecked
    ASSERT_TRUE(dlg.Create(nullptr));
    for (int nId = IDC_FW_RADIO0; nId <= IDC_FW_RADIO2; ++nId) {
        EXPECT_EQ(IsDlgButtonChecked(dlg.GetSafeHwnd(), nId), static_cast<UINT>(BST_UNCHECKED));
    }
    ASSERT_TRUE(dlg.Exchange(true));
    EXPECT_EQ(dlg.m_nChoice, -1);
}

TEST_F(FrameworkDataExchange, FieldThatIsNoNumberIsRefusedAndGetsTheFocus) {
    SetAppTitle(L"Probe App");
    CExchangeDlg dlg;
    dlg.m_nShift = 3;
    ASSERT_TRUE(dlg.Create(nullptr));
    const HWND hDlg = dlg.GetSafeHwnd();
    ShowWindow(hDlg, SW_SHOW);
    SetForegroundWindow(hDlg);
    SetDlgItemTextW(hDlg, IDC_FW_NUMBER, L"12px");
    SetDlgItemTextW(hDlg, IDC_FW_TEXT, L"read before the refusal");
    SetFocus(GetDlgItem(hDlg, IDC_FW_TEXT));

    EXPECT_FALSE(dlg.Exchange(true));
    EXPECT_EQ(dlg.m_nShift, 3);
    EXPECT_EQ(dlg.m_strName, L"read before the refusal");
    ASSERT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(m_prompts.m_calls[0].strKind, L"message");
    EXPECT_EQ(m_prompts.m_calls[0].hOwner, hDlg);
    EXPECT_EQ(m_prompts.m_calls[0].strText, L"Please enter an integer.");
    EXPECT_EQ(m_prompts.m_calls[0].strCaption, L"Probe App");
    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_FW_NUMBER));
    const LRESULT lSelection = SendDlgItemMessageW(hDlg, IDC_FW_NUMBER, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(lSelection), 0);
    EXPECT_EQ(HIWORD(lSelection), 4);
    SetAppTitle(L"");
}

TEST_F(FrameworkDataExchange, OkWithARefusedFieldKeepsTheModalDialogOpen) {
    CExchangeDlg dlg;
    dlg.m_nShift = 9;
    dlg.m_onSetUp = [](CExchangeDlg& self) {
        SetDlgItemTextW(self.GetSafeHwnd(), IDC_FW_NUMBER, L"nine");
        self.PostMessage(WM_COMMAND, IDOK, 0);
    };
    // The refusal names the open dialog as its owner; the user then cancels, and the run ends
    // with Cancel, not with the OK that came first.
    HWND hOwnerWhenRefused = nullptr;
    HWND hDialogWhenRefused = nullptr;
    m_prompts.m_onCall = [&](const CScriptedPrompts::CCall& call) {
        hOwnerWhenRefused = call.hOwner;
        hDialogWhenRefused = dlg.GetSafeHwnd();
        PostMessageW(call.hOwner, WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
    EXPECT_NE(hOwnerWhenRefused, nullptr);
    EXPECT_EQ(hOwnerWhenRefused, hDialogWhenRefused);
    EXPECT_EQ(m_prompts.m_calls.size(), 1u);
    EXPECT_EQ(dlg.m_nShift, 9);
}

TEST_F(FrameworkDataExchange, ModalOkStoresTheFieldsAndCancelDoesNot) {
    CExchangeDlg dlgOk;
    dlgOk.m_onSetUp = [](CExchangeDlg& self) {
        SetDlgItemTextW(self.GetSafeHwnd(), IDC_FW_NUMBER, L"-17");
        CheckDlgButton(self.GetSafeHwnd(), IDC_FW_CHECK, BST_CHECKED);
        self.PostMessage(WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dlgOk.DoModal(nullptr), IDOK);
    EXPECT_EQ(dlgOk.m_nShift, -17);
    EXPECT_EQ(dlgOk.m_nChecked, 1);

    CExchangeDlg dlgCancel;
    dlgCancel.m_onSetUp = [](CExchangeDlg& self) {
        SetDlgItemTextW(self.GetSafeHwnd(), IDC_FW_NUMBER, L"-17");
        self.PostMessage(WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(dlgCancel.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(dlgCancel.m_nShift, 0);
    EXPECT_TRUE(m_prompts.m_calls.empty());
}

TEST(FrameworkDecimalText, AcceptsSignedNumbersWithBlanksAround) {
    EXPECT_EQ(ParseDecimalInt(L"42"), 42);
    EXPECT_EQ(ParseDecimalInt(L"  -7\t"), -7);
    EXPECT_EQ(ParseDecimalInt(L"+3"), 3);
    EXPECT_EQ(ParseDecimalInt(L"007"), 7);
    EXPECT_EQ(ParseDecimalInt(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimalInt(L"-2147483648"), -2147483647 - 1);
}

TEST(FrameworkDecimalText, RefusesAnythingElse) {
    for (const wchar_t* pszText :
         {L"", L"  ", L"-", L"+", L"12px", L"1 2", L"1.5", L"--1", L"0x10", L"1,000", L"2147483648",
          L"-2147483649", L"99999999999999999999"}) {
        EXPECT_EQ(ParseDecimalInt(pszText), std::nullopt) << "text: [" << pszText << "]";
    }
}

}  // namespace
