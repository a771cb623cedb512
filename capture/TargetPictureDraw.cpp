// Drawing the composed target picture into a device context.
#include "capture/TargetPictureDraw.h"

#include "capture/TargetPicture.h"
#include "engine/PictureScale.h"
#include "engine/ScreenGrab.h"

void DrawTargetPicture(HDC hDC, POINT ptDest, const CDpiScale& scale, const CTargetObj* pTarget,
                       const TargetThumbnails& thumbnails, const PixelBuffer* pBadge) {
    if (pTarget == nullptr) {
        return;
    }
    // The whole picture is made in memory, so the screen sees one copy and never a half-drawn
    // tile.
    // Composed as at 96 DPI and enlarged as a whole, so that the target's pixels, the frame and
    // the badge keep their proportions at every scale.
    const PixelBuffer picture =
        ScalePicture(ComposePictureOfTarget(kTargetPictureWidth, kTargetPictureHeight, *pTarget,
                                            thumbnails, pBadge),
                     scale.Scale(kTargetPictureWidth), scale.Scale(kTargetPictureHeight));
    if (picture.IsEmpty()) {
        return;
    }
    const BITMAPINFO info = TopDownInfo32(picture.Width(), picture.Height());
    ::SetDIBitsToDevice(hDC, ptDest.x, ptDest.y, static_cast<DWORD>(picture.Width()),
                        static_cast<DWORD>(picture.Height()), 0, 0, 0,
                        static_cast<UINT>(picture.Height()), picture.Data(), &info, DIB_RGB_COLORS);
}
