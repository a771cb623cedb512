// ITargetEditorHost: what the Target Editor's recognition test needs of the panel.
#pragma once

#include "engine/NearestMatch.h"
#include "engine/PixelBuffer.h"
#include "engine/TargetSearch.h"

#include <optional>

#include <windows.h>

class CTargetObj;

class ITargetEditorHost {
public:
    // Where `target` is on the screen now, as Play would find it (Locate: top-left, centre and
    // click point, desktop pixels), or nothing. `hEditor` is blacked out of the screen picture,
    // so the editor's own copy of the picture is never found.
    virtual std::optional<TargetHit> RecognizeTarget(const CTargetObj& target, HWND hEditor) = 0;
    // Where `target`'s picture comes nearest to the screen now (top-left in desktop pixels),
    // grabbed and blacked out as RecognizeTarget grabs it; nothing when the screen or the picture
    // cannot be read (silently: RecognizeTarget has told the user) or the picture has no place on
    // the screen.
    virtual std::optional<NearestMatch> FindNearestPlace(const CTargetObj& target,
                                                         HWND hEditor) = 0;
    // Shows the sight marker centred on the desktop point (x, y) for two seconds.
    virtual int ShowSightForTest(int x, int y) = 0;

protected:
    ~ITargetEditorHost() = default;
};
