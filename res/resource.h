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

#endif
