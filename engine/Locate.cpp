// The recognition path shared by Play, the recognition test and the nearest-place search.
#include "engine/Locate.h"

#include "engine/PictureSearch.h"

TargetHit HitOnDesktop(const TargetHit& hit, Point origin) {
    return MakeTargetHit(*hit.target, ImageToDesktop(hit.topLeft, origin));
}

std::optional<TargetHit> Locate(const CTargetObj& target, const DesktopImage& screen) {
    const PixelBuffer* pPicture = target.m_bmpTarget.Pixels();
    if (pPicture == nullptr) {
        return std::nullopt;
    }
    const std::optional<Point> found = FindPicture(screen.pixels, *pPicture);
    if (!found) {
        return std::nullopt;
    }
    return MakeTargetHit(target, ImageToDesktop(*found, screen.origin));
}

std::optional<NearestMatch> LocateNearest(const CTargetObj& target, const DesktopImage& screen) {
    const PixelBuffer* pPicture = target.m_bmpTarget.Pixels();
    if (pPicture == nullptr) {
        return std::nullopt;
    }
    std::optional<NearestMatch> nearest = FindNearestMatch(screen.pixels, *pPicture);
    if (nearest) {
        nearest->topLeft = ImageToDesktop(nearest->topLeft, screen.origin);
    }
    return nearest;
}
