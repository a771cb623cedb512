// Resource identifiers shared by Tarvik.rc and the application code. The numbers are fixed:
// other code and earlier versions refer to them.
#ifndef TARVIK_RES_RESOURCE_H
#define TARVIK_RES_RESOURCE_H

#define IDR_MAINFRAME 128
#define IDI_SELECT_TARGET 129
#define IDC_CROSSHAIR 138
#define IDB_TILE_MENU 139
#define IDI_HIDE_PANEL 149
#define IDI_FLY_WINDOW 150
#define IDI_FILE 153
#define IDI_HELP 154
#define IDI_PLAY 156
#define IDI_PLAYING 157
#define IDI_SETTINGS 158
#define IDI_PLAY_DISABLED 165
#define IDB_TITLE 169
#define IDB_SIGHT 170
// The .trvk document icon that the package's file association names by this id.
#define IDI_TRVK_DOCUMENT 180

// Dialog templates.
#define IDD_TARVIK_DIALOG 102
#define IDD_FLY_WINDOW 142
#define IDD_SIGHT 144

// Menus.
#define IDR_TRAY_MENU 130

// Controls of the main dialog.
#define IDC_SELECT_TARGET 129
#define IDC_PLAY 1025
#define IDC_FILE_MENU 1012
#define IDC_EDIT 1032
#define IDC_HELP_MENU 1033
#define IDC_FLY_WINDOW 1013
#define IDC_HIDE_PANEL 1018
#define IDC_DIAG_LABEL1 1026
#define IDC_DIAG_LABEL2 1027
#define IDC_DIAG_LABEL3 1028
// The target list view is created by code, not by the template.
#define IDC_TARGET_LIST 2

// Commands of the tray, File and Help menus.
#define ID_FILE_NEW 133
#define ID_TRAY_SHOW 32773
#define ID_TRAY_EXIT 32774
#define ID_TRAY_ABOUT 32776
#define ID_HELP_HELP 32789
#define ID_HELP_ABOUT 32790
#define ID_FILE_LOAD 32792
#define ID_FILE_SAVE 32793

// The Target Editor and the tiles' badge menu.
#define IDD_TARGET_EDITOR 172
#define IDC_RECOGNIZE_TEST 1012
#define IDC_RECOGNIZE_STATUS 1070
#define IDC_TARGET_SHIFT_Y 1038
#define IDC_TARGET_NAME 1052
#define IDC_TARGET_SPIN_X 1053
#define IDC_TARGET_SPIN_Y 1054
#define IDC_TARGET_SHIFT_X 1055
#define ID_TILE_EDIT 32782
#define ID_TILE_REMOVE 32784

#endif
