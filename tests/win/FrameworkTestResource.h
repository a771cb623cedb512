// Resource ids of the framework tests' dialog template (FrameworkTest.rc).
#pragma once

#define IDD_FW_PROBE 9100
#define IDC_FW_CHECK 9101
#define IDC_FW_RADIO0 9102
#define IDC_FW_RADIO1 9103
#define IDC_FW_RADIO2 9104
#define IDC_FW_TEXT 9105
#define IDC_FW_NUMBER 9106
#define IDC_FW_SPIN 9107
#define IDC_FW_BUTTON 9108
#define IDC_FW_LABEL 9109

// Commands without controls: sent as menu commands by the tests.
#define ID_FW_END_WITH_42 9120
#define ID_FW_RANGE_FIRST 9130
#define ID_FW_RANGE_LAST 9139

#define IDD_FW_MISSING 9199
