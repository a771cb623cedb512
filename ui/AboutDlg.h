// CAboutDlg: the modal About box with the product's name, version and a link to its help page.
#pragma once

#include "AboutDlgRes.h"
#include "framework/DialogEx.h"
#include "ui/HyperLink.h"

#include <filesystem>
#include <optional>

class CAboutDlg : public CDialogImpl<CAboutDlg> {
public:
    // `pageFolder`: where the link writes the help page before opening it (the default file's
    // folder); nothing when there is no such folder, and the link then fails visibly.
    explicit CAboutDlg(std::optional<std::filesystem::path> pageFolder);
    ~CAboutDlg() override;

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    void OnLinkClicked();

    std::optional<std::filesystem::path> m_pageFolder;
    CHyperLink m_link;

public:
    static constexpr CMessageEntry<CAboutDlg> s_messages[] = {
        {WM_CTLCOLORSTATIC, &CAboutDlg::OnCtlColorStatic},
    };
    static constexpr CCommandEntry<CAboutDlg> s_commands[] = {
        {IDC_ABOUT_LINK, &CAboutDlg::OnLinkClicked},
    };
};
