// Resource ids of the About box and of the help page that its link and the Help menu open.
#ifndef TARVIK_RES_ABOUT_DLG_RES_H
#define TARVIK_RES_ABOUT_DLG_RES_H

#define IDD_ABOUTBOX 100
#define IDC_ABOUT_LINK 1048
// The help page, an HTML file kept as raw data.
#define IDR_HELP_PAGE 300

#endif
