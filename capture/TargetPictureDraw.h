// DrawTargetPicture: the target picture of a tile or the Target Editor, drawn in one copy.
#pragma once

#include "engine/BitmapEx.h"
#include "engine/DpiScale.h"

#include <windows.h>

class CTargetObj;

// Composes the picture of `pTarget` with its thumbnails (and the tile's hover badge when
// `pBadge` is given) off screen, 102 x 64 as at 96 DPI, enlarges it to `scale` (see
// ScalePicture: blocks at 200 %, smooth at fractional scales) and copies it to `hDC` at `ptDest`
// in one block. Nothing is drawn without a target.
void DrawTargetPicture(HDC hDC, POINT ptDest, const CDpiScale& scale, const CTargetObj* pTarget,
                       const TargetThumbnails& thumbnails, const PixelBuffer* pBadge = nullptr);
