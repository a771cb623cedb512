// Allocation of pixel buffers.
#include "engine/PixelBuffer.h"

PixelBuffer::PixelBuffer(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    m_pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    m_nWidth = width;
    m_nHeight = height;
}
