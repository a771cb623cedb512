// Bitmap and region handles made from and read into our pictures.
#include "engine/BitmapHandle.h"

#include "engine/RegionRuns.h"
#include "framework/MemDC.h"

#include "resource.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The size and depth of a bitmap; false for a handle that is not a bitmap.
bool QueryBitmap(HBITMAP hBitmap, BITMAP& info) {
    info = {};
    if (::GetObjectW(hBitmap, sizeof(info), &info) != sizeof(info) || info.bmWidth < 1 ||
        info.bmHeight == 0) {
        return false;
    }
    // A top-down DIB section may report its height negative.
    info.bmHeight = std::abs(info.bmHeight);
    return true;
}

// Rows of a DIB of `nBitsPerPixel` are padded to whole 32-bit words.
size_t DibStride(int nWidth, int nBitsPerPixel) {
    return ((static_cast<size_t>(nWidth) * static_cast<size_t>(nBitsPerPixel) + 31) / 32) * 4;
}

// Reads `hBitmap` with GetDIBits at `nBitsPerPixel` (16: 5-5-5), top row first, into `rows`.
bool ReadTopDownRows(HBITMAP hBitmap, int nWidth, int nHeight, int nBitsPerPixel, void* rows) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = static_cast<WORD>(nBitsPerPixel);
    bmi.bmiHeader.biCompression = BI_RGB;
    CMemDC dc(nullptr);
    return dc && ::GetDIBits(dc.Get(), hBitmap, 0, static_cast<UINT>(nHeight), rows, &bmi,
                             DIB_RGB_COLORS) == nHeight;
}

}  // namespace

bool LoadFromBitmapHandle(CBitmapEx& bitmap, HBITMAP hBitmap) {
    if (hBitmap == nullptr) {
        return false;
    }
    bitmap = CBitmapEx();
    BITMAP info;
    if (!QueryBitmap(hBitmap, info) || info.bmBitsPixel <= 8) {
        return false;
    }
    // GetDIBits gives the same pixels as GetBitmapBits for the screen-compatible bitmaps the
    // program makes, and a row layout we know for DIB sections too (whose GetObject stride is not
    // the one GetBitmapBits delivers). A 15- or 16-bit picture is read as 5-5-5.
    const int nBits = info.bmBitsPixel >= 32 ? 32 : info.bmBitsPixel >= 24 ? 24 : 16;
    const size_t stride = DibStride(info.bmWidth, nBits);
    std::vector<uint8_t> rows(stride * static_cast<size_t>(info.bmHeight));
    if (!ReadTopDownRows(hBitmap, info.bmWidth, info.bmHeight, nBits, rows.data())) {
        return false;
    }
    return bitmap.LoadFromRows(info.bmWidth, info.bmHeight, nBits, stride, rows);
}

bool ReadBitmapPixels(HBITMAP hBitmap, PixelBuffer& topDown) {
    topDown = PixelBuffer();
    BITMAP info;
    if (hBitmap == nullptr || !QueryBitmap(hBitmap, info)) {
        return false;
    }
    PixelBuffer pixels(info.bmWidth, info.bmHeight);
    if (!ReadTopDownRows(hBitmap, info.bmWidth, info.bmHeight, 32, pixels.Data())) {
        return false;
    }
    // A 32-bit source may carry alpha; our pixels compare equal only with the fourth byte 0.
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        for (uint32_t* p = pixels.Row(y); p != pixels.Row(y) + pixels.Width(); ++p) {
            *p &= 0x00FFFFFFu;
        }
    }
    topDown = std::move(pixels);
    return true;
}

CGdiObject<HRGN> CreateRegionFromPicture(const PixelBuffer& picture) {
    const std::vector<RegionRunBatch> batches = RegionRunsFromKeyColour(picture);
    if (batches.empty()) {
        return CGdiObject<HRGN>(::CreateRectRgn(0, 0, 0, 0));
    }
    CGdiObject<HRGN> result;
    std::vector<uint8_t> block;
    for (const RegionRunBatch& batch : batches) {
        RGNDATAHEADER header = {};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(batch.rects.size());
        header.nRgnSize = 0;
        header.rcBound = {batch.bounds.left, batch.bounds.top, batch.bounds.right,
                          batch.bounds.bottom};
        block.resize(sizeof(header) + batch.rects.size() * sizeof(RECT));
        std::memcpy(block.data(), &header, sizeof(header));
        for (size_t i = 0; i < batch.rects.size(); ++i) {
            const Rect& rc = batch.rects[i];
            const RECT rect = {rc.left, rc.top, rc.right, rc.bottom};
            std::memcpy(block.data() + sizeof(header) + i * sizeof(RECT), &rect, sizeof(rect));
        }
        CGdiObject<HRGN> part(::ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()),
                                                reinterpret_cast<const RGNDATA*>(block.data())));
        if (!part) {
            return CGdiObject<HRGN>();
        }
        if (!result) {
            result = std::move(part);
        } else if (::CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR) == ERROR) {
            return CGdiObject<HRGN>();
        }
    }
    return result;
}

CGdiObject<HRGN> CreateRegionFromBitmap() {
    const CGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SIGHT), IMAGE_BITMAP, 0, 0, 0)));
    PixelBuffer picture;
    if (!bitmap || !ReadBitmapPixels(bitmap.Get(), picture)) {
        return CGdiObject<HRGN>();
    }
    return CreateRegionFromPicture(picture);
}
