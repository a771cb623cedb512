// Resource ids of the target selection overlay (template and controls).
#ifndef TARVIK_RES_FULL_SCREEN_SHOOT_RES_H
#define TARVIK_RES_FULL_SCREEN_SHOOT_RES_H

#define IDD_FULL_SCREEN_SHOOT 137
// A hidden picture control that the overlay never uses; kept for tools that look for it.
#define IDC_SHOOT_PICTURE 1021

#endif
