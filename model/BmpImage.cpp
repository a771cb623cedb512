// Encoding of pictures as 32-bit BMP file images and decoding of 16, 24 and 32-bit ones.
#include "model/BmpImage.h"

#include <array>
#include <bit>
#include <cstddef>
#include <limits>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kMaskBytes = 12;
// Where the red, green and blue masks sit: right after a 40-byte info header, or at the same
// place inside a longer one (V4/V5 headers start with the 40 bytes and then the masks).
constexpr size_t kMaskOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr size_t kEncodedPixelOffset = kMaskOffset + kMaskBytes;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;

void PutU16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Callers check that the bytes lie inside the image before reading.
uint16_t GetU16(std::span<const uint8_t> in, size_t at) {
    return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

uint32_t GetU32(std::span<const uint8_t> in, size_t at) {
    return uint32_t{in[at]} | (uint32_t{in[at + 1]} << 8) | (uint32_t{in[at + 2]} << 16) |
           (uint32_t{in[at + 3]} << 24);
}

int32_t GetI32(std::span<const uint8_t> in, size_t at) {
    return static_cast<int32_t>(GetU32(in, at));
}

// One colour component taken out of a pixel through its mask and widened or narrowed to 8 bits.
class Channel {
public:
    // Fails unless the mask is one non-empty run of bits inside a pixel of `bitCount` bits.
    static std::optional<Channel> FromMask(uint32_t mask, unsigned bitCount) {
        if (mask == 0 || (bitCount < 32 && (mask >> bitCount) != 0)) {
            return std::nullopt;
        }
        const int shift = std::countr_zero(mask);
        const uint32_t run = mask >> shift;
        if ((run & (run + 1)) != 0) {
            return std::nullopt;
        }
        return Channel(shift, std::popcount(run), run);
    }

    uint32_t Extract(uint32_t pixel) const {
        const uint32_t value = (pixel >> m_nShift) & m_nRun;
        if (m_nBits >= 8) {
            return value >> (m_nBits - 8);
        }
        // Repeat the bits from the top down so that all-ones maps to 255 and zero to 0.
        uint32_t scaled = 0;
        for (int filled = 0; filled < 8; filled += m_nBits) {
            const int shift = 8 - m_nBits - filled;
            scaled |= shift >= 0 ? value << shift : value >> -shift;
        }
        return scaled;
    }

private:
    Channel(int shift, int bits, uint32_t run) : m_nShift(shift), m_nBits(bits), m_nRun(run) {}

    int m_nShift;
    int m_nBits;
    uint32_t m_nRun;
};

struct PixelLayout {
    unsigned bitCount = 0;
    // Empty for 24-bit pixels, which are always the bytes blue, green, red.
    std::optional<std::array<Channel, 3>> channels;
};

std::optional<std::array<Channel, 3>> ChannelsFromMasks(const std::array<uint32_t, 3>& masks,
                                                        unsigned bitCount) {
    const auto red = Channel::FromMask(masks[0], bitCount);
    const auto green = Channel::FromMask(masks[1], bitCount);
    const auto blue = Channel::FromMask(masks[2], bitCount);
    if (!red || !green || !blue) {
        return std::nullopt;
    }
    return std::array<Channel, 3>{*red, *green, *blue};
}

// Works out how pixels are stored and the first byte the pixel data may start at.
std::optional<PixelLayout> ReadLayout(std::span<const uint8_t> image, uint32_t headerSize,
                                      uint64_t& headersEnd) {
    PixelLayout layout;
    layout.bitCount = GetU16(image, 28);
    const uint32_t compression = GetU32(image, 30);
    headersEnd = kFileHeaderSize + uint64_t{headerSize};

    if (compression == kCompressionRgb) {
        switch (layout.bitCount) {
            case 16:  // 5-5-5, top bit unused
                layout.channels = ChannelsFromMasks({0x7C00, 0x03E0, 0x001F}, 16);
                return layout;
            case 24:
                return layout;
            case 32:  // blue, green, red, unused
                layout.channels = ChannelsFromMasks({0x00FF0000, 0x0000FF00, 0x000000FF}, 32);
                return layout;
            default:
                return std::nullopt;
        }
    }
    if (compression != kCompressionBitFields || (layout.bitCount != 16 && layout.bitCount != 32)) {
        return std::nullopt;
    }
    if (headerSize == kInfoHeaderSize) {
        headersEnd += kMaskBytes;
    } else if (headerSize < kInfoHeaderSize + kMaskBytes) {
        // The masks would straddle the end of the header: no known header looks like that.
        return std::nullopt;
    }
    if (headersEnd > image.size()) {
        return std::nullopt;
    }
    layout.channels = ChannelsFromMasks({GetU32(image, kMaskOffset), GetU32(image, kMaskOffset + 4),
                                         GetU32(image, kMaskOffset + 8)},
                                        layout.bitCount);
    if (!layout.channels) {
        return std::nullopt;
    }
    return layout;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const PixelBuffer& picture) {
    if (picture.IsEmpty()) {
        return {};
    }
    const uint64_t pixelBytes = uint64_t{picture.SizeInBytes()};
    const uint64_t fileSize = kEncodedPixelOffset + pixelBytes;
    // The size fields are 32 bits wide; a picture that big cannot be written faithfully.
    if (fileSize > std::numeric_limits<uint32_t>::max()) {
        return {};
    }

    std::vector<uint8_t> out(static_cast<size_t>(fileSize), 0);
    PutU16(out, 0, 0x4D42);  // "BM"
    PutU32(out, 2, static_cast<uint32_t>(fileSize));
    PutU32(out, 10, static_cast<uint32_t>(kEncodedPixelOffset));
    PutU32(out, 14, static_cast<uint32_t>(kInfoHeaderSize));
    PutU32(out, 18, static_cast<uint32_t>(picture.Width()));
    PutU32(out, 22, static_cast<uint32_t>(picture.Height()));
    PutU16(out, 26, 1);  // planes
    PutU16(out, 28, 32);
    PutU32(out, 30, kCompressionBitFields);
    PutU32(out, 34, static_cast<uint32_t>(pixelBytes));
    PutU32(out, kMaskOffset, 0x00FF0000);
    PutU32(out, kMaskOffset + 4, 0x0000FF00);
    PutU32(out, kMaskOffset + 8, 0x000000FF);

    size_t at = kEncodedPixelOffset;
    for (int32_t y = picture.Height() - 1; y >= 0; --y) {
        const uint32_t* row = picture.Row(y);
        for (int32_t x = 0; x < picture.Width(); ++x) {
            // The fourth byte stays 0: whatever a caller left there is not part of the colour.
            PutU32(out, at, row[x] & 0x00FFFFFF);
            at += 4;
        }
    }
    return out;
}

std::optional<PixelBuffer> DecodeBmp(std::span<const uint8_t> image) {
    if (image.size() < kFileHeaderSize + kInfoHeaderSize) {
        return std::nullopt;
    }
    const uint64_t pixelOffset = GetU32(image, 10);
    const uint32_t headerSize = GetU32(image, 14);
    if (headerSize < kInfoHeaderSize || kFileHeaderSize + uint64_t{headerSize} > image.size()) {
        return std::nullopt;
    }
    const int32_t width = GetI32(image, 18);
    const int32_t height = GetI32(image, 22);
    if (width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min()) {
        return std::nullopt;
    }
    const bool topDown = height < 0;
    const uint64_t rows = topDown ? uint64_t(-int64_t{height}) : uint64_t(height);

    uint64_t headersEnd = 0;
    const std::optional<PixelLayout> layout = ReadLayout(image, headerSize, headersEnd);
    if (!layout || pixelOffset < headersEnd || pixelOffset > image.size()) {
        return std::nullopt;
    }
    // Width < 2^31 and at most 32 bits per pixel keep the stride below 2^34; comparing the row
    // count with what is left after the offset keeps every product below the image size.
    const uint64_t stride = (uint64_t(width) * layout->bitCount + 31) / 32 * 4;
    if (rows > (image.size() - pixelOffset) / stride) {
        return std::nullopt;
    }

    // The pixel data fits in the image, so this allocation is at most twice the image size.
    PixelBuffer picture(width, static_cast<int32_t>(rows));
    const size_t bytesPerPixel = layout->bitCount / 8;
    for (uint64_t fileRow = 0; fileRow < rows; ++fileRow) {
        const size_t rowStart = static_cast<size_t>(pixelOffset + fileRow * stride);
        const auto y = static_cast<int32_t>(topDown ? fileRow : rows - 1 - fileRow);
        uint32_t* out = picture.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = rowStart + static_cast<size_t>(x) * bytesPerPixel;
            if (!layout->channels) {
                out[x] = MakeBgr0(image[at + 2], image[at + 1], image[at]);
                continue;
            }
            const uint32_t raw = layout->bitCount == 16 ? GetU16(image, at) : GetU32(image, at);
            const auto& [red, green, blue] = *layout->channels;
            out[x] = (red.Extract(raw) << 16) | (green.Extract(raw) << 8) | blue.Extract(raw);
        }
    }
    return picture;
}
