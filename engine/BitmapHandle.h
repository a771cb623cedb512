// Bitmap and region handles made from and read into our pictures (the Win32 half of the bitmap
// utilities).
#pragma once

#include "engine/BitmapEx.h"
#include "engine/PixelBuffer.h"
#include "framework/GdiObject.h"

#include <windows.h>

// Loads a bitmap of more than 8 bits per pixel (16, 24 or 32) into `bitmap`: afterwards it holds
// 32 bits per pixel, stride width * 4, rows bottom-up. A null handle returns false and leaves
// `bitmap` as it was; any other failure, and a picture of 8 bits or fewer, leaves it empty and
// returns false. `hBitmap` must not be selected into a device context.
bool LoadFromBitmapHandle(CBitmapEx& bitmap, HBITMAP hBitmap);

// Reads a picture the program made (a true-colour bitmap) as 32-bit pixels with top-down rows
// and the fourth byte 0, sized as the bitmap. Returns false, with `topDown` empty, for a null or
// unreadable handle. `hBitmap` must not be selected into a device context.
bool ReadBitmapPixels(HBITMAP hBitmap, PixelBuffer& topDown);

// The window region of a key-colour picture (top-down): the pixels that RegionRunsFromKeyColour
// counts opaque, in the picture's own coordinates. A picture without opaque pixels gives an empty
// region; the owner is empty only when the system fails to create a region.
CGdiObject<HRGN> CreateRegionFromPicture(const PixelBuffer& picture);

// The region of the sight picture, bitmap resource IDB_SIGHT of this executable: everything but
// the pixels within 16 per channel of its top-left (white) pixel. Empty owner when the bitmap
// cannot be loaded or read.
CGdiObject<HRGN> CreateRegionFromBitmap();
