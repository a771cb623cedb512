// Screen capture through a DIB section and PNG writing with stb_image_write.
#include "tests/e2e/ScreenShot.h"

#include "framework/GdiObject.h"
#include "framework/MemDC.h"
#include "framework/SelectObject.h"
#include "framework/WindowDC.h"

#include <stb_image_write.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

void AppendToStream(void* pContext, void* pData, int nSize) {
    static_cast<std::ofstream*>(pContext)->write(static_cast<const char*>(pData), nSize);
}

}  // namespace

namespace {

// The screen's pixels in the rectangle of width `cx` and height `cy` whose top-left is the
// screen point (x, y); empty on failure.
PixelBuffer CaptureRect(int x, int y, int cx, int cy) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    const CClientDC screen(nullptr);
    const CMemDC memory(screen.Get());
    void* pBits = nullptr;
    const CGdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!screen || !memory || !bitmap || pBits == nullptr) {
        return {};
    }
    CSelectObject selected(memory.Get(), bitmap.Get());
    if (!selected.IsSelected() ||
        !BitBlt(memory.Get(), 0, 0, cx, cy, screen.Get(), x, y, SRCCOPY | CAPTUREBLT)) {
        return {};
    }
    GdiFlush();
    // The DIB section holds blue, green, red, unused: the pixel buffer's own layout.
    PixelBuffer pixels(cx, cy);
    std::memcpy(pixels.Data(), pBits, pixels.SizeInBytes());
    return pixels;
}

}  // namespace

PixelBuffer CaptureScreen() {
    return CaptureRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

DesktopImage CaptureDesktop() {
    const Point origin{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    return {CaptureRect(origin.x, origin.y, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        GetSystemMetrics(SM_CYVIRTUALSCREEN)),
            origin};
}

bool SavePng(const PixelBuffer& pixels, const std::filesystem::path& file) {
    if (pixels.IsEmpty()) {
        return false;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(pixels.Width()) * pixels.Height() * 3);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint32_t nPixel = pixels.At(x, y);
            uint8_t* pOut = &rgb[(static_cast<size_t>(y) * pixels.Width() + x) * 3];
            pOut[0] = static_cast<uint8_t>(nPixel >> 16);
            pOut[1] = static_cast<uint8_t>(nPixel >> 8);
            pOut[2] = static_cast<uint8_t>(nPixel);
        }
    }
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    const int bWritten = stbi_write_png_to_func(AppendToStream, &out, pixels.Width(),
                                                pixels.Height(), 3, rgb.data(), pixels.Width() * 3);
    out.close();
    return bWritten != 0 && out.good();
}

bool SaveScreenPng(const std::filesystem::path& file) {
    return SavePng(CaptureDesktop().pixels, file);
}
