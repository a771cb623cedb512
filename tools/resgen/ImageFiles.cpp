// Byte layout of .ico, .bmp and .cur files, little-endian as Windows reads them.
#include "tools/resgen/ImageFiles.h"

#include <stdexcept>
#include <utility>

namespace resgen {
namespace {

class ByteWriter {
public:
    void U8(uint32_t value) { m_bytes.push_back(static_cast<uint8_t>(value)); }
    void U16(uint32_t value) {
        U8(value);
        U8(value >> 8);
    }
    void U32(uint32_t value) {
        U16(value);
        U16(value >> 16);
    }
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void Pad(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    size_t Size() const { return m_bytes.size(); }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

constexpr uint32_t kInfoHeaderSize = 40;

uint32_t RowBytes(int width, int bitsPerPixel) {
    return static_cast<uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

void WriteInfoHeader(ByteWriter& out, int width, int height, int bitsPerPixel, uint32_t imageSize,
                     uint32_t coloursUsed) {
    out.U32(kInfoHeaderSize);
    out.I32(width);
    out.I32(height);
    out.U16(1);  // planes
    out.U16(static_cast<uint32_t>(bitsPerPixel));
    out.U32(0);  // BI_RGB
    out.U32(imageSize);
    out.I32(0);  // pixels per metre, x and y: not given
    out.I32(0);
    out.U32(coloursUsed);
    out.U32(0);  // all colours important
}

// Bottom-up rows of 1 bit per pixel, most significant bit first, each padded to 4 bytes.
template <class IsSet>
void WriteMask(ByteWriter& out, int width, int height, IsSet isSet) {
    const uint32_t rowBytes = RowBytes(width, 1);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            if (isSet(x, y)) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        for (const uint8_t byte : row) {
            out.U8(byte);
        }
    }
}

}  // namespace

std::vector<uint8_t> EncodeIcoFile(const std::vector<Canvas>& images) {
    constexpr uint32_t kDirectoryHeaderSize = 6;
    constexpr uint32_t kDirectoryEntrySize = 16;
    ByteWriter out;
    out.U16(0);  // reserved
    out.U16(1);  // icon
    out.U16(static_cast<uint32_t>(images.size()));
    uint32_t offset =
        kDirectoryHeaderSize + kDirectoryEntrySize * static_cast<uint32_t>(images.size());
    for (const Canvas& image : images) {
        const int n = image.Width();
        if (n != image.Height() || n < 1 || n > 255) {
            throw std::invalid_argument("icon images must be square, 1 to 255 pixels");
        }
        const uint32_t pixelBytes = RowBytes(n, 32) * static_cast<uint32_t>(n);
        const uint32_t maskBytes = RowBytes(n, 1) * static_cast<uint32_t>(n);
        const uint32_t imageBytes = kInfoHeaderSize + pixelBytes + maskBytes;
        out.U8(static_cast<uint32_t>(n));
        out.U8(static_cast<uint32_t>(n));
        out.U8(0);   // no palette
        out.U8(0);   // reserved
        out.U16(1);  // planes
        out.U16(32);
        out.U32(imageBytes);
        out.U32(offset);
        offset += imageBytes;
    }
    for (const Canvas& image : images) {
        const int n = image.Width();
        WriteInfoHeader(out, n, 2 * n, 32, RowBytes(n, 32) * n + RowBytes(n, 1) * n, 0);
        for (int y = n - 1; y >= 0; --y) {
            for (int x = 0; x < n; ++x) {
                const Rgba px = image.At(x, y);
                out.U8(px.b);
                out.U8(px.g);
                out.U8(px.r);
                out.U8(px.a);
            }
        }
        WriteMask(out, n, n, [&](int x, int y) { return image.At(x, y).a == 0; });
    }
    return out.Take();
}

std::vector<uint8_t> EncodeBmp24File(const Canvas& picture) {
    constexpr uint32_t kFileHeaderSize = 14;
    const int width = picture.Width();
    const int height = picture.Height();
    const uint32_t rowBytes = RowBytes(width, 24);
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    ByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(kFileHeaderSize + kInfoHeaderSize + pixelBytes);
    out.U32(0);  // reserved
    out.U32(kFileHeaderSize + kInfoHeaderSize);
    WriteInfoHeader(out, width, height, 24, pixelBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgba px = picture.At(x, y);
            out.U8(px.b);
            out.U8(px.g);
            out.U8(px.r);
        }
        out.Pad(rowBytes - static_cast<uint32_t>(width) * 3);
    }
    return out.Take();
}

std::vector<uint8_t> EncodeCurFile(const PalettedCursor& cursor) {
    constexpr uint32_t kImageOffset = 6 + 16;
    const int width = cursor.width;
    const int height = cursor.height;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width < 1 || width > 255 || height < 1 || height > 255 || cursor.indices.size() != count ||
        cursor.transparent.size() != count) {
        throw std::invalid_argument("cursor size and pixel arrays do not match");
    }
    const uint32_t pixelBytes = RowBytes(width, 8) * static_cast<uint32_t>(height);
    const uint32_t maskBytes = RowBytes(width, 1) * static_cast<uint32_t>(height);
    const uint32_t imageBytes =
        kInfoHeaderSize + 4 * static_cast<uint32_t>(cursor.palette.size()) + pixelBytes + maskBytes;
    ByteWriter out;
    out.U16(0);  // reserved
    out.U16(2);  // cursor
    out.U16(1);
    out.U8(static_cast<uint32_t>(width));
    out.U8(static_cast<uint32_t>(height));
    out.U8(0);  // 256 colours are written as 0
    out.U8(0);  // reserved
    out.U16(static_cast<uint32_t>(cursor.hotSpotX));
    out.U16(static_cast<uint32_t>(cursor.hotSpotY));
    out.U32(imageBytes);
    out.U32(kImageOffset);
    WriteInfoHeader(out, width, 2 * height, 8, pixelBytes + maskBytes,
                    static_cast<uint32_t>(cursor.palette.size()));
    for (const Rgb& colour : cursor.palette) {
        out.U8(colour.b);
        out.U8(colour.g);
        out.U8(colour.r);
        out.U8(0);
    }
    const uint32_t rowPadding = RowBytes(width, 8) - static_cast<uint32_t>(width);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            out.U8(cursor.indices[static_cast<size_t>(y) * width + x]);
        }
        out.Pad(rowPadding);
    }
    WriteMask(out, width, height,
              [&](int x, int y) { return cursor.transparent[static_cast<size_t>(y) * width + x]; });
    return out.Take();
}

}  // namespace resgen
