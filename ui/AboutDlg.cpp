// CAboutDlg: set-up of the About box and the two messages it passes on to its link.
#include "ui/AboutDlg.h"

#include "ui/HelpPage.h"

CAboutDlg::CAboutDlg(std::optional<std::filesystem::path> pageFolder)
    : CDialogImpl<CAboutDlg>(IDD_ABOUTBOX), m_pageFolder(std::move(pageFolder)) {}

CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_link.SubclassDlgItem(IDC_ABOUT_LINK, m_hWnd);
    // The page is written only when the link asks for it, so an About box that is just looked
    // at leaves the data folder alone.
    m_link.SetOpenPreparation([this] { return m_pageFolder && WriteHelpPage(*m_pageFolder); });
    if (m_pageFolder) {
        m_link.SetURL(HelpPagePath(*m_pageFolder).wstring());
    }
    m_link.SetUnderline(CHyperLink::kUnderlineAlways);
    return TRUE;
}

LRESULT CAboutDlg::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) == m_link.GetSafeHwnd()) {
        return reinterpret_cast<LRESULT>(m_link.OnReflectedCtlColor(reinterpret_cast<HDC>(wParam)));
    }
    return Default();
}

void CAboutDlg::OnLinkClicked() {
    m_link.OnReflectedClicked();
}
