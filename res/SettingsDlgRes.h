// Resource ids of the settings dialog (template and controls).
#ifndef TARVIK_RES_SETTINGS_DLG_RES_H
#define TARVIK_RES_SETTINGS_DLG_RES_H

#define IDD_SETTINGS 164
#define IDC_SETTINGS_AUTOPLAY 1026
#define IDC_SETTINGS_VIEW_COMMON 1039
#define IDC_SETTINGS_VIEW_FLY 1040
#define IDC_SETTINGS_VIEW_TRAY 1041
#define IDC_SETTINGS_AUTORUN 1042
#define IDC_SETTINGS_VIEW_GROUP 1043
#define IDC_SETTINGS_METRO 1056
// The Play/Pause hotkey: its label, the hotkey control and the line that says it is taken.
#define IDC_SETTINGS_HOTKEY_LABEL 1060
#define IDC_SETTINGS_HOTKEY 1061
#define IDC_SETTINGS_HOTKEY_STATUS 1062

#endif
