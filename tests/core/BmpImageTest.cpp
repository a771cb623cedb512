// Tests for writing pictures as BMP file images and reading the BMP kinds we accept.
#include "model/BmpImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& image, size_t at, uint16_t value) {
    image[at] = static_cast<uint8_t>(value);
    image[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(Bytes& image, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        image[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Fields of a hand-built BMP file image; the pixel rows are given as raw bytes.
struct BmpFields {
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    // Written at byte 54: after a 40-byte header (which they then extend) or inside a longer one.
    std::vector<uint32_t> masks = {};
    // Bytes between the headers and the pixel data, such as a colour table.
    size_t gap = 0;
};

Bytes BuildBmp(const BmpFields& fields, const Bytes& pixelData) {
    size_t headersEnd = 14 + fields.headerSize;
    if (!fields.masks.empty() && fields.headerSize == 40) {
        headersEnd += 4 * fields.masks.size();
    }
    const size_t pixelOffset = headersEnd + fields.gap;
    Bytes image(pixelOffset, 0);
    std::fill(image.begin() + static_cast<ptrdiff_t>(headersEnd), image.end(), 0xEE);
    image[0] = 'B';
    image[1] = 'M';
    Put32(image, 2, static_cast<uint32_t>(pixelOffset + pixelData.size()));
    Put32(image, 10, static_cast<uint32_t>(pixelOffset));
    Put32(image, 14, fields.headerSize);
    Put32(image, 18, static_cast<uint32_t>(fields.width));
    Put32(image, 22, static_cast<uint32_t>(fields.height));
    Put16(image, 26, 1);
    Put16(image, 28, fields.bitCount);
    Put32(image, 30, fields.compression);
    for (size_t i = 0; i < fields.masks.size(); ++i) {
        Put32(image, 54 + 4 * i, fields.masks[i]);
    }
    image.insert(image.end(), pixelData.begin(), pixelData.end());
    return image;
}

// Builds a top-down picture from rows of 0x00RRGGBB values.
PixelBuffer MakePicture(std::initializer_list<std::initializer_list<uint32_t>> rows) {
    PixelBuffer picture(static_cast<int32_t>(rows.begin()->size()),
                        static_cast<int32_t>(rows.size()));
    int32_t y = 0;
    for (const auto& row : rows) {
        int32_t x = 0;
        for (uint32_t pixel : row) {
            picture.Set(x++, y, pixel);
        }
        ++y;
    }
    return picture;
}

// Decodes a copy of exactly these bytes so that AddressSanitizer catches any read past them.
std::optional<PixelBuffer> DecodeCopy(const Bytes& image) {
    const Bytes copy(image.begin(), image.end());
    return DecodeBmp(copy);
}

// 3 x 2 picture, 24 bits per pixel, bottom-up: 9 bytes of pixels and 3 of junk padding per row.
const Bytes k24BitBottomUpRows = {
    // bottom picture row
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xAB, 0xAB, 0xAB,
    // top picture row
    0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xCD, 0xCD, 0xCD};
const PixelBuffer k24BitPicture = MakePicture({{0x302010, 0x605040, 0x908070},  //
                                               {0x030201, 0x060504, 0x090807}});

Bytes Valid24BitImage() {
    return BuildBmp({.width = 3, .height = 2, .bitCount = 24}, k24BitBottomUpRows);
}

TEST(BmpEncodeTest, WritesHeadersMasksAndBottomUpRowsByteForByte) {
    // Top-down picture, 2 wide and 3 high; one pixel carries junk in its fourth byte.
    PixelBuffer picture = MakePicture({{0x010203, 0x040506},  //
                                       {0x070809, 0x0A0B0C},
                                       {0x0D0E0F, 0x101112}});
    picture.Set(1, 0, 0xFF040506);

    const Bytes expected = {
        // file header: "BM", file size 90, reserved, pixel offset 66
        0x42, 0x4D, 90, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0,
        // info header: size 40, width 2, height 3, planes 1, 32 bits, compression 3
        40, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 1, 0, 32, 0, 3, 0, 0, 0,
        // image size 24, pixels per metre 0 and 0, colours used 0, important 0
        24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        // masks red, green, blue
        0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,
        // last picture row first, each pixel blue, green, red, 0
        0x0F, 0x0E, 0x0D, 0x00, 0x12, 0x11, 0x10, 0x00,  //
        0x09, 0x08, 0x07, 0x00, 0x0C, 0x0B, 0x0A, 0x00,  //
        0x03, 0x02, 0x01, 0x00, 0x06, 0x05, 0x04, 0x00};
    EXPECT_EQ(EncodeBmp(picture), expected);
}

TEST(BmpEncodeTest, EmptyPictureGivesNoBytes) {
    EXPECT_TRUE(EncodeBmp(PixelBuffer()).empty());
    EXPECT_TRUE(EncodeBmp(PixelBuffer(0, 5)).empty());
}

TEST(BmpRoundTripTest, OddSizesDecodeToTheSamePicture) {
    const std::pair<int32_t, int32_t> sizes[] = {{1, 1}, {1, 7}, {7, 1}, {3, 5}, {5, 2}, {6, 3}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        PixelBuffer picture(width, height);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                picture.Set(
                    x, y,
                    MakeBgr0(static_cast<uint8_t>(37 * x + 11 * y),
                             static_cast<uint8_t>(200 - 13 * y), static_cast<uint8_t>(x * y + 3)));
            }
        }
        const Bytes image = EncodeBmp(picture);
        EXPECT_EQ(image.size(), 66u + 4u * static_cast<size_t>(width * height));
        EXPECT_EQ(DecodeCopy(image), picture);
    }
}

TEST(BmpRoundTripTest, FourthByteComesBackAsZero) {
    PixelBuffer picture(2, 1);
    picture.Set(0, 0, 0x80123456);
    picture.Set(1, 0, 0xFFFFFFFF);
    EXPECT_EQ(DecodeCopy(EncodeBmp(picture)), MakePicture({{0x123456, 0xFFFFFF}}));
}

TEST(BmpDecodeTest, Reads24BitRowsWithPaddingInBothRowOrders) {
    EXPECT_EQ(DecodeCopy(Valid24BitImage()), k24BitPicture);

    // The same picture stored top-down: the rows come in picture order.
    Bytes topDownRows(k24BitBottomUpRows.begin() + 12, k24BitBottomUpRows.end());
    topDownRows.insert(topDownRows.end(), k24BitBottomUpRows.begin(),
                       k24BitBottomUpRows.begin() + 12);
    EXPECT_EQ(DecodeCopy(BuildBmp({.width = 3, .height = -2, .bitCount = 24}, topDownRows)),
              k24BitPicture);
}

TEST(BmpDecodeTest, IgnoresTagSizeFieldsPlanesAndTrailingBytes) {
    Bytes image = Valid24BitImage();
    image[0] = 'X';
    image[1] = 'Y';
    Put32(image, 2, 7);       // file size
    Put16(image, 26, 0);      // planes
    Put32(image, 34, 99999);  // image size
    image.push_back(0x55);
    EXPECT_EQ(DecodeCopy(image), k24BitPicture);
}

TEST(BmpDecodeTest, Reads32BitRgbIgnoringTheFourthByte) {
    const Bytes rows = {0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x7F,   // bottom row
                        0x01, 0x02, 0x03, 0x80, 0xFE, 0xFD, 0xFC, 0x01};  // top row
    EXPECT_EQ(DecodeCopy(BuildBmp({.width = 2, .height = 2, .bitCount = 32}, rows)),
              MakePicture({{0x030201, 0xFCFDFE},  //
                           {0x332211, 0x665544}}));
}

TEST(BmpDecodeTest, Reads16Bit555WithBitReplication) {
    // 3 pixels of 2 bytes and 2 bytes of padding. Words: 0x7E01 = red 31, green 16, blue 1;
    // 0xFE01 is the same with the unused top bit set; 0x0000 is black.
    const Bytes rows = {0x01, 0x7E, 0x01, 0xFE, 0x00, 0x00, 0xAA, 0xAA};
    EXPECT_EQ(DecodeCopy(BuildBmp({.width = 3, .height = 1, .bitCount = 16}, rows)),
              MakePicture({{0xFF8408, 0xFF8408, 0x000000}}));
}

TEST(BmpDecodeTest, Reads16Bit565BitFields) {
    // 0x543F = red 10, green 33, blue 31; 0xFFFF = white.
    const Bytes rows = {0x3F, 0x54, 0xFF, 0xFF};
    const BmpFields fields{.width = 2,
                           .height = -1,
                           .bitCount = 16,
                           .compression = 3,
                           .masks = {0xF800, 0x07E0, 0x001F}};
    EXPECT_EQ(DecodeCopy(BuildBmp(fields, rows)), MakePicture({{0x5286FF, 0xFFFFFF}}));
}

TEST(BmpDecodeTest, Reads32BitBitFieldsAfterA40ByteHeader) {
    // Red in the lowest byte, blue in the third: the masks, not the usual order, decide.
    const Bytes rows = {0x11, 0x22, 0x33, 0x44};
    const BmpFields fields{.width = 1,
                           .height = 1,
                           .bitCount = 32,
                           .compression = 3,
                           .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}};
    EXPECT_EQ(DecodeCopy(BuildBmp(fields, rows)), MakePicture({{0x112233}}));
}

TEST(BmpDecodeTest, Reads32BitBitFieldsInsideAV4Header) {
    // 2-10-10-10 layout: red 0x3FF, green 0x200, blue 0x0FF; wide fields keep their top 8 bits.
    const uint32_t pixel = (0x3FFu << 20) | (0x200u << 10) | 0x0FFu;
    const Bytes rows = {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8),
                        static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 24)};
    const BmpFields fields{.headerSize = 108,
                           .width = 1,
                           .height = 1,
                           .bitCount = 32,
                           .compression = 3,
                           .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}};
    const Bytes image = BuildBmp(fields, rows);
    ASSERT_EQ(image.size(), 14u + 108u + 4u);
    EXPECT_EQ(DecodeCopy(image), MakePicture({{0xFF803F}}));
}

TEST(BmpDecodeTest, ScalesFieldsOfAnyWidth) {
    // Red 3 bits (13-15), green 1 bit (12), blue 12 bits (0-11).
    // 0xBABC: red 5 -> 0b10110110, green 1 -> 255, blue 0xABC -> 0xAB.
    // 0x4000: red 2 -> 0b01001001, green 0, blue 0.
    const Bytes rows = {0xBC, 0xBA, 0x00, 0x40};
    const BmpFields fields{.width = 2,
                           .height = 1,
                           .bitCount = 16,
                           .compression = 3,
                           .masks = {0xE000, 0x1000, 0x0FFF}};
    EXPECT_EQ(DecodeCopy(BuildBmp(fields, rows)), MakePicture({{0xB6FFAB, 0x490000}}));
}

TEST(BmpDecodeTest, SkipsAColourTableBeforeThePixelOffset) {
    const Bytes image =
        BuildBmp({.width = 3, .height = 2, .bitCount = 24, .gap = 1024}, k24BitBottomUpRows);
    EXPECT_EQ(DecodeCopy(image), k24BitPicture);

    const BmpFields fields{.width = 1,
                           .height = 1,
                           .bitCount = 32,
                           .compression = 3,
                           .masks = {0x00FF0000, 0x0000FF00, 0x000000FF},
                           .gap = 6};
    EXPECT_EQ(DecodeCopy(BuildBmp(fields, {0x01, 0x02, 0x03, 0x04})), MakePicture({{0x030201}}));
}

TEST(BmpDecodeTest, NoPrefixOfAnImageIsReadPastItsEnd) {
    const PixelBuffer picture = MakePicture({{0x102030, 0x405060, 0x708090}});
    const BmpFields bitFields{.headerSize = 108,
                              .width = 3,
                              .height = 1,
                              .bitCount = 32,
                              .compression = 3,
                              .masks = {0x00FF0000, 0x0000FF00, 0x000000FF}};
    const Bytes pixels = {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0, 0x90, 0x80, 0x70, 0};
    const std::pair<Bytes, PixelBuffer> cases[] = {
        {Valid24BitImage(), k24BitPicture},
        {EncodeBmp(picture), picture},
        {BuildBmp(bitFields, pixels), picture},
    };
    for (const auto& [full, expected] : cases) {
        for (size_t length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            EXPECT_EQ(
                DecodeCopy(Bytes(full.begin(), full.begin() + static_cast<ptrdiff_t>(length))),
                std::nullopt);
        }
        Bytes longer = full;
        longer.push_back(0x77);
        EXPECT_EQ(DecodeCopy(longer), expected);
    }
}

TEST(BmpDecodeTest, RejectsOffsetsOutsideThePixelArea) {
    Bytes image = Valid24BitImage();
    Put32(image, 10, static_cast<uint32_t>(image.size()));
    EXPECT_EQ(DecodeCopy(image), std::nullopt);
    Put32(image, 10, 0xFFFFFFF0);
    EXPECT_EQ(DecodeCopy(image), std::nullopt);
    // Moving the pixel data one byte on leaves its last byte outside the image.
    Put32(image, 10, 55);
    EXPECT_EQ(DecodeCopy(image), std::nullopt);
    for (uint32_t offset : {0u, 14u, 53u}) {
        Put32(image, 10, offset);
        EXPECT_EQ(DecodeCopy(image), std::nullopt) << offset;
    }

    // With masks after a 40-byte header the pixels cannot start before byte 66.
    Bytes encoded = EncodeBmp(MakePicture({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}));
    Put32(encoded, 10, 54);
    EXPECT_EQ(DecodeCopy(encoded), std::nullopt);
    Put32(encoded, 10, 65);
    EXPECT_EQ(DecodeCopy(encoded), std::nullopt);
}

TEST(BmpDecodeTest, RejectsBadSizes) {
    const std::pair<int32_t, int32_t> sizes[] = {
        {0, 2},
        {-3, 2},
        {3, 0},
        {std::numeric_limits<int32_t>::min(), 2},
        {3, std::numeric_limits<int32_t>::min()},
        // Row size times row count far beyond 32 bits.
        {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
        {std::numeric_limits<int32_t>::max(), -std::numeric_limits<int32_t>::max()},
        {std::numeric_limits<int32_t>::max(), 1},
        {1, std::numeric_limits<int32_t>::max()},
    };
    for (const auto& [width, height] : sizes) {
        for (uint16_t bitCount : {16, 24, 32}) {
            Bytes image = Valid24BitImage();
            Put32(image, 18, static_cast<uint32_t>(width));
            Put32(image, 22, static_cast<uint32_t>(height));
            Put16(image, 28, bitCount);
            EXPECT_EQ(DecodeCopy(image), std::nullopt)
                << width << " x " << height << " " << bitCount;
        }
    }
}

TEST(BmpDecodeTest, RejectsUnsupportedKinds) {
    const Bytes enoughPixels(64, 0);
    const std::pair<uint16_t, uint32_t> kinds[] = {
        {1, 0},          {4, 0}, {8, 0},  {0, 0},  {15, 0}, {48, 0}, {64, 0},  // bit depths
        {8, 1},          {4, 2}, {24, 4}, {24, 5}, {32, 6}, {24, 3}, {8, 3},   // compressions
        {32, 0xFFFFFFFF}};
    const BmpFields masksAfterHeader{.width = 2,
                                     .height = 2,
                                     .bitCount = 32,
                                     .compression = 0,
                                     .masks = {0x00FF0000, 0x0000FF00, 0x000000FF}};
    ASSERT_EQ(DecodeCopy(BuildBmp(masksAfterHeader, enoughPixels)), PixelBuffer(2, 2));
    for (const auto& [bitCount, compression] : kinds) {
        BmpFields fields = masksAfterHeader;
        fields.bitCount = bitCount;
        fields.compression = compression;
        EXPECT_EQ(DecodeCopy(BuildBmp(fields, enoughPixels)), std::nullopt)
            << bitCount << " bits, compression " << compression;
    }
}

TEST(BmpDecodeTest, RejectsBadMasksAndHeaderSizes) {
    const Bytes pixels(16, 0x5A);
    const BmpFields goodMasks{.headerSize = 108,
                              .width = 2,
                              .height = 2,
                              .bitCount = 32,
                              .compression = 3,
                              .masks = {0x00FF0000, 0x0000FF00, 0x000000FF}};
    ASSERT_EQ(DecodeCopy(BuildBmp(goodMasks, pixels)),
              MakePicture({{0x5A5A5A, 0x5A5A5A}, {0x5A5A5A, 0x5A5A5A}}));
    const std::vector<uint32_t> badMasks[] = {
        {0, 0x0000FF00, 0x000000FF},           // empty red
        {0x00FF0000, 0, 0x000000FF},           // empty green
        {0x00FF0000, 0x0000FF00, 0},           // empty blue
        {0x00FF00FF, 0x0000FF00, 0x000000FF},  // red in two pieces
        {0x00FF0000, 0x0000F0F0, 0x000000FF},  // green in two pieces
        {0x00FF0000, 0x0000FF00, 0x80000001},  // blue wrapping around
    };
    for (const auto& masks : badMasks) {
        for (uint32_t headerSize : {40u, 108u}) {
            const BmpFields fields{.headerSize = headerSize,
                                   .width = 2,
                                   .height = 2,
                                   .bitCount = 32,
                                   .compression = 3,
                                   .masks = masks};
            EXPECT_EQ(DecodeCopy(BuildBmp(fields, pixels)), std::nullopt)
                << std::hex << masks[0] << " " << masks[1] << " " << masks[2];
        }
    }

    // A mask reaching past the 16 bits of a pixel.
    const BmpFields wideMask{.width = 2,
                             .height = 2,
                             .bitCount = 16,
                             .compression = 3,
                             .masks = {0x1F800, 0x07E0, 0x1F}};
    EXPECT_EQ(DecodeCopy(BuildBmp(wideMask, pixels)), std::nullopt);

    // Masks that would straddle the end of a 41 to 51-byte header; from 52 bytes they fit inside.
    Bytes withMasks = BuildBmp(goodMasks, pixels);
    for (uint32_t headerSize : {44u, 51u}) {
        Put32(withMasks, 14, headerSize);
        EXPECT_EQ(DecodeCopy(withMasks), std::nullopt) << headerSize;
        // Cut right after such a header: the masks are not even in the image.
        EXPECT_EQ(DecodeCopy(Bytes(withMasks.begin(), withMasks.begin() + 14 + headerSize)),
                  std::nullopt);
    }
    Put32(withMasks, 14, 52);
    EXPECT_EQ(DecodeCopy(withMasks), MakePicture({{0x5A5A5A, 0x5A5A5A}, {0x5A5A5A, 0x5A5A5A}}));

    // An info header shorter than 40 bytes (such as the 12-byte OS/2 one) or longer than the file.
    Bytes image = Valid24BitImage();
    for (uint32_t headerSize :
         {0u, 12u, 39u, static_cast<uint32_t>(image.size()) - 13u, 0xFFFFFFFFu}) {
        Put32(image, 14, headerSize);
        EXPECT_EQ(DecodeCopy(image), std::nullopt) << headerSize;
    }
}

}  // namespace
