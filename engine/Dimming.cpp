// Dimming a screen picture towards grey, one table lookup per channel.
#include "engine/Dimming.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// C++ division truncates toward zero, as the dimming rule asks.
constexpr std::array<uint32_t, 256> MakeDimTable() {
    std::array<uint32_t, 256> table{};
    for (int32_t c = 0; c < 256; ++c) {
        table[static_cast<size_t>(c)] =
            static_cast<uint32_t>(std::clamp(128 + (c - 128) * 50 / 100, 0, 255));
    }
    return table;
}

constexpr std::array<uint32_t, 256> kDimTable = MakeDimTable();

}  // namespace

void DimPixels(PixelBuffer& pixels) {
    uint32_t* pixel = pixels.Data();
    const size_t count = pixels.SizeInBytes() / 4;
    for (size_t index = 0; index < count; ++index) {
        const uint32_t value = pixel[index];
        pixel[index] = kDimTable[value & 0xFF] | (kDimTable[(value >> 8) & 0xFF] << 8) |
                       (kDimTable[(value >> 16) & 0xFF] << 16);
    }
}
