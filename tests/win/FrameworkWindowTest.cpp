// Custom windows and subclassed static controls under real Win32: routing from creation to
// destruction, default handling, and the exception boundary.
#include "framework/ButtonCtrl.h"
#include "framework/CustomWnd.h"
#include "framework/DataExchange.h"
#include "framework/DialogEx.h"
#include "framework/HandleCounts.h"
#include "framework/PaintDC.h"
#include "framework/Static.h"

#include "tests/win/FrameworkTestResource.h"
#include "tests/win/FrameworkTestUtil.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_FW_TWICE = WM_APP + 10;
constexpr UINT WM_FW_THROW = WM_APP + 11;
constexpr wchar_t kProbeClass[] = L"TarvikFrameworkProbeWnd";

const CWindowClassInfo kProbeClassInfo{
    kProbeClass, CS_DBLCLKS, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
    nullptr,     nullptr};

class CProbeWnd : public CCustomWndImpl<CProbeWnd> {
public:
    bool m_bThrowInCreate = false;
    HWND m_hWndSeenInCreate = nullptr;
    int m_nPaints = 0;
    long m_nPaintDCsWhilePainting = 0;
    int m_nDestroys = 0;

    LRESULT OnCreate(WPARAM, LPARAM) {
        m_hWndSeenInCreate = m_hWnd;
        if (m_bThrowInCreate) {
            throw std::runtime_error("create failed");
        }
        return 0;
    }
    LRESULT OnTwice(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("window handler failed"); }
    LRESULT OnPaint(WPARAM, LPARAM) {
        CPaintDC dc(m_hWnd);
        ++m_nPaints;
        m_nPaintDCsWhilePainting = CHandleCounts::Live(HandleKind::PaintDC);
        return 0;
    }
    LRESULT OnDestroy(WPARAM, LPARAM) {
        ++m_nDestroys;
        return 0;
    }
    // What the typed handlers were given, in order.
    std::vector<std::string> m_typedCalls;
    void OnTimer(UINT_PTR nId) { m_typedCalls.push_back("timer " + std::to_string(nId)); }
    void OnSize(UINT nType, SIZE size) {
        m_typedCalls.push_back("size " + std::to_string(nType) + " " + std::to_string(size.cx) +
                               "x" + std::to_string(size.cy));
    }
    void OnDisplayChange(UINT nBits, SIZE size) {
        m_typedCalls.push_back("display " + std::to_string(nBits) + " " + std::to_string(size.cx) +
                               "x" + std::to_string(size.cy));
    }
    void OnDpiChanged(UINT nDpi, const RECT& rc) {
        m_typedCalls.push_back("dpi " + std::to_string(nDpi) + " " + std::to_string(rc.left) + "," +
                               std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
                               std::to_string(rc.bottom));
    }

    static constexpr CMessageEntry<CProbeWnd> s_messages[] = {
        {WM_CREATE, &CProbeWnd::OnCreate},
        {WM_FW_TWICE, &CProbeWnd::OnTwice},
        {WM_FW_THROW, &CProbeWnd::OnThrow},
        {WM_PAINT, &CProbeWnd::OnPaint},
        {WM_DESTROY, &CProbeWnd::OnDestroy},
        TimerEntry<&CProbeWnd::OnTimer>(),
        SizeEntry<&CProbeWnd::OnSize>(),
        DisplayChangeEntry<&CProbeWnd::OnDisplayChange>(),
        DpiChangedEntry<&CProbeWnd::OnDpiChanged>(),
    };
};

// Shown only for painting: hiding a shown window costs seconds under Wine without a window
// manager.
bool CreateProbe(CProbeWnd& wnd, bool bVisible = false) {
    return wnd.Create(kProbeClassInfo, 0, L"Probe",
                      WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0), RECT{40, 40, 240, 200},
                      nullptr);
}

// A label taken over from the probe template, or created on its own.
class CProbeLabel : public CStaticImpl<CProbeLabel> {
public:
    int m_nSetTexts = 0;
    LRESULT OnTwice(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT OnSetText(WPARAM, LPARAM) {
        ++m_nSetTexts;
        return Default();
    }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("label handler failed"); }

    static constexpr CMessageEntry<CProbeLabel> s_messages[] = {
        {WM_FW_TWICE, &CProbeLabel::OnTwice},
        {WM_SETTEXT, &CProbeLabel::OnSetText},
        {WM_FW_THROW, &CProbeLabel::OnThrow},
    };
};

// The probe template with the label bound through data exchange.
class CLabelDlg : public CDialogEx {
public:
    CLabelDlg() : CDialogEx(IDD_FW_PROBE) {}
    CProbeLabel m_label;
    void DoDataExchange(CDataExchange& dx) override { dx.Control(IDC_FW_LABEL, m_label); }
};

class FrameworkWindow : public ::testing::Test {
protected:
    void SetUp() override { InitFrameworkTestControls(); }
};

TEST_F(FrameworkWindow, CreationMessagesReachTheObject) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreateProbe(wnd));
    EXPECT_NE(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.m_hWndSeenInCreate, wnd.GetSafeHwnd());
    EXPECT_EQ(wnd.SendMessage(WM_FW_TWICE, 21), 42);
}

TEST_F(FrameworkWindow, TypedEntriesDecodeTheirMessages) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreateProbe(wnd));
    wnd.m_typedCalls.clear();
    EXPECT_EQ(wnd.SendMessage(WM_TIMER, 9991, 0), 0);
    EXPECT_EQ(wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(260, 1000)), 0);
    EXPECT_EQ(wnd.SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024)), 0);
    RECT rcSuggested{-1024, -300, -764, 700};
    EXPECT_EQ(wnd.SendMessage(WM_DPICHANGED, MAKEWPARAM(192, 192),
                              reinterpret_cast<LPARAM>(&rcSuggested)),
              0);
    // Without a rectangle there is nothing to take: the handler is not called.
    EXPECT_EQ(wnd.SendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), 0), 0);
    EXPECT_EQ(wnd.m_typedCalls,
              (std::vector<std::string>{"timer 9991", "size 2 260x1000", "display 32 1280x1024",
                                        "dpi 192 -1024,-300,-764,700"}));
}

TEST_F(FrameworkWindow, EachWindowRoutesToItsOwnObject) {
    CProbeWnd first;
    CProbeWnd second;
    ASSERT_TRUE(CreateProbe(first));
    ASSERT_TRUE(CreateProbe(second));
    first.DestroyWindow();
    EXPECT_EQ(first.m_nDestroys, 1);
    EXPECT_EQ(second.m_nDestroys, 0);
    EXPECT_EQ(second.SendMessage(WM_FW_TWICE, 4), 8);
}

TEST_F(FrameworkWindow, UnmatchedMessagesGetTheClassDefaults) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreateProbe(wnd));
    EXPECT_TRUE(wnd.SetWindowText(L"Retitled"));
    EXPECT_EQ(wnd.GetWindowText(), L"Retitled");
    EXPECT_EQ(wnd.SendMessage(WM_APP + 99, 5, 5), 0);
}

TEST_F(FrameworkWindow, PaintHandlerValidatesThroughCPaintDC) {
    const long nBaseline = CHandleCounts::Total();
    CProbeWnd wnd;
    ASSERT_TRUE(CreateProbe(wnd, true));
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_GE(wnd.m_nPaints, 1);
    EXPECT_EQ(wnd.m_nPaintDCsWhilePainting, 1);
    EXPECT_FALSE(GetUpdateRect(wnd.GetSafeHwnd(), nullptr, FALSE));
    EXPECT_EQ(CHandleCounts::Total(), nBaseline);
}

TEST_F(FrameworkWindow, DestructionForgetsTheWindow) {
    CProbeWnd wnd;
    ASSERT_TRUE(CreateProbe(wnd));
    const HWND hWnd = wnd.GetSafeHwnd();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.m_nDestroys, 1);
    // The same object makes a new window.
    ASSERT_TRUE(CreateProbe(wnd));
    EXPECT_EQ(wnd.SendMessage(WM_FW_TWICE, 1), 2);
}

TEST_F(FrameworkWindow, DestroyingTheObjectDestroysItsWindow) {
    HWND hWnd = nullptr;
    {
        CProbeWnd wnd;
        ASSERT_TRUE(CreateProbe(wnd));
        hWnd = wnd.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST_F(FrameworkWindow, CreateHandlerThatThrowsFailsTheCreation) {
    CExceptionRecorder recorder;
    CProbeWnd wnd;
    wnd.m_bThrowInCreate = true;
    EXPECT_FALSE(CreateProbe(wnd));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].uMsg, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(recorder.Reports()[0].strWhat, "create failed");
}

TEST_F(FrameworkWindow, HandlerExceptionIsReportedAndTheWindowLivesOn) {
    CExceptionRecorder recorder;
    CProbeWnd wnd;
    ASSERT_TRUE(CreateProbe(wnd));
    wnd.SendMessage(WM_FW_THROW);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].hWnd, wnd.GetSafeHwnd());
    EXPECT_EQ(wnd.SendMessage(WM_FW_TWICE, 3), 6);
}

TEST_F(FrameworkWindow, ClassNameOfAForeignProcedureIsRefused) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarvikFrameworkForeignWnd";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    CProbeWnd wnd;
    CWindowClassInfo foreign = kProbeClassInfo;
    foreign.pszName = wc.lpszClassName;
    EXPECT_FALSE(wnd.Create(foreign, 0, L"", WS_OVERLAPPED, RECT{0, 0, 10, 10}, nullptr));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
}

TEST_F(FrameworkWindow, StaticFromATemplateRoutesToItsTableThenToTheControl) {
    CLabelDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    const HWND hLabel = GetDlgItem(dlg.GetSafeHwnd(), IDC_FW_LABEL);
    ASSERT_EQ(dlg.m_label.GetSafeHwnd(), hLabel);

    EXPECT_EQ(SendMessageW(hLabel, WM_FW_TWICE, 8, 0), 16);
    EXPECT_TRUE(SetWindowTextW(hLabel, L"Relabelled"));
    EXPECT_EQ(dlg.m_label.m_nSetTexts, 1);
    EXPECT_EQ(dlg.m_label.GetWindowText(), L"Relabelled");
    // WM_GETTEXT has no entry: the static control itself answers.
    wchar_t szText[32] = {};
    EXPECT_EQ(SendMessageW(hLabel, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(szText)), 10);
}

TEST_F(FrameworkWindow, StaticGivenBackKeepsWorkingWithoutTheTable) {
    CDialogEx dlg(IDD_FW_PROBE);
    ASSERT_TRUE(dlg.Create(nullptr));
    const HWND hLabel = GetDlgItem(dlg.GetSafeHwnd(), IDC_FW_LABEL);
    {
        CProbeLabel label;
        ASSERT_TRUE(label.SubclassDlgItem(IDC_FW_LABEL, dlg.GetSafeHwnd()));
        EXPECT_EQ(SendMessageW(hLabel, WM_FW_TWICE, 2, 0), 4);
    }
    EXPECT_TRUE(IsWindow(hLabel));
    EXPECT_EQ(SendMessageW(hLabel, WM_FW_TWICE, 2, 0), 0);
    EXPECT_TRUE(SetWindowTextW(hLabel, L"Still a label"));
}

TEST_F(FrameworkWindow, CreatedStaticIsOwnedAndItsExceptionsStayInside) {
    CExceptionRecorder recorder;
    CProbeWnd parent;
    ASSERT_TRUE(CreateProbe(parent));
    HWND hLabel = nullptr;
    {
        CProbeLabel label;
        ASSERT_TRUE(label.Create(L"Own", WS_VISIBLE | SS_LEFT, RECT{5, 5, 80, 25},
                                 parent.GetSafeHwnd(), 77));
        hLabel = label.GetSafeHwnd();
        EXPECT_EQ(GetDlgCtrlID(hLabel), 77);
        label.SendMessage(WM_FW_THROW);
        ASSERT_EQ(recorder.Reports().size(), 1u);
        EXPECT_EQ(recorder.Reports()[0].strWhat, "label handler failed");
        EXPECT_EQ(label.GetWindowText(), L"Own");
    }
    EXPECT_FALSE(IsWindow(hLabel));
}

TEST_F(FrameworkWindow, ButtonShowsItsCheckIconAndEnabledState) {
    CProbeWnd parent;
    ASSERT_TRUE(CreateProbe(parent));
    // Play's kind of button: a check box that looks like a push button and shows an icon.
    const CButtonCtrl button(::CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON, 5, 5,
        40, 40, parent.GetSafeHwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(button.GetSafeHwnd(), nullptr);
    const HICON hFirst = ::LoadIconW(nullptr, IDI_APPLICATION);
    const HICON hSecond = ::LoadIconW(nullptr, IDI_WARNING);
    struct Step {
        bool bChecked;
        HICON hIcon;
        bool bEnabled;
    };
    const Step steps[] = {{true, hFirst, false}, {false, hSecond, true}, {true, hSecond, true}};
    HICON hShown = nullptr;
    for (const Step& step : steps) {
        button.SetCheck(step.bChecked);
        EXPECT_EQ(button.SetIcon(step.hIcon), hShown);
        button.Enable(step.bEnabled);
        EXPECT_EQ(button.IsChecked(), step.bChecked);
        EXPECT_EQ(::SendMessageW(button.GetSafeHwnd(), BM_GETCHECK, 0, 0),
                  step.bChecked ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(button.GetIcon(), step.hIcon);
        EXPECT_EQ(::IsWindowEnabled(button.GetSafeHwnd()) != FALSE, step.bEnabled);
        hShown = step.hIcon;
    }
    // No window reads as unchecked.
    EXPECT_FALSE(CButtonCtrl(nullptr).IsChecked());
}

TEST_F(FrameworkWindow, StaticDestroyedWithItsDialogForgetsTheWindow) {
    CLabelDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    ASSERT_NE(dlg.m_label.GetSafeHwnd(), nullptr);
    dlg.EndDialog(IDCANCEL);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.m_label.GetSafeHwnd(), nullptr);
}

}  // namespace
