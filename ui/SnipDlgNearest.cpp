// CSnipDlg: the nearest place of a target that the Target Editor's test did not find.
#include "engine/Locate.h"
#include "model/TargetObj.h"
#include "ui/SnipDlg.h"

std::optional<NearestMatch> CSnipDlg::FindNearestPlace(const CTargetObj& target, HWND hEditor) {
    if (target.m_bmpTarget.Pixels() == nullptr) {
        return std::nullopt;
    }
    // A fresh grab with the same windows blacked out as the test that found nothing: the screen
    // may have changed since, and the editor's own copy of the picture must not come nearest.
    DesktopImage screen;
    if (!GrabScreen(GrabMode::Test, hEditor, screen)) {
        return std::nullopt;
    }
    return LocateNearest(target, screen);
}
