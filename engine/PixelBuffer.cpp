// Allocation and filling of pixel buffers.
#include "engine/PixelBuffer.h"

PixelBuffer::PixelBuffer(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    m_pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    m_nWidth = width;
    m_nHeight = height;
}

void CopyPixelsClearingFourthByte(const uint32_t* pSource, PixelBuffer& target) {
    uint32_t* pTarget = target.Data();
    const size_t nPixels =
        static_cast<size_t>(target.Width()) * static_cast<size_t>(target.Height());
    for (size_t i = 0; i < nPixels; ++i) {
        pTarget[i] = pSource[i] & 0x00FFFFFFu;
    }
}
