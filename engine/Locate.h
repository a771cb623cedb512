// Where a target would be clicked now: the one recognition path of Play, the Target Editor's
// test and the nearest-place search, in desktop coordinates.
#pragma once

#include <optional>

#include "engine/DesktopCoords.h"
#include "engine/NearestMatch.h"
#include "engine/TargetSearch.h"

// `hit` (found in a picture whose pixel (0, 0) lies at `origin`) moved onto the desktop: its
// top-left, centre and click point in desktop pixels, the centre and click made anew by
// MakeTargetHit so the shift is added once, after the move.
TargetHit HitOnDesktop(const TargetHit& hit, Point origin);

// Finds `target`'s picture in `screen` with FindPicture and returns where it was found, its
// centre and its click point, all desktop pixels; nothing when the target has no pixels or its
// picture is not in the picture of the desktop.
std::optional<TargetHit> Locate(const CTargetObj& target, const DesktopImage& screen);

// Where `target`'s picture comes nearest to `screen` (FindNearestMatch), its top-left in desktop
// pixels; nothing when the target has no pixels or its picture has no place there.
std::optional<NearestMatch> LocateNearest(const CTargetObj& target, const DesktopImage& screen);
