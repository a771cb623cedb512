// DrawTargetPicture: the target picture of a tile or the Target Editor, drawn in one copy.
#pragma once

#include "engine/BitmapEx.h"

#include <windows.h>

class CTargetObj;

// Composes the W x H picture of `pTarget` with its thumbnails (and the tile's hover badge when
// `pBadge` is given) off screen and copies it to `hDC` at `ptDest` in one block. Nothing is
// drawn without a target.
void DrawTargetPicture(HDC hDC, POINT ptDest, int nWidth, int nHeight, const CTargetObj* pTarget,
                       const TargetThumbnails& thumbnails, const PixelBuffer* pBadge = nullptr);
